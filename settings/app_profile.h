// The values of the application profile (section "PROFILES" of the settings store) and the rules
// of their string forms. Reads give the default for a missing value; failed writes are not
// reported to the user (the functions say whether the store took the value).
#pragma once

#include <string>
#include <string_view>

namespace qx::settings {

inline constexpr const char* kProfileSection = "PROFILES";
inline constexpr const char* kFlipValueName = "Flip";
inline constexpr const char* kProfileListPrefix = "PROFILE";
inline constexpr const char* kProfileValueDefault = "0";

// A stored decimal text as a number, read like the C library's atoi: leading blanks, an optional
// sign, then digits up to the first other character; 0 without digits; clamped to int.
int DecimalValue(std::string_view text);

// "Flip": "0" when missing.
std::string ReadFlipSetting();
// Stores "1" for 1 and "0" for anything else; returns the text stored.
std::string WriteFlipSetting(int value);

// The record-delay flag is stored under a name that is the language text of
// "MACRO_ACTION_RECORD_DELAY" in the current language ("#Error" when the file lacks it), so a
// change of language starts the flag from its default again.
std::string RecordDelayValueName();
// The stored flag as a number (the text read as decimal; "0" when missing).
int ReadRecordDelay();
// Stores 1 for 1 and 0 for anything else; returns the number stored.
int StoreRecordDelay(int value);

// "PROFILE" + the number in at least two digits ("PROFILE00", "PROFILE01", ...).
std::string ProfileListValueName(int number);
// Writes one value of the profile list (these values are written only, never read back).
bool WriteProfileListValue(int number, std::string_view text);

}  // namespace qx::settings
