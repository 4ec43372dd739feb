// Any bytes as the JSON document of a profile file: read, then built. Neither may crash or read
// outside the document, and a refusal names a place inside it. A document that builds describes
// a file the program accepts, and dumping that file and building the dump gives the same file:
// dump and build are inverses.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>
#include <variant>

#include "profiles/profile_check.h"
#include "tools/qx480ctl/json_fields.h"
#include "tools/qx480ctl/json_reader.h"
#include "tools/qx480ctl/profile_build.h"
#include "tools/qx480ctl/profile_dump.h"

namespace {

using namespace qx::ctl;

bool SameParts(const ProfileParts& a, const ProfileParts& b) {
    if (a.macros.size() != b.macros.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.macros.size(); ++i) {
        if (!std::ranges::equal(a.macros[i].Bytes(), b.macros[i].Bytes())) {
            return false;
        }
    }
    return std::ranges::equal(a.image->Bytes(), b.image->Bytes()) && a.stringArea == b.stringArea &&
           a.trailing == b.trailing;
}

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto parsed = ParseJson(text);
    if (const auto* error = std::get_if<JsonSyntaxError>(&parsed)) {
        Check(error->offset <= size && !error->message.empty());
        PositionOf(text, error->offset);
        return 0;
    }
    ProfileParts built;
    try {
        built = BuildProfile(std::get<JsonDocument>(parsed));
    } catch (const JsonInputError& error) {
        Check(error.offset < size && error.path.starts_with("$"));
        return 0;
    }
    Check(qx::profiles::CheckProfileHeader(built.image->Header()) ==
          qx::profiles::ProfileCheck::Valid);
    Check(TextsOf(built).has_value());

    std::ostringstream dump;
    JsonWriter json(dump);
    DumpProfile(built, json);
    auto again = ParseJson(dump.str());
    Check(std::holds_alternative<JsonDocument>(again));
    try {
        Check(SameParts(BuildProfile(std::get<JsonDocument>(again)), built));
    } catch (const JsonInputError&) {
        std::abort();
    }
    return 0;
}
