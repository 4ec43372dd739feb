// Any 48-byte state block followed by any 42-byte lighting record (shorter input padded with
// zeros) decoded as a read does: the mode table from the block's slots, the working values from
// the record, twice (a full read, then a refresh), and the current layer used to look up every
// key. Checks that every decoded value stays in the range the panel and the addresses rely on.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "lighting/key_light_page.h"
#include "lighting/mode_table.h"
#include "lighting/working_values.h"

namespace {

using namespace qx::lighting;

constexpr std::size_t kStateBlockSize = 48;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckModeTable(const ModeSlots& slots) {
    ModeTable table;
    table.Rebuild(slots);
    const auto used = std::count_if(slots.begin(), slots.end(), [](uint8_t t) { return t != 0; });
    Check(table.Size() == used);
    for (int i = 0; i < table.Size(); ++i) {
        const int type = table.ModeTypeAt(i);
        Check(type > 0 && type <= 255);
        const int first = table.ModeIndexOfType(type);
        Check(first >= 0 && first <= i && table.ModeTypeAt(first) == type);
    }
    Check(table.ModeTypeAt(table.Size()) == kNoMode);
    Check(SupportsPerKey(slots) == (table.ModeIndexOfType(kPerKeyModeType) != kNoMode));
}

void CheckValues(const WorkingValues& v) {
    Check(v.reportRate >= 0 && v.reportRate <= kMaxReportRate);
    Check(v.tool == kToolPaint || v.tool == kToolErase);
    Check(IsLayer(v.layer));
    Check(v.triggerKind == kTriggerSingleKey || v.triggerKind == kTriggerGrid);
    for (const uint32_t colour :
         {v.colour, v.userBaseColour, v.userColour, v.rippleColour, v.ribbonColour}) {
        Check(colour <= 0xFFFFFFU);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::array<uint8_t, kStateBlockSize + kRecordSize> input{};
    std::copy_n(data, std::min(size, input.size()), input.begin());
    const auto block = std::span(input).first<kStateBlockSize>();
    const auto record = std::span(input).subspan<kStateBlockSize, kRecordSize>();

    CheckModeTable(ModeSlotsOfStateBlock(block));

    WorkingValues values;
    DecodeRecord(record, DecodeScope::kAll, values);
    CheckValues(values);
    DecodeRecord(record, DecodeScope::kKeepRateAndTool, values);
    CheckValues(values);

    KeyLightPage page{};
    std::copy_n(input.begin(), std::min(input.size(), page.size()), page.begin());
    for (int led = -1; led <= 255; ++led) {
        (void)IsKeyLit(page, values.layer, led);
    }
    return 0;
}
