#include "render_preview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <functional>
#include <map>
#include <memory>

#include "keyboard/key_buttons.h"
#include "profiles/manager/profile_manager_ids.h"
#include "skin/base_dialog.h"
#include "skin/font_faces.h"
#include "skin/placement.h"
#include "skin/png_button.h"
#include "skin/report_ctrl.h"
#include "skin/skin_files.h"
#include "skin/skin_font.h"
#include "skin/skin_keys.h"
#include "skin/skin_palette.h"

namespace qx::skingen {
namespace {

using skin::CPngButton;
using skin::SheetSet;
using skin::SkinSheet;
namespace f = skin::files;
namespace pm = profiles::manager;

constexpr skin::ColorRef kWhite = 0xFFFFFF;
constexpr skin::ColorRef kGrey = 0x7F7F7F;

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

// A skinned window under construction: the dialog, its sheets and its controls by key.
class Preview {
  public:
    Preview(const std::string& folder, std::string_view ini)
        : folder_(folder), dialog_(0, nullptr, folder + std::string(ini), folder) {
        dialog_.setStyleSheet(skin::palette::PlainWidgetStyleSheet());
        dialog_.EnsureInitialised();
    }

    const SkinSheet* Sheet(std::string_view file) {
        auto& sheet = sheets_[std::string(file)];
        if (!sheet) {
            sheet = std::make_unique<SkinSheet>(
                skin::BuildSkinSheetFromFile(Q(folder_) + Q(file), dialog_.size()));
        }
        return sheet.get();
    }

    SheetSet Set(const f::StateSheetFiles& files, std::string_view marked) {
        return SheetSet{Sheet(files.normal), Sheet(files.over), Sheet(files.down),
                        Sheet(files.disable), Sheet(marked)};
    }

    CPngButton& Button(const std::string& key, const SheetSet& sheets) {
        auto* button = new CPngButton(&dialog_);
        skin::PlaceImageButton(*button, Ini(), key, sheets);
        buttons_[key] = button;
        return *button;
    }

    void Caption(CPngButton& button, const QString& text, int points = 10) {
        button.setText(text);
        button.SetTextStyle(true, points, Q(skin::kFaceArialUnicode), kWhite, kWhite, kWhite, kGrey,
                            kWhite);
    }

    template <typename Widget>
    Widget& Place(const std::string& key, Widget* widget) {
        skin::PlaceControl(*widget, Ini(), key);
        return *widget;
    }

    QLabel& Label(const std::string& key, const QString& text, double points = 9) {
        auto* label = new QLabel(text, &dialog_);
        label->setFont(skin::MakeSkinFont(skin::kFaceArialUnicode, points, dialog_.logicalDpiY()));
        return Place(key, label);
    }

    QLabel& Picture(const std::string& key, std::string_view file) {
        auto* label = new QLabel(&dialog_);
        label->setPixmap(QPixmap(Q(folder_) + Q(file)));
        return Place(key, label);
    }

    QComboBox& Combo(const std::string& key, const QStringList& items, double points = 9) {
        auto* combo = new QComboBox(&dialog_);
        combo->addItems(items);
        combo->setFont(skin::MakeSkinFont(skin::kFaceArialUnicode, points, dialog_.logicalDpiY()));
        return Place(key, combo);
    }

    CPngButton& operator[](const std::string& key) { return *buttons_.at(key); }
    skin::CBaseDialog& Dialog() { return dialog_; }
    const std::string& Ini() const { return dialog_.IniPath(); }

