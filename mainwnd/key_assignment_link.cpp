#include "mainwnd/key_assignment_link.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <utility>

#include "keyassign/key_location.h"
#include "keyassign/window/quilvane_dlg_composite.h"
#include "mainwnd/main_controls.h"
#include "mainwnd/main_layout.h"
#include "mainwnd/main_sheets.h"
#include "mainwnd/sub_windows.h"
#include "platform/program_paths.h"
#include "skin/png_button.h"

namespace qx::mainwnd {

KeyAssignmentLink::KeyAssignmentLink(QObject& owner, const MainControls& controls,
                                     const MainSheets& sheets, MainLayout& layout,
                                     SubWindowList& subWindows,
                                     keyassign::window::CompositeHost host,
                                     std::function<bool()> isEnded)
    : owner_(owner),
      controls_(controls),
      sheets_(sheets),
      layout_(layout),
      subWindows_(subWindows),
      host_(std::move(host)),
      isEnded_(std::move(isEnded)) {
    host_.keyButtonRect = [this](int controlId) {
        const skin::CPngButton* button = controls_.Button(controlId);
        return button == nullptr ? QRect()
                                 : QRect(button->mapToGlobal(QPoint(0, 0)), button->size());
    };
}

KeyAssignmentLink::~KeyAssignmentLink() = default;

// Made `delay` after start-up, once the window is idle: a request of a second start and the
// keyboard's first read are answered before it, and it waits out a transfer, whose thread holds
// the image it reads. Its pictures are then decoded before the user's first click, and a click
// that comes earlier makes it on the spot. The timer belongs to the main window, so it goes with
// it.
void KeyAssignmentLink::PrepareWhenIdle(std::chrono::milliseconds delay,
                                        std::function<bool()> isBusy) {
    auto* timer = new QTimer(&owner_);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, &owner_,
                     [this, timer, delay, isBusy = std::move(isBusy)] {
                         if (isBusy()) {
                             timer->start(delay);
                             return;
                         }
                         timer->deleteLater();
                         Make();
                     });
    timer->start(delay);
}

// The key stays highlighted (over, over, down, normal, over) while the window is open, and gets
// its own sheets back when it closes.
void KeyAssignmentLink::Open(int controlId) {
    const std::optional<keyassign::KeyEntryLocation> location =
        keyassign::LocateKeyEntry(controlId);
    skin::CPngButton* button = controls_.Button(controlId);
    if (!location || button == nullptr || isEnded_()) {
        return;
    }
    Make();
    button->SetSheetsOnly(sheets_.Set(kKeyOpenPattern));
    window_->OpenForKey(controlId);
    if (!isEnded_()) {
        layout_.RestoreKeySheets(controlId);
    }
}

void KeyAssignmentLink::Make() {
    if (window_ || isEnded_()) {
        return;
    }
    const platform::ProgramPaths& paths = platform::GetProgramPaths();
    window_ = std::make_unique<keyassign::window::Quilvane_DlgComposite>(
        paths.compositeSkinFile, paths.compositeSkinFolder, std::move(host_));
    window_->Prepare();
    SubWindowHooks hooks;
    hooks.close = [this] { return window_->CloseIfOpen() == 1; };
    hooks.language = [this](int languageIndex) {
        if (window_->IsOpen()) {
            window_->ApplyLanguage(languageIndex);
        }
    };
    hooks.isOpen = [this] { return window_->IsOpen(); };
    subWindows_.Register(kKeyAssignmentName, std::move(hooks));
}

}  // namespace qx::mainwnd
