// The image buttons of the main window, made once with the window and found by control id: the
// keyboard view (107 keys, nine G keys, Fn, the six D buttons), the indicators, the flip
// buttons and arrows, the version label and the command buttons.
#pragma once

#include <map>
#include <vector>

class QWidget;

namespace qx::skin {
class CPngButton;
}

namespace qx::mainwnd {

class MainControls {
  public:
    // Makes every button as a child of `window`; the test and profile-menu buttons stay hidden.
    explicit MainControls(QWidget& window);

    // The button with that id; null for any other id.
    [[nodiscard]] skin::CPngButton* Button(int controlId) const;
    // Every button id, ascending.
    [[nodiscard]] std::vector<int> ButtonIds() const;

  private:
    void Add(QWidget& window, int controlId);

    std::map<int, skin::CPngButton*> buttons_;
};

// The buttons of the keyboard view whose clicks are key clicks: the 107 key buttons and the
// nine G keys (Fn is handled on its own).
bool IsKeyClickButton(int controlId);

}  // namespace qx::mainwnd