    // The window as it appears: transparent where the mask cuts it away.
    bool Save(const std::string& path) {
        dialog_.resize(dialog_.size());
        QImage image(dialog_.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setClipRegion(dialog_.mask().isEmpty() ? QRegion(dialog_.rect()) : dialog_.mask());
        dialog_.render(&painter);
        painter.end();
        return image.save(QString::fromStdString(path), "PNG");
    }

  private:
    std::string folder_;
    skin::CBaseDialog dialog_;
    std::map<std::string, std::unique_ptr<SkinSheet>> sheets_;
    std::map<std::string, CPngButton*> buttons_;
};

// The main window as its layout code places it; `perKey` shows the per-key lighting mode with the
// keyboard view framed from a layer, otherwise a wave mode with a few keys assigned.
bool RenderMain(const std::string& folder, const std::string& path, bool perKey) {
    Preview w(folder, f::kMainIni);
    const f::StateSheetFiles& m = f::kMainSheets;
    const SheetSet keySheets{w.Sheet(m.normal), w.Sheet(m.over), w.Sheet(m.down), w.Sheet(m.normal),
                             w.Sheet(m.disable)};
    const SheetSet plain{w.Sheet(m.normal), w.Sheet(m.over), w.Sheet(m.down), w.Sheet(m.normal),
                         w.Sheet(m.normal)};
    const SheetSet link{w.Sheet(m.normal), w.Sheet(m.over), w.Sheet(m.disable), w.Sheet(m.normal),
                        w.Sheet(m.normal)};
    const SheetSet led{w.Sheet(m.normal), w.Sheet(m.normal), w.Sheet(m.normal), w.Sheet(m.normal),
                       w.Sheet(m.over)};
    std::vector<CPngButton*> view;
    for (int n = 1; n <= keyboard::kGKeyButtonCount; ++n) {
        view.push_back(&w.Button(skin::GKeySkinKey(n), keySheets));
    }
    for (const keyboard::KeyButton& key : keyboard::KeyButtons()) {
        view.push_back(
            &w.Button(skin::KeyButtonSkinKey(keyboard::KeyIndexOfCode(key.keyCode)), keySheets));
    }
    view.push_back(&w.Button("KEY_FN", keySheets));
    for (const char* key : {"KORVEL_LINK", "FACEBOOK_LINK", "TWITTER_LINK"}) {
        w.Button(key, link);
    }
    for (const char* key : {"FUNC_PROFILES", "FUNC_MACRO", "CONTROL_OK", "CONTROL_CANCEL",
                            "CONTROL_HELP", "CONTROL_CLOSE", "CONTROL_MINIMIZE", "CONTROL_MENU"}) {
        w.Button(key, plain);
    }
    w.Button("CONTROL2_APPLY", SheetSet{w.Sheet(m.normal), w.Sheet(m.over), w.Sheet(m.down),
                                        w.Sheet(m.disable), w.Sheet(m.normal)})
        .setEnabled(false);
    for (const char* key : {"LOCK_CAPS", "LOCK_NUM", "LOCK_SCROLL", "LOCK_AB"}) {
        w.Button(key, led);
    }
    w.Button("FLIP_0", SheetSet{w.Sheet(m.normal), w.Sheet(m.normal), w.Sheet(m.normal),
                                w.Sheet(m.normal), w.Sheet(m.disable)});
    for (const char* key :
         {"FLIP_1", "FLIP_2", "FUNC_PROFILE1", "FUNC_PROFILE2", "FUNC_PROFILE3", "FUNC_DEFAULT",
          "FUNC_REPORT1", "FUNC_REPORT2", "FUNC_REPORT3", "FUNC_REPORT4"}) {
        w.Button(key, keySheets);
    }
    auto& version =
        w.Button("KORVEL_VER", SheetSet{w.Sheet(m.normal), w.Sheet(m.normal), w.Sheet(m.normal),
                                        w.Sheet(m.normal), w.Sheet(m.normal)});
    version.setEnabled(false);
    const SkinSheet* arrows = w.Sheet(f::kMainArrowSheet);
    for (const auto& [key, point] : {std::pair{"LEFT_ARROW", skin::kArrowDownLeft},
                                     std::pair{"RIGHT_ARROW", skin::kArrowDownRight}}) {
        auto* arrow = new CPngButton(&w.Dialog());
        skin::PlaceArrowButton(*arrow, w.Ini(), key, skin::ArrowSheetKey(point, 1), arrows);
    }
    w.Caption(w["FUNC_PROFILES"], QStringLiteral("$Profile0"));
    const std::array<std::pair<const char*, const char*>, 8> captions{
        {{"FUNC_PROFILE1", "Profile 1"},
         {"FUNC_PROFILE2", "Profile 2"},
         {"FUNC_PROFILE3", "Profile 3"},
         {"FUNC_MACRO", "Macro"},
         {"FUNC_DEFAULT", "Default"},
         {"CONTROL_OK", "OK"},
         {"CONTROL_CANCEL", "Cancel"},
         {"CONTROL2_APPLY", "Apply"}}};
    for (const auto& [key, text] : captions) {
        w.Caption(w[key], QString::fromUtf8(text));
    }
    w["FUNC_PROFILE1"].SetMarked(true);
    w["FUNC_REPORT4"].SetMarked(true);
    w["LOCK_NUM"].SetMarked(true);
    // Lighting panel.
    w.Picture("CONTROL_DengStaPic", f::kLampOn);
    w.Label("CONTROL_DengStatic", QStringLiteral("Lighting"));
    w.Combo("CONTROL_XGcombox",
            {perKey ? QStringLiteral("Custom per key") : QStringLiteral("Wave")});
    w.Label("CONTROL_LightStatic", QStringLiteral("Brightness"));
    w.Picture("CONTROL_LightSlider", "3.bmp");
    w.Label("CONTROL_UsbStatic", QStringLiteral("Report rate (Hz)"), 8);
    if (perKey) {
        w.Label("CONTROL_USERgjStatic", QStringLiteral("Tool / layer"));
        w.Picture("CONTROL_USERgjStaPic1", f::kPaintPressed);
        w.Picture("CONTROL_USERgjStaPic2", f::kEraseReleased);
        w.Combo("CONTROL_umCombo", {QStringLiteral("Layer 1")});
        w.Picture("CONTROL_HXsjsStaPic", f::kCheckOff);
        w.Label("CONTROL_HXsjsStatic", QStringLiteral("All off"));
        w.Picture("CONTROL_LEDsjsStaPic", f::kCheckOff);
        w.Label("CONTROL_LEDsjsStatic", QStringLiteral("All on"));
        // The keyboard view shows the layer: white frames on lit keys, black on the others.
        const std::vector<std::string> lit{"KEY_011", "KEY_01E", "KEY_01F", "KEY_020", "KEY_001",
                                           "KEY_02A", "KEY_039", "KEY_012", "KEY_013"};
        for (CPngButton* button : view) {
            button->SetFrameMode(0, 50, true);
        }
        for (const std::string& key : lit) {
            w[key].SetFrameMode(kWhite, 50, true);
        }
    } else {
        w.Label("CONTROL_SpeedStatic", QStringLiteral("Speed"));
        w.Picture("CONTROL_SpeedSlider", "7.bmp");
        w.Label("CONTROL_BLFXStatic", QStringLiteral("Direction"));
        w.Picture("CONTROL_BLFXLStaPic", f::kLeftReleased);
        w.Picture("CONTROL_BLFXRStaPic", f::kRightPressed);
        for (const char* key : {"KEY_011", "KEY_01E", "KEY_01F", "KEY_020", "FUNC_G1", "FUNC_G2",
                                "FUNC_G3", "KEY_039"}) {
            w[key].SetMarked(true);
        }
        // The key just clicked keeps its highlight while its assignment window is open.
        w["KEY_013"].SetSheetsOnly(SheetSet{w.Sheet(m.over), w.Sheet(m.over), w.Sheet(m.down),
                                            w.Sheet(m.normal), w.Sheet(m.over)});
    }
    return w.Save(path);
}

bool RenderComposite(const std::string& folder, const std::string& path, int page) {
    Preview w(folder, f::kCompositeIni);
    const auto set = [&w](const f::StateSheetFiles& files) { return w.Set(files, files.down); };
    const SheetSet key = set(f::kKeySheets);
    const SheetSet macro = set(f::kMacroSheets);
    const SheetSet pageSet = page == skin::kPageMacro ? macro : key;
    auto& mask = w.Button("CONTROL_MASK", SheetSet{pageSet.normal, pageSet.over, pageSet.down,
                                                   pageSet.disable, pageSet.normal});
    mask.lower();
    for (const char* name : {"CONTROL_TITLE", "CONTROL_OSK", "CONTROL_CLEAR", "CONTROL_OK",
                             "CONTROL_CANCEL", "CONTROL2_APPLY"}) {
        w.Button(name, key);
    }
    const std::array<std::pair<const char*, const char*>, 4> tabs{
        {{"CONTROL_KEY", "Single key"},
         {"CONTROL_MACRO", "Macro"},
         {"CONTROL_MEDIA", "Multimedia"},
         {"CONTROL_FUNCTION", "Function"}}};
    for (const auto& [name, text] : tabs) {
        w.Caption(w.Button(name, key), QString::fromUtf8(text), 9);
    }
    w[page == skin::kPageMacro ? "CONTROL_MACRO" : "CONTROL_KEY"].SetMarked(true);
    w.Caption(w["CONTROL_OK"], QStringLiteral("OK"), 9);
    w.Caption(w["CONTROL_CANCEL"], QStringLiteral("Cancel"), 9);
    w.Caption(w["CONTROL2_APPLY"], QStringLiteral("Apply"), 9);
    w["CONTROL2_APPLY"].setEnabled(false);
    w.Label("KEY_SETTING", QStringLiteral("Choose what the key does"), 10.8);
    w.Label("FUNC_MACRO_CYCLES_PROMPT", QStringLiteral("Repeat"));
    if (page == skin::kPageMacro) {
        w.Label("MARCO_NAME_SETTING", QStringLiteral("Macro"), 10.8);
        auto& selector = w.Combo("FUNC_MACRO_LIST", {QStringLiteral("Reload combo")}, 12);
        selector.setEditable(true);
        w.Button("FUNC_MACRO_ADD", macro);
        w.Button("FUNC_MACRO_DELETE", macro);
        auto& list = w.Place("FUNC_MACRO_LIST2", new skin::CReportCtrl(&w.Dialog()));
        list.setFont(skin::MakeSkinFont(skin::kFaceArialUnicode, 8, w.Dialog().logicalDpiY()));
        list.InsertColumn(0, QStringLiteral("Key"), skin::kColumnLeft, 110);
        list.InsertColumn(1, QStringLiteral("Action"), skin::kColumnLeft, 110);
        list.InsertColumn(2, QStringLiteral("Delay (ms)"), skin::kColumnLeft, 110);
        list.SetGridLines(true);
        const std::array<std::array<const char*, 3>, 6> rows{{{"R", "\u2193", "10"},
                                                              {"R", "\u2191", "30"},
                                                              {"Left Button", "\u2193", "10"},
                                                              {"Left Button", "\u2191", "120"},
                                                              {"Space", "\u2193", "10"},
                                                              {"Space", "\u2191", "50"}}};
        for (const auto& row : rows) {
            const int at = list.InsertRow(list.rowCount(), QString::fromUtf8(row[0]));
            list.SetCellText(at, 1, QString::fromUtf8(row[1]));
            list.SetCellText(at, 2, QString::fromUtf8(row[2]));
        }
        list.SetCellBackColour(-1, 0, 0x201A15, false);
        list.SetCellBackColour(-1, 1, 0x201A15, false);
        list.SetRowStates(2, skin::kRowSelected | skin::kRowFocused);
        const std::array<std::pair<const char*, const char*>, 7> actions{
            {{"FUNC_MACRO_RECORD", "Record"},
             {"FUNC_MACRO_DELETE2", "Delete"},
             {"FUNC_MACRO_CLEAR", "Clear"},
             {"FUNC_MACRO_UP_TOP", "Top"},
             {"FUNC_MACRO_UP", "Up"},
             {"FUNC_MACRO_DOWN", "Down"},
             {"FUNC_MACRO_DOWN_BOTTOM", "Bottom"}}};
        for (const auto& [name, text] : actions) {
            w.Caption(w.Button(name, macro), QString::fromUtf8(text),
                      std::string_view(name) == "FUNC_MACRO_RECORD" ? 8 : 9);
        }
        auto& delay = w.Place("FUNC_MACRO_RECORD_DELAY", new QCheckBox(&w.Dialog()));
        delay.setChecked(true);
        w.Label("FUNC_MACRO_RECORD_DELAY2", QStringLiteral("Record the\ndelays"));
        auto& count = w.Place("FUNC_MACRO_CYCLES", new QLineEdit(QStringLiteral("1"), &w.Dialog()));
        count.setAlignment(Qt::AlignCenter);
    } else {
        w.Label("TISHI_SINGLE_STATIC", QStringLiteral("Press the key to assign"), 10.8);
        auto& input =
            w.Place("FUNC_KEY_INPUT", new QLineEdit(QStringLiteral("Left Ctrl"), &w.Dialog()));
        input.setReadOnly(true);
        input.setAlignment(Qt::AlignCenter);
        input.setFont(skin::MakeSkinFont(skin::kFaceArialUnicode, 18, w.Dialog().logicalDpiY()));
        input.setStyleSheet(QStringLiteral("QLineEdit { border: none; background: transparent; }"));
        auto& keyboardChoice = w.Place("FUNC_KEY_RADIO_KB", new QCheckBox(&w.Dialog()));
        keyboardChoice.setChecked(true);
        w.Place("FUNC_KEY_RADIO_MOU", new QCheckBox(&w.Dialog()));
        w.Label("FUNC_KEY_RADIO_KB_STATIC", QStringLiteral("Keyboard key"), 10.8);
        w.Label("FUNC_KEY_RADIO_MOU_STATIC", QStringLiteral("Mouse button"), 10.8);
    }
    return w.Save(path);
}

bool RenderProfile(const std::string& folder, const std::string& path) {
    Preview w(folder, f::kProfileIni);
    const SheetSet sheets = w.Set(f::kProfileSheets, f::kProfileSheets.normal);
    for (const char* name : {"CONTROL_OK", "CONTROL_CANCEL", "FUNC_ADD", "FUNC_LOAD", "FUNC_DELETE",
                             "CONTROL2_APPLY"}) {
        w.Button(name, sheets);
    }
    w["CONTROL2_APPLY"].setEnabled(false);
    auto& list = w.Place("PROGRAM_LIST", new skin::CReportCtrl(&w.Dialog()));
    list.setFont(skin::MakeSkinFont(skin::kFaceArialUnicode, 9, w.Dialog().logicalDpiY()));
    for (std::size_t c = 0; c < pm::kProfileColumns.size(); ++c) {
        const std::string_view heading = pm::kProfileColumns[c].heading;
        list.InsertColumn(static_cast<int>(c),
                          QString::fromUtf8(heading.data(), static_cast<qsizetype>(heading.size())),
                          skin::kColumnLeft, pm::kProfileColumns[c].width);
    }
    list.SetGridLines(true);
    list.setTextElideMode(Qt::ElideMiddle);
    list.SetCheckboxStyle(skin::kCheckboxSingle);
    list.SetHeaderButtons(false);
    for (int i = 0; i < 3; ++i) {
        list.InsertRow(i, QString());
        list.SetCellText(i, 1, QStringLiteral("$Profile0"));
        list.SetCellText(i, 2, QStringLiteral("/home/user/.local/share/Varkon QX480 Driver/"));
    }
    list.SetRowStates(0, skin::kRowChecked);
    list.SetRowStates(1, skin::kRowSelected | skin::kRowFocused);
    return w.Save(path);
}

bool RenderUpdate(const std::string& folder, const std::string& path) {
    Preview w(folder, f::kUpdateIni);
    const SheetSet sheets = w.Set(f::kUpdateSheets, f::kUpdateSheets.over);
    for (const char* name :
         {"CONTROL_OPENButton", "CONTROL_BACKUPButton", "CONTROL_UPButton", "CONTROL_CUPButton"}) {
        w.Button(name, sheets);
    }
    w.Label("CONTROL_UPStatic", QStringLiteral("/opt/qx480/Package/QX480_Update_v1.2"));
    w.Place("CONTROL_UPCombox", new QComboBox(&w.Dialog())).hide();
    return w.Save(path);
}

}  // namespace

std::vector<std::string> RenderPreviews(const std::string& skinFolder,
                                        const std::string& outFolder) {
    std::vector<std::string> problems;
    const std::array<std::pair<const char*, std::function<bool(const std::string&)>>, 6> renders{{
        {"main.png", [&](const std::string& p) { return RenderMain(skinFolder, p, false); }},
        {"main_per_key_lighting.png",
         [&](const std::string& p) { return RenderMain(skinFolder, p, true); }},
        {"composite_single_key.png",
         [&](const std::string& p) {
             return RenderComposite(skinFolder, p, skin::kPageSingleKey);
         }},
        {"composite_macro.png",
         [&](const std::string& p) { return RenderComposite(skinFolder, p, skin::kPageMacro); }},
        {"profile.png", [&](const std::string& p) { return RenderProfile(skinFolder, p); }},
        {"update.png", [&](const std::string& p) { return RenderUpdate(skinFolder, p); }},
    }};
    for (const auto& [name, render] : renders) {
        if (!render(outFolder + name)) {
            problems.push_back("cannot render " + outFolder + name);
        }
    }
    return problems;
}

}  // namespace qx::skingen
