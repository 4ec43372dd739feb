#include "keyassign/key_hints.h"

#include <optional>

#include "keyassign/assignment.h"
#include "keyboard/image_holders.h"
#include "keyboard/key_buttons.h"
#include "keyboard/key_names.h"
#include "keyboard/media_tables.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "lang/text_format.h"
#include "platform/unicode_text.h"

namespace qx::keyassign {
namespace {

std::string GKeyName(int position) {
    return lang::FormatText(kGKeyNameFormat, {position + 1});
}

// The name of the first macro of the macro area with that id; nothing when none has it.
std::optional<std::string> MacroNameOfId(uint16_t id) {
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    for (const keyboard::MacroRecord& macro : guard->macros) {
        if (macro.Id() == id) {
            return platform::Utf16ToUtf8(macro.Name());
        }
    }
    return std::nullopt;
}

// The description piece of kinds 2, 4, 7 and 8 (heading, name, closing bracket); empty for the
// other kinds and for an index outside its list.
std::string KindPiece(uint16_t kind, uint32_t value) {
    switch (kind) {
        case kKindKey:
            return lang::LangText(lang::kKeyPromptSingle) +
                   keyboard::KeyNameOfCode(static_cast<keyboard::KeyCode>(value)) + ")";
        case kKindMacro:
            return lang::LangText(lang::kKeyPromptMacro) +
                   MacroNameOfId(static_cast<uint16_t>(value & kMacroIdMask)).value_or("") + ")";
        case kKindMultimedia:
            if (value < keyboard::kMultimediaList.size()) {
                return lang::LangText(lang::kKeyPromptMedia) +
                       keyboard::KeyNameOfCode(keyboard::kMultimediaList[value].keyCode) + ")";
            }
            return {};
        case kKindFunction:
            if (value < lang::kFunctionKeyDescriptions.size()) {
                return lang::LangText(lang::kKeyPromptFunction) +
                       lang::LangText(lang::kFunctionKeyDescriptions[value]) + ")";
            }
            return {};
        default:
            return {};
    }
}

// Calls `show` for every button of the view with its control id, its G position or key code,
// and its entry index in the block.
template <class Show>
void ForEachButton(int gKeyBank, Show show) {
    const int bank = gKeyBank == 0 ? 0 : 1;
    for (int g = 0; g < keyboard::kGKeyButtonCount; ++g) {
        show(keyboard::kGKeyButtonIds[static_cast<std::size_t>(g)], g, keyboard::kNoKey,
             keyboard::GKeyEntryIndex(g, bank));
    }
    for (const keyboard::KeyButton& button : keyboard::KeyButtons()) {
        show(button.controlId, -1, button.keyCode, keyboard::KeyIndexOfCode(button.keyCode));
    }
}

KeyHint EmptyHintOf(int gPosition, keyboard::KeyCode code) {
    return gPosition >= 0 ? EmptyGKeyHint(gPosition) : EmptyKeyHint(code);
}

}  // namespace

KeyHint BuildAssignmentHint(std::string_view name, keyboard::ConstKeyEntryRef entry) {
    KeyHint hint;
    std::string text(name);
    if (entry.Kind() != kKindDefault) {
        hint.marked = true;
        text += lang::LangText(lang::kKeyPromptSet);
        text += KindPiece(entry.Kind(), entry.Value());
    }
    hint.tooltip = platform::CutToUtf16Units(text, kTooltipMaxChars);
    return hint;
}

KeyHint BuildKeyHint(keyboard::KeyCode code, keyboard::ConstKeyEntryRef entry) {
    return BuildAssignmentHint(keyboard::KeyNameOfCode(code), entry);
}

KeyHint BuildGKeyHint(int position, keyboard::ConstKeyEntryRef entry) {
    return BuildAssignmentHint(GKeyName(position), entry);
}

KeyHint EmptyKeyHint(keyboard::KeyCode code) {
    return KeyHint{false,
                   platform::CutToUtf16Units(keyboard::KeyNameOfCode(code), kTooltipMaxChars)};
}

KeyHint EmptyGKeyHint(int position) {
    return KeyHint{false, GKeyName(position)};
}

void RefreshKeyHints(KeyButtonView& view, const BlockSelection& selection) {
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    const keyboard::ImageRecord* image = selection.IsKnown() ? guard->image.get() : nullptr;
    ForEachButton(selection.gKeyBank, [&](int controlId, int g, keyboard::KeyCode code, int index) {
        if (image == nullptr) {
            view.ShowKeyHint(controlId, EmptyHintOf(g, code));
            return;
        }
        const keyboard::ConstKeyEntryRef entry = image->Entry(selection.profile, index);
        view.ShowKeyHint(controlId, g >= 0 ? BuildGKeyHint(g, entry) : BuildKeyHint(code, entry));
    });
}

void RefreshKeyButtons(KeyButtonView& view, const BlockSelection& selection) {
    RefreshKeyHints(view, selection);
    view.ReapplyFlipState();
}

bool ResetKeyAssignments(KeyButtonView& view, const BlockSelection& selection,
                         EditObserver& observer) {
    {
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        keyboard::ImageRecord* image = guard->image.get();
        if (!selection.IsKnown() || image == nullptr) {
            return false;
        }
        ForEachButton(selection.gKeyBank,
                      [&](int controlId, int g, keyboard::KeyCode code, int index) {
                          image->Entry(selection.profile, index).Reset();
                          view.ShowKeyHint(controlId, EmptyHintOf(g, code));
                      });
    }
    observer.SetPendingChanges();
    return true;
}

}  // namespace qx::keyassign
