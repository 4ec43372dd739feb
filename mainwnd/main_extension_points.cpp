// The places where the main window's remaining features attach: Apply and the default button,
// the profile buttons, profile switching and the profile manager, the menu button with restore
// and backup, the report rate, the firmware update dialog, the key assignment window and the
// lighting panel's own controls. Each is one method; until its feature exists it does nothing
// beyond what is said here.
#include "lighting/lighting_model.h"
#include "mainwnd/main_ids.h"
#include "mainwnd/quilvane_dlg.h"
#include "skin/png_button.h"

namespace qx::mainwnd {

// A key of the keyboard view opens its assignment. The key stays highlighted (over, over,
// down, normal, over) while the key assignment window is open, and gets its own sheets back
// when it closes. The window itself is not part of the program yet: the key's entry is located
// and nothing is shown.
void CQuilvaneDlg::OpenKeyAssignment(int controlId) {
    const std::optional<keyassign::KeyEntryLocation> location =
        keyassign::LocateKeyEntry(controlId);
    skin::CPngButton* button = Button(controlId);
    if (!location || button == nullptr) {
        return;
    }
    button->SetSheetsOnly(sheets_.Set(kKeyOpenPattern));
    // The key assignment window opens here, modally, for bank 0, entry location->entryIndex and
    // this control id (macro editing alone when location->macroOnly).
    layout_.RestoreKeySheets(controlId);
}

// Apply (1006, and OK before it hides the window): saves and downloads the pending changes.
void CQuilvaneDlg::OnApply() {}

// The default button (1138): resets the current profile's keys and lighting.
void CQuilvaneDlg::OnDefaults() {}

// Profile1..3 (1135..1137): switch to onboard profile 0..2 unless it is the active one.
void CQuilvaneDlg::OnProfileButton(int profile) {
    static_cast<void>(profile);
}

// Profile menu items 9000..9200 (command - 9001, so the default item gives -1). Returns 1 when
// the switch was made.
int CQuilvaneDlg::SelectOnboardProfile(int profile) {
    static_cast<void>(profile);
    return 0;
}

// 1005: the profile manager, shown modally.
void CQuilvaneDlg::ShowProfileManager() {}

// The menu button (1139): the restore / backup / about / exit menu at the cursor.
void CQuilvaneDlg::OnMenuButton() {}

// Report-rate buttons 1147, 1168..1170: rate 0..3.
void CQuilvaneDlg::OnReportRate(int rate) {
    static_cast<void>(rate);
}

// 32776 (restore): import a profile file; 32777 (backup): export one.
void CQuilvaneDlg::OnRestoreProfileFile() {}
void CQuilvaneDlg::OnBackupProfileFile() {}

// 32780: the firmware update dialog, shown modally.
void CQuilvaneDlg::ShowFirmwareUpdate() {}

// After every lighting read, a profile change and timer 1051: the panel shows the model's state.
void CQuilvaneDlg::RefreshLightingPanel() {
    if (lighting_) {
        lighting_->RefreshPanel();
    }
}

// The panel's labels in the language of `languageIndex`.
void CQuilvaneDlg::ApplyLightingLabels(int languageIndex) {
    panel_.ApplyLabelTexts(languageIndex);
}

// 0x28d1 from the brightness (1178) or speed (1179) slider at `position` 0..4.
void CQuilvaneDlg::OnLightingSlider(int sliderId, int position) {
    static_cast<void>(sliderId);
    static_cast<void>(position);
}

// Clicks and selections of the panel's controls (lamp, mode and layer lists, direction, tools,
// all on, all off).
void CQuilvaneDlg::OnLightingControl(int controlId) {
    static_cast<void>(controlId);
}

}  // namespace qx::mainwnd
