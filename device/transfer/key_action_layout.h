// A profile's key layout (108 key actions, 324 bytes) to and from a block of key entries. The
// default key layout tells which key sits at which position: the key of a position is the one
// its default action stands for.
#pragma once

#include <span>

#include "device/connection/default_key_layout.h"
#include "device/transfer/key_action.h"
#include "keyboard/image_layout.h"

namespace qx::device {

// The action at position 0..107 of a layout.
KeyAction ActionAt(std::span<const uint8_t, kKeyLayoutSize> layout, std::size_t position);
void SetActionAt(std::span<uint8_t, kKeyLayoutSize> layout, std::size_t position, KeyAction action);

// The key entry (0..511 within a block) of the key at a position; nothing when the default
// action there stands for no key.
std::optional<int> EntryOfPosition(const KeyLayout& defaultLayout, std::size_t position);

// The layout of one block (an onboard profile): the default layout with every position that
// has a key replaced by the action of that key's entry.
KeyLayout EncodeProfileLayout(std::span<const uint8_t, keyboard::kBlockSize> block,
                              const KeyLayout& defaultLayout,
                              const MacroPositionLookup& macroPosition);

// A block from a layout read from the keyboard: the default block, and for every position
// whose action differs from the default action there, the key's entry disabled and then given
// what the action means (DecodeActionToAssignment).
void DecodeLayoutToBlock(std::span<const uint8_t, kKeyLayoutSize> layout,
                         std::span<uint8_t, keyboard::kBlockSize> block,
                         const KeyLayout& defaultLayout);

}  // namespace qx::device
