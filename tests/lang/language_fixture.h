// A run-time folder of the test's own with two small language files, an in-memory settings
// store and a chosen system locale; everything is put back when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/memory_settings_store.h"
#include "platform/program_paths.h"
#include "platform/settings_store.h"
#include "tests/platform/temp_folder.h"

namespace qx::testing {

class LanguageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedFolder_ = platform::GetProgramPaths().folder;
        platform::SetProgramFolder(folder_.path());
        platform::SetCurrentSettings(&settings_);
        for (const char* name : {"LC_ALL", "LC_MESSAGES"}) {
            const char* value = std::getenv(name);
            saved_[name == std::string("LC_ALL") ? 0 : 1] =
                value == nullptr ? std::nullopt : std::optional<std::string>(value);
        }
        SetSystemLocale("en_US.UTF-8");
        WriteBytes(folder_.File("Lang0409.ini"),
                   "[TEXT]\nMAIN_CAPTION=Keyboard driver\nEMPTY=\n"
                   "MACRO_ACTION_RECORD_DELAY=Record delays\n"
                   "[LIGHT]\nSpeed=Speed\n[MODE]\n1=Wave\n254=Custom\n");
        WriteBytes(folder_.File("Lang1046.ini"),
                   "[TEXT]\nMAIN_CAPTION=Driver do teclado\n"
                   "MACRO_ACTION_RECORD_DELAY=Gravar atrasos\n"
                   "[LIGHT]\nSpeed=Velocidade\n[MODE]\n1=Onda\n");
    }
    void TearDown() override {
        platform::SetCurrentSettings(nullptr);
        platform::SetProgramFolder(savedFolder_);
        const char* names[] = {"LC_ALL", "LC_MESSAGES"};
        for (int i = 0; i < 2; ++i) {
            if (saved_[i]) {
                ::setenv(names[i], saved_[i]->c_str(), 1);
            } else {
                ::unsetenv(names[i]);
            }
        }
    }
    // The system language the first run maps (LC_ALL wins over everything else).
    static void SetSystemLocale(const char* locale) { ::setenv("LC_ALL", locale, 1); }

    TempFolder folder_;
    platform::MemorySettingsStore settings_;

  private:
    std::string savedFolder_;
    std::optional<std::string> saved_[2];
};

}  // namespace qx::testing
