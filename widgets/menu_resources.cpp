#include "widgets/menu_resources.h"

#include <QAction>
#include <QFont>
#include <array>

#include "app/main_window_port.h"
#include "lang/language.h"
#include "lang/language_keys.h"

namespace qx::widgets {
namespace {

struct MenuItemResource {
    uint32_t command;
    const char* caption;  // the built-in caption, replaced by a language text at each opening
};

constexpr std::array<MenuItemResource, 3> kTrayMenu{{
    {app::kCommandOpen, "&Open"},
    {app::kCommandAbout, "&About"},
    {app::kCommandExit, "E&xit"},
}};

constexpr std::array<MenuItemResource, 3> kButtonMenu{{
    {app::kCommandRestore, "&Restore"},
    {app::kCommandBackup, "&Backup"},
    {app::kCommandFirmwareUpdate, "&Firmware update..."},
}};

constexpr std::array<MenuTextRow, 3> kTrayMenuTexts{{
    {app::kCommandOpen, lang::kMenu11},
    {app::kCommandAbout, lang::kMenu22},
    {app::kCommandExit, lang::kMenu33},
}};

constexpr std::array<MenuTextRow, 5> kButtonMenuTexts{{
    {app::kCommandRestore, lang::kMenu1},
    {app::kCommandBackup, lang::kMenu2},
    {app::kCommandAbout, lang::kMenu3},
    {app::kCommandMenuExit, lang::kMenu4},
    {app::kCommandFirmwareUpdate, lang::kMenu5},
}};

template <std::size_t N>
std::unique_ptr<QMenu> MenuOf(const std::array<MenuItemResource, N>& items, QWidget* parent) {
    auto menu = std::make_unique<QMenu>(parent);
    for (const MenuItemResource& item : items) {
        QAction* action = menu->addAction(QString::fromUtf8(item.caption));
        action->setData(item.command);
    }
    return menu;
}

}  // namespace

std::unique_ptr<QMenu> LoadMenuResource(uint32_t menuId, QWidget* parent) {
    switch (menuId) {
        case kTrayMenuId:
            return MenuOf(kTrayMenu, parent);
        case kButtonMenuId:
            return MenuOf(kButtonMenu, parent);
        default:
            return nullptr;
    }
}

uint32_t CommandOf(const QAction* action) {
    if (action == nullptr || action->isSeparator()) {
        return 0;
    }
    bool isNumber = false;
    const uint32_t command = action->data().toUInt(&isNumber);
    return isNumber ? command : 0;
}

QAction* FindCommand(const QMenu& menu, uint32_t command) {
    if (command == 0) {
        return nullptr;
    }
    for (QAction* action : menu.actions()) {
        if (CommandOf(action) == command) {
            return action;
        }
    }
    return nullptr;
}

void SetMenuTextsByCommand(QMenu& menu, std::span<const MenuTextRow> rows) {
    for (const MenuTextRow& row : rows) {
        if (QAction* action = FindCommand(menu, row.command)) {
            action->setText(QString::fromStdString(lang::LangText(row.languageKey)));
        }
    }
}

void LocaliseTrayMenu(QMenu& menu) {
    SetMenuTextsByCommand(menu, kTrayMenuTexts);
}

void LocaliseButtonMenu(QMenu& menu) {
    SetMenuTextsByCommand(menu, kButtonMenuTexts);
}

void MarkDefaultItem(QMenu& menu, QAction* action) {
    for (QAction* item : menu.actions()) {
        QFont font = item->font();
        font.setBold(item == action);
        item->setFont(font);
    }
    menu.setDefaultAction(action);
}

}  // namespace qx::widgets
