// Every command of the configuration interface, written once: its number, the fixed byte 4 of the
// commands whose length never changes, how its packets are formed, and the block it moves.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qx::device {

// Sizes of the device-side data the commands move.
inline constexpr std::size_t kStateBlockSize = 48;
inline constexpr std::size_t kKeyLayoutSize = 324;  // 108 key actions of 3 bytes
inline constexpr int kHighestProfile = 2;           // onboard profiles 0..2
inline constexpr uint16_t kPageSize = 256;          // pages of the key-light area

enum class CommandKind {
    Plain,         // a fixed command word; a state block as data at most
    Memory,        // caller's length and address
    ChunkedRead,   // a block read in pieces of at most 56 bytes
    ChunkedWrite,  // a block written in pieces of at most 56 bytes
    Paged,         // caller's length; address = page × 256 + offset
    NoReply,       // a fixed command word, no checksum, no answer awaited
};

enum class CommandId {
    BeginWrite,
    EndWrite,
    ReadStateBlock,
    WriteStateBlock,
    ReadMemory,
    WriteMemory,
    ReadProfileLayout,
    WriteProfileLayout,
    ReadMacroTable,
    WriteMacroTable,
    SendTestCommand,
    ReadDefaultLayout,
    ReadPagedMemory,
    WritePagedMemory,
    EnterUpdateMode,
};

struct CommandShape {
    CommandId id;
    uint8_t number;       // byte 3
    uint8_t fixedLength;  // byte 4 of Plain and NoReply commands
    CommandKind kind;
    uint16_t blockSize;     // chunked: bytes of the block; 0 = the caller's count
    bool profileAddressed;  // chunked: address = profile × blockSize + block offset
};

inline constexpr std::array<CommandShape, 15> kCommandTable{{
    {CommandId::BeginWrite, 0x01, 0x00, CommandKind::Plain, 0, false},
    {CommandId::EndWrite, 0x02, 0x00, CommandKind::Plain, 0, false},
    {CommandId::ReadStateBlock, 0x03, kStateBlockSize, CommandKind::Plain, 0, false},
    {CommandId::WriteStateBlock, 0x04, kStateBlockSize, CommandKind::Plain, 0, false},
    {CommandId::ReadMemory, 0x05, 0x00, CommandKind::Memory, 0, false},
    {CommandId::WriteMemory, 0x06, 0x00, CommandKind::Memory, 0, false},
    {CommandId::ReadProfileLayout, 0x07, 0x00, CommandKind::ChunkedRead, kKeyLayoutSize, true},
    {CommandId::WriteProfileLayout, 0x08, 0x00, CommandKind::ChunkedWrite, kKeyLayoutSize, true},
    {CommandId::ReadMacroTable, 0x09, 0x00, CommandKind::ChunkedRead, 0, false},
    {CommandId::WriteMacroTable, 0x0A, 0x00, CommandKind::ChunkedWrite, 0, false},
    {CommandId::SendTestCommand, 0x0D, 0x00, CommandKind::Plain, 0, false},
    {CommandId::ReadDefaultLayout, 0x0F, 0x00, CommandKind::ChunkedRead, kKeyLayoutSize, false},
    {CommandId::ReadPagedMemory, 0x10, 0x00, CommandKind::Paged, 0, false},
    {CommandId::WritePagedMemory, 0x11, 0x00, CommandKind::Paged, 0, false},
    {CommandId::EnterUpdateMode, 0xEE, 0xEE, CommandKind::NoReply, 0, false},
}};

constexpr const CommandShape& ShapeOf(CommandId id) {
    return kCommandTable[static_cast<std::size_t>(id)];
}

// The table is indexed by CommandId.
constexpr bool TableFollowsIds() {
    for (std::size_t i = 0; i < kCommandTable.size(); ++i) {
        if (static_cast<std::size_t>(kCommandTable[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(TableFollowsIds());

}  // namespace qx::device
