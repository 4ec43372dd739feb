// The key assignment window of the main window: made once after the start-up (its pictures are
// decoded before the first click), one of the sub-windows (a profile switch is refused while it
// is open; the exit sequence and the keyboard's departure close it), and opened by a click on a
// key of the keyboard view, which keeps its open sheets until the window closes.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "keyassign/window/composite_host.h"

class QObject;

namespace qx::keyassign::window {
class Quilvane_DlgComposite;
}

namespace qx::mainwnd {

class MainControls;
class MainLayout;
class MainSheets;
class SubWindowList;

class KeyAssignmentLink {
  public:
    // `host` carries the key buttons, the pending state and the help page; the link adds where
    // each key button sits. `isEnded` is true once the exit sequence ended the window.
    KeyAssignmentLink(QObject& owner, const MainControls& controls, const MainSheets& sheets,
                      MainLayout& layout, SubWindowList& subWindows,
                      keyassign::window::CompositeHost host, std::function<bool()> isEnded);
    ~KeyAssignmentLink();
    KeyAssignmentLink(const KeyAssignmentLink&) = delete;
    KeyAssignmentLink& operator=(const KeyAssignmentLink&) = delete;

    // At the end of 'INIT': the window is made `delay` later, once `isBusy` is false.
    void PrepareWhenIdle(std::chrono::milliseconds delay, std::function<bool()> isBusy);
    // Opens the assignment of the key `controlId` modally; returns when the window closed.
    void Open(int controlId);
    // Null until it was made.
    [[nodiscard]] keyassign::window::Quilvane_DlgComposite* Window() const { return window_.get(); }

  private:
    void Make();

    QObject& owner_;
    const MainControls& controls_;
    const MainSheets& sheets_;
    MainLayout& layout_;
    SubWindowList& subWindows_;
    keyassign::window::CompositeHost host_;
    std::function<bool()> isEnded_;
    std::unique_ptr<keyassign::window::Quilvane_DlgComposite> window_;
};

}  // namespace qx::mainwnd
