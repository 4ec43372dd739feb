// Buttons that repaint related buttons while the mouse is over them: the G-key bank indicator
// its nine G keys, the Enter key its partner 1055, the flip indicator the keys the flip setting
// switches (with F5 and both flip buttons); and the two flip buttons show both arrows in their
// second frame.
#pragma once

#include <QObject>
#include <vector>

namespace qx::mainwnd {

class MainControls;
class MainLayout;

class HoverGroups : public QObject {
  public:
    HoverGroups(const MainControls& controls, MainLayout& layout, QObject* parent = nullptr);

    // Watches the buttons that lead a group.
    void Install();

    // The buttons repainted while `controlId` is hovered (empty for other buttons).
    [[nodiscard]] std::vector<int> GroupOf(int controlId) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void OnHoverChanged(int controlId, bool entered);

    const MainControls& controls_;
    MainLayout& layout_;
};

}  // namespace qx::mainwnd
