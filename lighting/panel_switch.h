// The lighting panel switch as the settings file keeps it (section "KEYCOLOR", key "DengCheck":
// "1" on, anything else or nothing off). While it is on, clicks on the keyboard view edit
// lighting instead of key assignments.
#pragma once

#include <string>

namespace qx::lighting {

class PanelSwitchFile {
  public:
    // The user's "zadi.ini" in the data folder.
    PanelSwitchFile();
    // Another settings file (tests, tools).
    explicit PanelSwitchFile(std::string path) : path_(std::move(path)) {}

    bool Read() const;
    // Stores "1" or "0"; false when the file could not be written (not reported to the user).
    bool Write(bool on) const;

    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace qx::lighting
