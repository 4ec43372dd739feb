// What the main window's busy state (mainwnd/busy_state.h) holds back besides a transfer: the
// keyboard's profile read until 'INIT' was handled (a keyboard read during start-up holds up
// neither the end of it nor the answer to another instance), and the profile read and the
// keyboard's departure while a profile switch asks about pending changes (either would change
// the image under the question).
#include "mainwnd/main_ids.h"
#include "mainwnd/quilvane_dlg.h"

namespace qx::mainwnd {

BusyHoldRules CQuilvaneDlg::MakeBusyHoldRules() {
    BusyHoldRules rules;
    rules.holds = [this](uint32_t message) {
        if (message == kProfileReadMessage && !initDone_) {
            return true;
        }
        return profileSwitch_.IsAsking() &&
               (message == kProfileReadMessage || message == kKeyboardLeftMessage);
    };
    rules.keepsHeld = [this] { return profileSwitch_.IsAsking() || !initDone_; };
    return rules;
}

}  // namespace qx::mainwnd
