// Apply and its pending-changes state, the default button and the report-rate buttons. Key
// assignments reach the keyboard only through Apply; lighting and the report rate are written
// at once by the lighting panel.
#include "device/connection/device_session.h"
#include "keyassign/key_hints.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "lighting/panel/lighting_panel.h"
#include "mainwnd/main_ids.h"
#include "mainwnd/quilvane_dlg.h"
#include "mainwnd/transfer_jobs.h"
#include "platform/prompt.h"
#include "skin/png_button.h"

namespace qx::mainwnd {
namespace {

// The report rate the default button shows (report1), without writing it.
constexpr int kDefaultReportRate = 0;

// Edits of the image made here set the pending-changes state.
class PendingChangesObserver final : public keyassign::EditObserver {
  public:
    explicit PendingChangesObserver(CQuilvaneDlg& window) : window_(window) {}
    void SetPendingChanges() override { window_.SetApplyEnabled(true); }

  private:
    CQuilvaneDlg& window_;
};

}  // namespace

void CQuilvaneDlg::SetApplyEnabled(bool enabled) {
    applyEnabled_ = enabled;
    Button(kIdApply)->setEnabled(enabled);
}

// Apply (1006), OK and a profile switch that keeps the pending changes.
void CQuilvaneDlg::OnApply() {
    ApplyChanges();
}

// The busy indicator shows for every Apply, even one with nothing to send. With changes pending,
// the live image goes to the profile store and the current profile to the keyboard on the
// transfer thread; only when both succeed are the changes no longer pending (a failure leaves
// Apply enabled and says nothing). What the download has to tell (a macro table that does not
// fit) is shown before the busy state ends.
void CQuilvaneDlg::ApplyChanges() {
    busy_.RunShowingIndicator(BusyState::IndicatorStart::kAfterStartWait, [this] {
        if (!applyEnabled_ || session_ == nullptr) {
            return;
        }
        const device::TransferLink link = device::TransferLinkOf(*session_);
        ApplyOutcome outcome;
        busy_.RunTransfer([&] { outcome = ApplyImageToKeyboard(link); });
        ShowTransferNotices(outcome.notices, platform::CurrentPrompt());
        if (outcome.applied) {
            SetApplyEnabled(false);
        }
    });
}

// The default button (1138): after the user agreed, the keys of the current profile and bank
// lose their assignments, the lighting goes back to its defaults while the lighting panel is
// switched on, report1 shows pressed (nothing is written for the rate), and all is applied.
void CQuilvaneDlg::OnDefaults() {
    if (!platform::CurrentPrompt().AskYesNo(lang::LangText(lang::kMainPromptDefault)) ||
        exitStarted_) {
        return;
    }
    PendingChangesObserver observer(*this);
    keyassign::ResetKeyAssignments(keyView_, keyassign::CurrentBlockSelection(), observer);
    lighting_->ResetWhileSwitchOn();
    lighting_->Panel().ShowReportRate(kDefaultReportRate);
    ApplyChanges();
}

// Report-rate buttons 1147, 1168..1170: that button pressed, the others released, and the rate
// written to the current lighting record.
void CQuilvaneDlg::OnReportRate(int rate) {
    if (rate >= 0 && rate < static_cast<int>(kReportRateButtonIds.size())) {
        lighting_->Panel().HandleReportRateClick(
            kReportRateButtonIds[static_cast<std::size_t>(rate)]);
    }
}

}  // namespace qx::mainwnd
