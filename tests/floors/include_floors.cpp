// The include check of the product's floors: every #include of every product file names its own
// folder or a folder of a lower floor (cmake/floors.txt), and docs/architecture.md draws the same
// floors. Headers found neither beside the including file nor under the source root (the
// system's, the generated version header) are not product folders and are not checked.
//
//   include_floors <source root> <floors table> [<architecture page>]
//
// Prints one line per fault and exits with 1 when there is any.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct FloorTable {
    std::map<std::string, int> floorOf;  // folder -> floor, 1 the lowest
    std::vector<std::vector<std::string>> floors;
    std::set<std::string> outside;  // folders that are not product code
};

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

std::optional<FloorTable> ReadFloorTable(const fs::path& path) {
    std::ifstream in(path);
    if (!in) {
        return std::nullopt;
    }
    FloorTable table;
    const std::string outsideTag = "outside:";
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line.rfind(outsideTag, 0) == 0) {
            for (const std::string& folder : Words(line.substr(outsideTag.size()))) {
                table.outside.insert(folder);
            }
            continue;
        }
        table.floors.push_back(Words(line));
        for (const std::string& folder : table.floors.back()) {
            table.floorOf[folder] = static_cast<int>(table.floors.size());
        }
    }
    return table;
}

// The listed folder that holds `relative` (a path below the root), the longest one first.
std::optional<std::string> FolderOf(const FloorTable& table, const fs::path& relative) {
    for (fs::path folder = relative.parent_path(); !folder.empty(); folder = folder.parent_path()) {
        if (table.floorOf.count(folder.generic_string()) != 0) {
            return folder.generic_string();
        }
    }
    return std::nullopt;
}

bool IsOutside(const FloorTable& table, const fs::path& relative) {
    return !relative.empty() && table.outside.count(relative.begin()->generic_string()) != 0;
}

bool IsSourceFile(const fs::path& path) {
    static const std::set<std::string> kExtensions = {".c", ".cc", ".cpp", ".h", ".hpp", ".inc"};
    return kExtensions.count(path.extension().string()) != 0;
}

std::vector<fs::path> ProductFiles(const FloorTable& table, const fs::path& root) {
    std::vector<fs::path> files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        const fs::path relative = fs::relative(it->path(), root);
        const bool hidden = relative.filename().string().front() == '.';
        if (it->is_directory() && (hidden || IsOutside(table, relative))) {
            it.disable_recursion_pending();
        } else if (it->is_regular_file() && IsSourceFile(relative)) {
            files.push_back(relative);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

struct Include {
    int line = 0;
    std::string name;
    bool quoted = false;
};

std::vector<Include> IncludesOf(const fs::path& path) {
    static const std::regex kInclude(R"(^\s*#\s*include\s*(["<])([^">]+)[">])");
    std::ifstream in(path);
    std::vector<Include> includes;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        std::smatch match;
        if (std::regex_search(line, match, kInclude)) {
            includes.push_back({number, match[2].str(), match[1].str() == "\""});
        }
    }
    return includes;
}

// Where the compiler finds the header below the root: beside the file for a quoted name, then
// under the root (the one include folder of the tree). Nothing when it is found in neither.
std::optional<fs::path> Resolve(const fs::path& root, const fs::path& file,
                                const Include& include) {
    std::vector<fs::path> candidates;
    if (include.quoted) {
        candidates.push_back(file.parent_path() / include.name);
    }
    candidates.push_back(fs::path(include.name));
    for (const fs::path& candidate : candidates) {
        if (fs::is_regular_file(root / candidate)) {
            return candidate.lexically_normal();
        }
    }
    return std::nullopt;
}

std::string Named(const FloorTable& table, const std::string& folder) {
    return "floor " + std::to_string(table.floorOf.at(folder)) + " (" + folder + "/)";
}

