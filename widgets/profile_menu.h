// The profile menu: a popup menu that draws its own items (a picture per item, the check as an
// accent bar and mark, the skin's dark colours). The profile manager's RebuildProfileMenu fills
// it like a plain menu: items by command, separators, a check by position, an item's text read
// back. Choosing an item sends its command to the main window as platform::kCommandMessage.
#pragma once

#include <QMenu>
#include <QPoint>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/window_message.h"

namespace qx::widgets {

class CProfileMenu : public QMenu {
    Q_OBJECT

  public:
    explicit CProfileMenu(QWidget* parent = nullptr);
    ~CProfileMenu() override;
    CProfileMenu(const CProfileMenu&) = delete;
    CProfileMenu& operator=(const CProfileMenu&) = delete;

    // Appends an item or a separator; returns its position.
    int AppendItem(uint32_t command, const std::string& text);
    int AppendSeparator();
    // Removes the item at `position`; false when there is none.
    bool RemoveItemAt(int position);
    // Removes every item, last first.
    void RemoveAll();

    [[nodiscard]] int ItemCount() const;
    // Checks the item at `position` and unchecks every other; false (and nothing checked) when
    // the position holds no item or a separator.
    bool CheckItemByPosition(int position);
    // The checked item's position, or -1.
    [[nodiscard]] int CheckedPosition() const;
    // The text and command of the item at `position`; empty and 0 when there is none.
    [[nodiscard]] std::string ItemText(int position) const;
    [[nodiscard]] uint32_t ItemCommand(int position) const;

    // Where chosen commands go (the main window).
    void SetCommandTarget(std::shared_ptr<platform::MessageTarget> target);
    // Shows the menu at `at` until the user chooses or dismisses it; a chosen item's command is
    // sent to the command target and returned (0 when nothing was chosen).
    uint32_t Track(QPoint at);

  private:
    std::shared_ptr<platform::MessageTarget> commandTarget_;
};

}  // namespace qx::widgets
