// The places where the main window's remaining features attach: the profile manager, the
// firmware update dialog and the key assignment window. Each is one method; until its window
// exists it does nothing beyond what is said here.
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
    // this control id (macro editing alone when location->macroOnly). It registers itself in
    // SubWindows() under kKeyAssignmentName with an isOpen hook, which keeps profile switches
    // away while it is open.
    layout_.RestoreKeySheets(controlId);
}

// 1005: the profile manager, shown modally. It registers in SubWindows() under
// kProfileManagerName (close, hasChanges, profileSwitched).
void CQuilvaneDlg::ShowProfileManager() {}

// 32780: the firmware update dialog, shown modally.
void CQuilvaneDlg::ShowFirmwareUpdate() {}

}  // namespace qx::mainwnd
