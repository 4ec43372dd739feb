#include "tools/qx480ctl/json_document_file.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <variant>

#include "tools/qx480ctl/json_fields.h"
#include "tools/qx480ctl/json_reader.h"
#include "tools/qx480ctl/profile_build.h"
#include "tools/qx480ctl/subcommand.h"

namespace qx::ctl {
namespace {

constexpr std::string_view kStandardInput = "-";
constexpr std::size_t kChunk = std::size_t{64} * 1024;

std::string ReadAll(std::istream& in, const std::string& name) {
    std::string text;
    std::string chunk(kChunk, '\0');
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        text.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxJsonDocumentBytes) {
            throw UsageError{name + ": larger than 256 MiB, not read"};
        }
    }
    if (in.bad()) {
        throw UsageError{name + ": cannot be read"};
    }
    return text;
}

std::string ReadDocument(const std::string& path) {
    if (path == kStandardInput) {
        return ReadAll(std::cin, "standard input");
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw UsageError{path + ": cannot be opened"};
    }
    return ReadAll(file, path);
}

}  // namespace

ProfileParts BuildFromJsonFile(const std::string& path) {
    const std::string text = ReadDocument(path);
    const std::string name = path == kStandardInput ? "standard input" : path;
    auto parsed = ParseJson(text);
    if (const auto* error = std::get_if<JsonSyntaxError>(&parsed)) {
        throw UsageError{DescribeJsonError(name, text, error->offset, error->path, error->message)};
    }
    try {
        return BuildProfile(std::get<JsonDocument>(parsed));
    } catch (const JsonInputError& error) {
        throw UsageError{DescribeJsonError(name, text, error.offset, error.path, error.message)};
    }
}

bool LooksLikeJson(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string head(kChunk, '\0');
    file.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(file.gcount()));
    std::string_view text = head;
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '{';
}

}  // namespace qx::ctl
