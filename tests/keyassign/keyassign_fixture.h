// The surroundings of a key assignment test: a run-time folder of its own with a language file
// whose texts the test knows, an in-memory settings store choosing English, a scripted prompt
// that records every message and question, and a default image installed as the live image
// (macro area and texts empty). Plus an observer and a key view that record what they are told.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "keyassign/edit_observer.h"
#include "keyassign/key_hints.h"
#include "keyboard/image_holders.h"
#include "keyboard/macro_record.h"
#include "lang/language.h"
#include "platform/memory_settings_store.h"
#include "platform/program_paths.h"
#include "platform/settings_store.h"
#include "platform/testing/scripted_prompt.h"
#include "platform/unicode_text.h"
#include "profiles/profile_file.h"
#include "tests/platform/temp_folder.h"

namespace qx::keyassign::testing {

inline constexpr const char* kTestLanguage =
    "[TEXT]\n"
    "KEY_PROMPT_SET=\" set\"\n"
    "KEY_PROMPT_SINGLE=\" to key \"\n"
    "KEY_PROMPT_MACRO=\" to macro \"\n"
    "KEY_PROMPT_MEDIA=\" to media \"\n"
    "KEY_PROMPT_FUNCTION=\" to function \"\n"
    "FUNC_KEY_DESC1=Lights\n"
    "FUNC_KEY_DESC11=Lock\n"
    "IDS_KEYBOARD_A=A\n"
    "IDS_KEYBOARD_B=B\n"
    "IDS_KEYBOARD_ESC=Esc\n"
    "IDS_KEYBOARD_MOU_LEFT=Left Button\n"
    "MEDIA_MUTE_8=Mute\n"
    "UNKNOWN_KEY=Key %04X\n"
    "MACRO_NEW_PREFIX=Macro\n"
    "MACRO_ACTION_RECORD_DELAY=Record delays\n"
    "MACRO_ERR_MAX=At most %d macros\n"
    "MACRO_ACTION_ERR_DELAY_MAX=At most %d ms\n"
    "MACRO_ACTION_CLEAR_CONFIRM=Remove all actions?\n"
    "MACRO_DELETE_CONFIRM_OF_KEYS=Keys play this macro\n"
    "PROFILE_FORMAT_ERROR=Not a profile: %s\n";

// Counts what a model reported.
class RecordingObserver : public EditObserver {
  public:
    void MarkModified() override { ++modified; }
    void SetPendingChanges() override { ++pending; }
    void MacroListChanged() override { ++listChanges; }
    void ActionButtonsEnabled(bool enabled) override { buttonsEnabled = enabled; }
    void CountTextChanged(const std::string& text) override { countText = text; }

    int modified = 0;
    int pending = 0;
    int listChanges = 0;
    bool buttonsEnabled = false;
    std::string countText;
};

// The key buttons of the main window as a map of control id to hint.
class RecordingKeyView : public KeyButtonView {
  public:
    void ShowKeyHint(int controlId, const KeyHint& hint) override {
        order.push_back(controlId);
        hints[controlId] = hint;
    }
    void ReapplyFlipState() override { ++flips; }

    std::vector<int> order;
    std::map<int, KeyHint> hints;
    int flips = 0;
};

class KeyAssignTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedFolder_ = platform::GetProgramPaths().folder;
        platform::SetProgramFolder(folder_.path());
        qx::testing::WriteBytes(folder_.File("Lang0409.ini"), kTestLanguage);
        settings_.WriteUserDword(lang::kLanguageIdValue, 0x0409);
        platform::SetCurrentSettings(&settings_);
        platform::SetCurrentPrompt(&prompt_);
        keyboard::Images().Reset();
        {
            const keyboard::ImageGuard guard = keyboard::Images().LockImage();
            profiles::WriteDefaultProfileFile(std::nullopt, 0, true);
        }
    }

    void TearDown() override {
        keyboard::Images().Reset();
        platform::SetCurrentPrompt(nullptr);
        platform::SetCurrentSettings(nullptr);
        platform::SetProgramFolder(savedFolder_);
    }

    // A record for the macro area.
    static keyboard::MacroRecord Macro(uint16_t id, const char* name, int actions = 0) {
        keyboard::MacroRecord record;
        record.SetId(id);
        record.SetName(platform::Utf8ToUtf16(name));
        record.SetRepeatCount(1);
        for (int i = 0; i < actions; ++i) {
            record.SetAction(i, {10 * (i + 1), 0x01E, static_cast<uint16_t>(i % 2)});
        }
        record.SetActionCount(static_cast<uint16_t>(actions));
        return record;
    }

    static void InstallMacros(std::vector<keyboard::MacroRecord> macros) {
        keyboard::Images().LockImage()->macros = std::move(macros);
    }

    static keyboard::ConstKeyEntryRef Entry(int profile, int index) {
        // The live image stays installed for the whole test.
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        return std::as_const(*guard->image).Entry(profile, index);
    }
    static keyboard::KeyEntryRef MutableEntry(int profile, int index) {
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        return guard->image->Entry(profile, index);
    }

    std::vector<std::string> Messages() const { return prompt_.MessageTexts(); }
    std::vector<platform::testing::ScriptedPrompt::Question> Questions() const {
        return prompt_.Questions();
    }

    qx::testing::TempFolder folder_;
    platform::MemorySettingsStore settings_;
    platform::testing::ScriptedPrompt prompt_;

  private:
    std::string savedFolder_;
};

}  // namespace qx::keyassign::testing
