// The program's menus as its resources describe them, and their localisation. A menu's items
// carry their command in QAction::data(); texts are set by command, never by position, so a row
// whose command is not in the menu changes nothing.
#pragma once

#include <QMenu>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace qx::widgets {

inline constexpr uint32_t kTrayMenuId = 140;    // Open, About, Exit
inline constexpr uint32_t kButtonMenuId = 144;  // the menu button: Restore, Backup, Firmware update

struct MenuTextRow {
    uint32_t command;
    std::string_view languageKey;
};

// The first submenu of menu resource `menuId` with its built-in captions; null for a menu the
// program does not have.
std::unique_ptr<QMenu> LoadMenuResource(uint32_t menuId, QWidget* parent = nullptr);

// The command an item carries; 0 for separators and foreign actions.
uint32_t CommandOf(const QAction* action);
// The item of `command`, or null.
QAction* FindCommand(const QMenu& menu, uint32_t command);

// Sets each row's item (by command) to the language text of its key in the current language.
void SetMenuTextsByCommand(QMenu& menu, std::span<const MenuTextRow> rows);
// The rows of menu 140 ("MENU_11", "MENU_22", "MENU_33") and of menu 144 ("MENU_1".."MENU_5").
void LocaliseTrayMenu(QMenu& menu);
void LocaliseButtonMenu(QMenu& menu);

// Marks `action` as the menu's default item (drawn bold); null clears the mark.
void MarkDefaultItem(QMenu& menu, QAction* action);

}  // namespace qx::widgets
