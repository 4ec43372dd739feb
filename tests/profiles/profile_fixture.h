// The surroundings of a profile-file test: a run-time folder of its own with a small language
// file whose texts the test knows, an in-memory settings store choosing English, a data folder
// of its own ($XDG_DATA_HOME), a scripted prompt that records every message, and an empty live
// image. Everything is put back when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "keyboard/image_holders.h"
#include "lang/language.h"
#include "platform/data_folder.h"
#include "platform/memory_settings_store.h"
#include "platform/program_paths.h"
#include "platform/settings_store.h"
#include "platform/testing/scripted_prompt.h"
#include "tests/platform/temp_folder.h"

namespace qx::testing {

inline constexpr const char* kTestLanguageFile =
    "[TEXT]\n"
    "PROFILE_FORMAT_ERROR=Not a profile file: %s\n"
    "MACRO_NEW_PREFIX=Macro\n"
    "EXTRA_MACRO_TOO_LONG=Macros too long\n"
    "EXTRA_PROFILE_SPACE_TIGHT=Names left out\n"
    "MAIN_PROMPT_INPORT=Import failed\n";

class ProfileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedFolder_ = platform::GetProgramPaths().folder;
        platform::SetProgramFolder(folder_.path());
        WriteBytes(folder_.File("Lang0409.ini"), kTestLanguageFile);
        settings_.WriteUserDword(lang::kLanguageIdValue, 0x0409);
        platform::SetCurrentSettings(&settings_);
        const char* xdg = std::getenv("XDG_DATA_HOME");
        savedXdg_ = xdg == nullptr ? std::nullopt : std::optional<std::string>(xdg);
        ::setenv("XDG_DATA_HOME", DataHome().c_str(), 1);
        platform::SetCurrentPrompt(&prompt_);
        keyboard::Images().Reset();
    }

    void TearDown() override {
        keyboard::Images().Reset();
        platform::SetCurrentPrompt(nullptr);
        if (savedXdg_) {
            ::setenv("XDG_DATA_HOME", savedXdg_->c_str(), 1);
        } else {
            ::unsetenv("XDG_DATA_HOME");
        }
        platform::SetCurrentSettings(nullptr);
        platform::SetProgramFolder(savedFolder_);
    }

    // $XDG_DATA_HOME as a user would write it, without a trailing '/'.
    std::string DataHome() const {
        std::string home = data_.path();
        home.pop_back();
        return home;
    }

    std::vector<std::string> Messages() const { return prompt_.MessageTexts(); }

    // A file in the test's scratch folder.
    std::string File(const char* name) const { return scratch_.File(name); }

    TempFolder folder_;   // the run-time folder
    TempFolder data_;     // $XDG_DATA_HOME
    TempFolder scratch_;  // profile files of the test
    platform::MemorySettingsStore settings_;
    platform::testing::ScriptedPrompt prompt_;

  private:
    std::string savedFolder_;
    std::optional<std::string> savedXdg_;
};

}  // namespace qx::testing
