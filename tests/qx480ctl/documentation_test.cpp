// qx480ctl's man page and bash completion keep up with the program: every command and option of
// its help is documented and every command completes. Both files are written by hand, so a new
// command that is not added to them fails here.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/qx480ctl/run_program.h"

namespace qx::testing {
namespace {

const std::string kPackaging = std::string(QX_TEST_SOURCE_DIR) + "/packaging/";

// The first word of each entry of a section of the help ("Commands:", "Options:"), each once: an
// entry's line starts with a command's name ("  macro add ...") or an option ("  -y, --yes",
// "      --force"); the lines that carry on its text start with more spaces and a word.
std::vector<std::string> HelpSection(const std::string& help, const std::string& heading) {
    std::istringstream lines(help);
    std::vector<std::string> words;
    const auto add = [&](const std::string& word) {
        if (std::find(words.begin(), words.end(), word) == words.end()) {
            words.push_back(word);
        }
    };
    bool inside = false;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t first = line.find_first_not_of(' ');
        if (line == heading) {
            inside = true;
        } else if (line.empty()) {
            inside = false;
        } else if (inside && (first == 2 || (first <= 6 && line[first] == '-'))) {
            std::istringstream words_of_line(line);
            std::string word;
            while (words_of_line >> word && word.back() == ',') {
                add(word.substr(0, word.size() - 1));  // "-y," of "-y, --yes"
            }
            add(word);
        }
    }
    return words;
}

std::vector<std::string> HelpOf(std::vector<std::string>& options) {
    const ProgramResult help = RunProgram(QX480CTL_PATH, {"--help"}, {});
    EXPECT_EQ(help.exitCode, 0);
    options = HelpSection(help.out, "Options:");
    return HelpSection(help.out, "Commands:");
}

// The words of the man page's bold lines (.B, .BI, .BR), as printed.
std::vector<std::string> ManPageBoldWords() {
    std::ifstream page(kPackaging + "man/qx480ctl.1");
    std::vector<std::string> words;
    for (std::string line; std::getline(page, line);) {
        std::istringstream parts(line);
        std::string macro;
        if (!(parts >> macro) || (macro != ".B" && macro != ".BI" && macro != ".BR")) {
            continue;
        }
        for (std::string word; parts >> word;) {
            for (auto at = word.find("\\-"); at != std::string::npos; at = word.find("\\-")) {
                word.erase(at, 1);
            }
            words.push_back(word.back() == ',' ? word.substr(0, word.size() - 1) : word);
        }
    }
    return words;
}

bool Contains(const std::vector<std::string>& words, const std::string& word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

TEST(CtlDocumentation, ManPageDocumentsEveryCommandAndOption) {
    std::vector<std::string> options;
    const std::vector<std::string> commands = HelpOf(options);
    ASSERT_GE(commands.size(), 9u);
    ASSERT_TRUE(Contains(options, "--version"));
    const std::vector<std::string> documented = ManPageBoldWords();
    for (const std::string& word : commands) {
        EXPECT_TRUE(Contains(documented, word)) << word << " is not in qx480ctl.1";
    }
    for (const std::string& word : options) {
        EXPECT_TRUE(Contains(documented, word)) << word << " is not in qx480ctl.1";
    }
}

TEST(CtlDocumentation, CompletionOffersEveryCommand) {
    std::vector<std::string> options;
    const std::vector<std::string> commands = HelpOf(options);
    const std::string script = "source '" + kPackaging +
                               "bash-completion/qx480ctl'; COMP_WORDS=(\"$0\" ''); COMP_CWORD=1; "
                               "_qx480ctl \"$0\" '' \"$0\"; printf '%s\\n' \"${COMPREPLY[@]}\"";
    const ProgramResult completion = RunProgram("/bin/bash", {"-c", script, QX480CTL_PATH}, {});
    ASSERT_EQ(completion.exitCode, 0) << completion.err;
    std::istringstream lines(completion.out);
    std::vector<std::string> offered;
    for (std::string line; std::getline(lines, line);) {
        offered.push_back(line);
    }
    EXPECT_EQ(offered, commands);
}

}  // namespace
}  // namespace qx::testing
