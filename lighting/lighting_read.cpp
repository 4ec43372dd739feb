// Reading the lighting state: the supported modes, the current profile's key-light page and the
// three lighting records.
#include <algorithm>

#include "device/link/device_commands.h"
#include "lighting/lighting_model.h"

namespace qx::lighting {

int LightingModel::ReadLightingState() {
    return Read(DecodeScope::kAll);
}

int LightingModel::RefreshLightingRecords() {
    return Read(DecodeScope::kKeepRateAndTool);
}

int LightingModel::Read(DecodeScope scope) {
    ForgetModes();
    std::array<uint8_t, device::kStateBlockSize> block{};
    if (commands_.ReadStateBlock(block) != device::kOk) {
        return kReadFailed;
    }
    slots_ = ModeSlotsOfStateBlock(block);
    perKey_ = SupportsPerKey(slots_);

    commands_.BeginWrite();
    if (scope == DecodeScope::kAll && perKey_) {
        ReadKeyLightPage();
    }
    ReadRecords();
    commands_.EndWrite();

    DecodeRecord(CurrentRecord(), scope, values_);
    panelSwitchOn_ = panelSwitch_.Read();
    RebuildModeTable();
    return kReadOk;
}

void LightingModel::ForgetModes() {
    view_.ClearModeList();
    slots_.fill(kEmptyModeSlot);
    perKey_ = false;
    modes_.Clear();
    selectedMode_ = kNoMode;
}

// A piece that could not be read keeps what the page held before rather than taking whatever the
// failed exchange left in the buffer.
void LightingModel::ReadKeyLightPage() {
    KeyLightPage& page = CurrentPage();
    for (int piece = 0; piece < kPageReadChunks; ++piece) {
        const int offset = piece * kPageReadChunk;
        std::array<uint8_t, device::kDataCapacity> reply{};
        if (commands_.ReadPagedMemory(reply, kPageReadChunk, static_cast<uint8_t>(offset),
                                      static_cast<uint8_t>(profile_)) == device::kOk) {
            std::copy_n(reply.begin(), kPageReadChunk,
                        page.begin() + static_cast<std::ptrdiff_t>(offset));
        }
    }
}

void LightingModel::ReadRecords() {
    for (int profile = 0; profile < kProfileCount; ++profile) {
        std::array<uint8_t, device::kDataCapacity> reply{};
        const auto address = static_cast<uint16_t>(profile * kRecordSize);
        if (commands_.ReadMemory(reply, kRecordReadLength, address) == device::kOk) {
            std::copy_n(reply.begin(), kRecordSize,
                        records_[static_cast<std::size_t>(profile)].begin());
        }
    }
}

}  // namespace qx::lighting