// The fault of one include, or nothing when it keeps to the floors.
std::optional<std::string> IncludeFault(const FloorTable& table, const std::string& own,
                                        const fs::path& header) {
    if (header.empty() || header.begin()->string() == "..") {
        return "outside the source tree";
    }
    if (IsOutside(table, header)) {
        return "a folder no product file includes (" + header.begin()->generic_string() + "/)";
    }
    const std::optional<std::string> folder = FolderOf(table, header);
    if (!folder) {
        return "a folder missing from the floor table";
    }
    if (*folder == own) {
        return std::nullopt;
    }
    const int from = table.floorOf.at(own);
    const int to = table.floorOf.at(*folder);
    if (to > from) {
        return Named(table, *folder) + " above " + Named(table, own);
    }
    if (to == from) {
        return Named(table, *folder) + " beside " + Named(table, own);
    }
    return std::nullopt;
}

int CheckIncludes(const FloorTable& table, const fs::path& root) {
    int faults = 0;
    for (const fs::path& file : ProductFiles(table, root)) {
        const std::optional<std::string> own = FolderOf(table, file);
        if (!own) {
            std::cout << file.generic_string() << ": its folder is missing from the floor table\n";
            ++faults;
            continue;
        }
        for (const Include& include : IncludesOf(root / file)) {
            const std::optional<fs::path> header = Resolve(root, file, include);
            if (!header) {
                continue;
            }
            if (const auto fault = IncludeFault(table, *own, *header)) {
                std::cout << file.generic_string() << ':' << include.line << ": includes "
                          << header->generic_string() << ", " << *fault << '\n';
                ++faults;
            }
        }
    }
    return faults;
}

// The floors the architecture page draws in its section "## Layers": rows
// "| <floor> | `folder/` ... | ... |".
std::map<int, std::set<std::string>> DrawnFloors(const fs::path& page) {
    static const std::regex kRow(R"(^\|\s*(\d+)\s*\|([^|]*)\|)");
    static const std::regex kFolder(R"(`([a-z0-9_/]+)/`)");
    std::map<int, std::set<std::string>> drawn;
    std::ifstream in(page);
    bool inLayers = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("## ", 0) == 0) {
            inLayers = line == "## Layers";
            continue;
        }
        std::smatch row;
        if (!inLayers || !std::regex_search(line, row, kRow)) {
            continue;
        }
        const std::string cell = row[2].str();
        std::set<std::string>& folders = drawn[std::stoi(row[1].str())];
        for (std::sregex_iterator it(cell.begin(), cell.end(), kFolder), end; it != end; ++it) {
            folders.insert((*it)[1].str());
        }
    }
    return drawn;
}

int CheckDrawing(const FloorTable& table, const fs::path& page) {
    const std::map<int, std::set<std::string>> drawn = DrawnFloors(page);
    int faults = 0;
    for (std::size_t i = 0; i < table.floors.size(); ++i) {
        const int floor = static_cast<int>(i + 1);
        const std::set<std::string> listed(table.floors[i].begin(), table.floors[i].end());
        const auto it = drawn.find(floor);
        if (it == drawn.end() || it->second != listed) {
            std::cout << page.filename().string() << ": floor " << floor
                      << " is not drawn with the folders of the floor table\n";
            ++faults;
        }
    }
    if (drawn.size() != table.floors.size()) {
        std::cout << page.filename().string() << ": draws " << drawn.size()
                  << " floors, the table has " << table.floors.size() << '\n';
        ++faults;
    }
    return faults;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::cerr << "usage: include_floors <source root> <floors table> [<architecture page>]\n";
        return 2;
    }
    const std::optional<FloorTable> table = ReadFloorTable(argv[2]);
    if (!table || table->floors.empty()) {
        std::cerr << "include_floors: cannot read the floor table " << argv[2] << '\n';
        return 2;
    }
    int faults = CheckIncludes(*table, argv[1]);
    if (argc == 4) {
        faults += CheckDrawing(*table, argv[3]);
    }
    std::cout << faults << " fault(s)\n";
    return faults == 0 ? 0 : 1;
}
