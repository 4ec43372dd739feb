// Any bytes as a device macro table read back from the keyboard: the records stay within their
// limits, and encoding them again gives a table that decodes to the same records.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "device/transfer/macro_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> table(data, size);
    const std::vector<qx::keyboard::MacroRecord> records =
        qx::device::DecodeMacroTable(table, u"Macro");
    if (records.size() > qx::keyboard::kMaxMacros) {
        std::abort();
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].ActionCount() > qx::keyboard::kMaxMacroActions || records[i].Id() != i + 1 ||
            records[i].Name().empty()) {
            std::abort();
        }
    }
    const std::size_t encodedSize = qx::device::MacroTableSize(records, true);
    if (encodedSize > qx::device::kMaxMacroTableSize) {
        return 0;
    }
    std::vector<uint8_t> encoded(encodedSize);
    if (!qx::device::EncodeMacroTable(records, encoded, true)) {
        std::abort();
    }
    const auto again = qx::device::DecodeMacroTable(encoded, u"Macro");
    if (again.size() != records.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (again[i].Name() != records[i].Name() ||
            again[i].ActionCount() != records[i].ActionCount()) {
            std::abort();
        }
    }
    return 0;
}
