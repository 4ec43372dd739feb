// The three dialogs: profile manager, firmware update and the composite key dialog.
#include <Qt>

#include "layout.h"
#include "skin/skin_keys.h"

namespace qx::skingen {
namespace {

Control Make(std::string key, QRect rect, Look look, AppearanceBySheet bySheet = kPlainButton) {
    Control control;
    control.key = std::move(key);
    control.rect = rect;
    control.look = look;
    control.bySheet = bySheet;
    control.byAltSheet = bySheet;
    return control;
}

Control Labelled(std::string key, QRect rect, const char* label, Icon icon,
                 AppearanceBySheet bySheet = kPlainButton) {
    Control control = Make(std::move(key), rect, Look::LabelButton, bySheet);
    control.label = QString::fromUtf8(label);
    control.icon = icon;
    return control;
}

Decor Text(QRect rect, const char* text, int pixelSize, bool bold, bool dim,
           int align = Qt::AlignLeft | Qt::AlignVCenter) {
    Decor decor{Decor::Kind::Text, rect, QString::fromUtf8(text), pixelSize, bold, align};
    decor.dim = dim;
    return decor;
}

}  // namespace

WindowLayout ProfileLayout() {
    WindowLayout layout;
    layout.name = "profile";
    layout.size = QSize(600, 360);
    layout.decor.emplace_back(Decor::Kind::TitleBar, QRect(0, 0, 600, 48));
    layout.decor.emplace_back(Decor::Kind::Logo, QRect(20, 10, 120, 28), QStringLiteral("QX480"));
    layout.decor.push_back(Text(QRect(150, 10, 300, 28), "PROFILES", 13, true, true));
    layout.controls.push_back(Make("PROGRAM_LIST", QRect(20, 62, 560, 220), Look::None));
    layout.decor.emplace_back(Decor::Kind::Well, QRect(19, 61, 562, 222));
    // Profile-file buttons on the left, the dialog's own on the right; the Apply button's
    // disabled face is the pressed picture (the dialog names the down picture for both).
    layout.controls.push_back(Labelled("FUNC_ADD", QRect(20, 302, 92, 34), "New", Icon::Plus));
    layout.controls.push_back(
        Labelled("FUNC_LOAD", QRect(118, 302, 92, 34), "Load", Icon::FolderOpen));
    layout.controls.push_back(
        Labelled("FUNC_DELETE", QRect(216, 302, 92, 34), "Delete", Icon::Trash));
    Control apply = Labelled("CONTROL2_APPLY", QRect(340, 302, 76, 34), "Apply", Icon::Download);
    apply.look = Look::LabelButton;
    layout.controls.push_back(apply);
    Control ok = Labelled("CONTROL_OK", QRect(422, 302, 76, 34), "OK", Icon::Check);
    ok.look = Look::AccentBody;
    layout.controls.push_back(ok);
    layout.controls.push_back(
        Labelled("CONTROL_CANCEL", QRect(504, 302, 76, 34), "Cancel", Icon::Cross));
    return layout;
}

WindowLayout UpdateLayout() {
    WindowLayout layout;
    layout.name = "update";
    layout.size = QSize(520, 250);
    layout.decor.emplace_back(Decor::Kind::TitleBar, QRect(0, 0, 520, 48));
    layout.decor.emplace_back(Decor::Kind::Logo, QRect(20, 10, 120, 28), QStringLiteral("QX480"));
    layout.decor.push_back(Text(QRect(150, 10, 300, 28), "FIRMWARE UPDATE", 13, true, true));
    layout.decor.push_back(Text(QRect(24, 58, 380, 18), "Updater program", 11, false, true));
    layout.decor.emplace_back(Decor::Kind::Well, QRect(23, 79, 382, 34));
    layout.controls.push_back(Make("CONTROL_UPStatic", QRect(30, 84, 368, 24), Look::None));
    layout.controls.push_back(
        Labelled("CONTROL_OPENButton", QRect(414, 79, 82, 34), "Browse", Icon::FolderOpen));
    // The combo box is laid out but never shown: a spot of plain ground.
    layout.controls.push_back(Make("CONTROL_UPCombox", QRect(24, 120, 120, 10), Look::None));
    layout.decor.emplace_back(Decor::Kind::Notch, QRect(24, 140, 472, 30),
                              QStringLiteral("Keep the keyboard connected until the updater "
                                             "has finished."),
                              11);
    layout.controls.push_back(
        Labelled("CONTROL_BACKUPButton", QRect(24, 190, 124, 36), "Back up", Icon::Save));
    Control update = Labelled("CONTROL_UPButton", QRect(296, 190, 104, 36), "Update", Icon::Chip);
    update.look = Look::AccentBody;
    layout.controls.push_back(update);
    layout.controls.push_back(
        Labelled("CONTROL_CUPButton", QRect(406, 190, 90, 36), "Cancel", Icon::Cross));
    return layout;
}

WindowLayout CompositeLayout() {
    WindowLayout layout;
    layout.name = "composite";
    layout.size = QSize(560, 456);
    layout.decor.emplace_back(Decor::Kind::TitleBar, QRect(0, 0, 560, 52));
    // The title picture; in macro-only mode (the macro2 pictures) it names the macro editor.
    Control title = Make("CONTROL_TITLE", QRect(16, 10, 300, 34), Look::Title, kAlwaysNormal);
    title.label = QStringLiteral("KEY ASSIGNMENT");
    title.subLabel = QStringLiteral("MACRO EDITOR");
    layout.controls.push_back(title);
    // Clear is disabled in macro-only mode: its disabled face is in the macro2 pictures.
    Control osk = Make("CONTROL_OSK", QRect(470, 12, 34, 30), Look::IconButton);
    osk.icon = Icon::Keyboard;
    layout.controls.push_back(osk);
    Control clear = Make("CONTROL_CLEAR", QRect(510, 12, 34, 30), Look::IconButton);
    clear.icon = Icon::Eraser;
    clear.byAltSheet = kDisablableButton;
    layout.controls.push_back(clear);
    // Page tabs: the current page is marked, which shows its set's down picture, so the down
    // pictures show the chosen-tab look; in macro-only mode three of them are disabled.
    const AppearanceBySheet tabLooks{Appearance::Normal, Appearance::Hover, Appearance::Accent,
                                     Appearance::Normal};
    const AppearanceBySheet macroOnlyTabLooks{Appearance::Normal, Appearance::Hover,
                                              Appearance::Accent, Appearance::Disabled};
    const std::array<const char*, 4> tabs{"CONTROL_KEY", "CONTROL_MACRO", "CONTROL_MEDIA",
                                          "CONTROL_FUNCTION"};
    for (int i = 0; i < 4; ++i) {
        Control tab = Make(tabs[static_cast<std::size_t>(i)], QRect(16 + i * 133, 60, 129, 34),
                           Look::Segment, tabLooks);
        tab.byAltSheet = macroOnlyTabLooks;
        layout.controls.push_back(tab);
    }
    layout.controls.push_back(Make("KEY_SETTING", QRect(24, 102, 400, 20), Look::None));
    // The page area: the mask shows the current page's picture under the page's controls.
    layout.controls.push_back(Make("CONTROL_MASK", QRect(16, 128, 528, 264), Look::None));
    layout.decor.emplace_back(Decor::Kind::Panel, QRect(16, 128, 528, 264));
    // Single-key page.
    auto pageControl = [&layout](int page, const char* key, QRect rect) {
        Control control = Make(key, rect, Look::None);
        control.page = page;
        layout.controls.push_back(control);
    };
    using skin::kPageFunction;
    using skin::kPageMacro;
    using skin::kPageMedia;
    using skin::kPageSingleKey;
    pageControl(kPageSingleKey, "TISHI_SINGLE_STATIC", QRect(40, 146, 400, 20));
    pageControl(kPageSingleKey, "FUNC_KEY_INPUT", QRect(40, 172, 480, 58));
    pageControl(kPageSingleKey, "FUNC_KEY_RADIO_KB", QRect(40, 254, 20, 20));
    pageControl(kPageSingleKey, "FUNC_KEY_RADIO_KB_STATIC", QRect(64, 254, 190, 20));
    pageControl(kPageSingleKey, "FUNC_KEY_RADIO_MOU", QRect(280, 254, 20, 20));
    pageControl(kPageSingleKey, "FUNC_KEY_RADIO_MOU_STATIC", QRect(304, 254, 210, 20));
    layout.decor.emplace_back(Decor::Kind::Well, QRect(39, 171, 482, 60), QString(), 12, false, 0,
                              kPageSingleKey);
    layout.decor.emplace_back(Decor::Kind::Notch, QRect(40, 296, 480, 72), QStringLiteral("\u2328"),
                              12, false, 0, kPageSingleKey);
    // Macro page: selector with add/delete, the action list, and the action buttons.
    pageControl(kPageMacro, "MARCO_NAME_SETTING", QRect(30, 138, 200, 20));
    pageControl(kPageMacro, "FUNC_MACRO_LIST", QRect(30, 162, 296, 30));
    for (const auto& [key, icon, x] :
         {std::tuple{"FUNC_MACRO_ADD", Icon::Plus, 332}, {"FUNC_MACRO_DELETE", Icon::Minus, 366}}) {
        Control button = Make(key, QRect(x, 162, 30, 30), Look::IconButton, kDisablableButton);
        button.icon = icon;
        button.page = kPageMacro;
        layout.controls.push_back(button);
    }
    pageControl(kPageMacro, "FUNC_MACRO_LIST2", QRect(30, 200, 366, 180));
    layout.decor.emplace_back(Decor::Kind::Well, QRect(29, 199, 368, 182), QString(), 12, false, 0,
                              kPageMacro);
    auto action = [&layout](const char* key, QRect rect) {
        Control button = Make(key, rect, Look::Body, kDisablableButton);
        button.page = kPageMacro;
        layout.controls.push_back(button);
    };
    action("FUNC_MACRO_RECORD", QRect(410, 162, 120, 32));
    layout.controls.back().look = Look::AccentBody;
    action("FUNC_MACRO_DELETE2", QRect(410, 200, 120, 28));
    action("FUNC_MACRO_CLEAR", QRect(410, 232, 120, 28));
    action("FUNC_MACRO_UP_TOP", QRect(410, 268, 58, 28));
    action("FUNC_MACRO_UP", QRect(472, 268, 58, 28));
    action("FUNC_MACRO_DOWN", QRect(410, 300, 58, 28));
    action("FUNC_MACRO_DOWN_BOTTOM", QRect(472, 300, 58, 28));
    pageControl(kPageMacro, "FUNC_MACRO_RECORD_DELAY", QRect(410, 340, 18, 18));
    pageControl(kPageMacro, "FUNC_MACRO_RECORD_DELAY2", QRect(432, 336, 100, 40));
    // Media and function pages: a heading and a list.
    pageControl(kPageMedia, "MEDIA_SETTING_TISHI", QRect(40, 146, 400, 20));
    pageControl(kPageMedia, "FUNC_MEDIA_SELECT", QRect(40, 172, 320, 32));
    pageControl(kPageFunction, "FUNCTION_KEY_SETTING_TISHI", QRect(40, 146, 400, 20));
    pageControl(kPageFunction, "FUNC_FUNCTION_SELECT", QRect(40, 172, 320, 32));
    for (int page : {kPageMedia, kPageFunction}) {
        layout.decor.emplace_back(
            Decor::Kind::Notch, QRect(40, 224, 480, 144),
            page == kPageMedia ? QStringLiteral("\u266B") : QStringLiteral("\u2699"), 12, false, 0,
            page);
    }
    // Command bar: the count of the macro page on the left (its label is always shown), then
    // Apply, OK and Cancel.
    layout.controls.push_back(Make("FUNC_MACRO_CYCLES_PROMPT", QRect(24, 410, 96, 20), Look::None));
    pageControl(kPageMacro, "FUNC_MACRO_CYCLES", QRect(124, 405, 64, 30));
    Control apply = Make("CONTROL2_APPLY", QRect(282, 402, 82, 36), Look::Body);
    layout.controls.push_back(apply);
    layout.controls.push_back(Make("CONTROL_OK", QRect(370, 402, 84, 36), Look::AccentBody));
    layout.controls.push_back(Make("CONTROL_CANCEL", QRect(460, 402, 84, 36), Look::Body));
    return layout;
}

}  // namespace qx::skingen
