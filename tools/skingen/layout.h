// The description of a skinned window: its size, its painted decoration and its controls with
// their places and looks. One description per window is the source of everything the generator
// writes for it: the INI file, the background, the mask and every state picture.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <string>
#include <utility>
#include <vector>

namespace qx::skingen {

// How a control is painted into the pictures.
enum class Look {
    None,         // drawn by its own widget (labels, edits, lists, combo boxes, bitmaps)
    KeyCap,       // a key of the keyboard view
    GKey,         // a G key
    Body,         // a button whose caption the window draws
    AccentBody,   // the same, the window's primary action
    Segment,      // one of a group where one is chosen (profiles, report rates)
    IconButton,   // a small round-cornered icon button (title bars)
    LabelButton,  // a button with its caption and icon in the picture
    Indicator,    // a lock LED with its name
    FlipBadge,    // the flip indicator
    FlipButton,   // the flip toggles
    Version,      // the version text
    Title,        // the composite dialog's title picture
};

// What a control shows in one picture.
enum class Appearance { Normal, Hover, Pressed, Accent, Disabled, Lit };

enum class Icon {
    None,
    Close,
    Minimize,
    Menu,
    Help,
    Globe,
    Chat,
    Share,
    Plus,
    Minus,
    Keyboard,
    Eraser,
    Folder,
    FolderOpen,
    Trash,
    Check,
    Cross,
    Download,
    Save,
    Chip,
    Swap,
};

// The four state pictures of a sheet set, in this order.
enum SheetState { kNormalSheet = 0, kOverSheet = 1, kDownSheet = 2, kDisableSheet = 3 };
using AppearanceBySheet = std::array<Appearance, 4>;

inline constexpr AppearanceBySheet kPlainButton{Appearance::Normal, Appearance::Hover,
                                                Appearance::Pressed, Appearance::Normal};
inline constexpr AppearanceBySheet kMarkableButton{Appearance::Normal, Appearance::Hover,
                                                   Appearance::Pressed, Appearance::Accent};
inline constexpr AppearanceBySheet kDisablableButton{Appearance::Normal, Appearance::Hover,
                                                     Appearance::Pressed, Appearance::Disabled};
inline constexpr AppearanceBySheet kAlwaysNormal{Appearance::Normal, Appearance::Normal,
                                                 Appearance::Normal, Appearance::Normal};

struct Control {
    std::string key;  // "BUTTONINFO" key
    QRect rect;
    Look look = Look::None;
    QString label;     // legend or caption painted into the pictures
    QString subLabel;  // a second, smaller legend
    Icon icon = Icon::None;
    AppearanceBySheet bySheet = kPlainButton;
    // The composite dialog's "macro2" pictures (macro-only mode) may show a control differently.
    AppearanceBySheet byAltSheet = kPlainButton;
    int page = 0;  // 0: every page; otherwise drawn only into pictures of that page
};

// Painted decoration under the controls.
struct Decor {
    enum class Kind { Panel, Plate, TitleBar, Separator, Text, Logo, Well, Notch };

    Decor(Kind kindOf, QRect place, QString caption = {}, int size = 12, bool isBold = false,
          int alignment = 0, int onPage = 0)
        : kind(kindOf),
          rect(place),
          text(std::move(caption)),
          pixelSize(size),
          bold(isBold),
          align(alignment),
          page(onPage) {}

    Kind kind;
    QRect rect;
    QString text;
    int pixelSize = 12;
    bool bold = false;
    int align = 0;  // Qt::Alignment for texts
    int page = 0;   // 0: every page
    bool dim = false;
};

struct WindowLayout {
    std::string name;  // picture name stem: "main", "profile", ...
    QSize size;
    int cornerRadius = 14;
    std::vector<Decor> decor;
    std::vector<Control> controls;
    std::vector<std::pair<std::string, QPoint>> sheetPoints;  // "BUTTONINFO2"
    std::vector<std::pair<std::string, std::string>> screen;  // "SCREEN"

    [[nodiscard]] const Control* Find(const std::string& key) const;
};

// Placeholder targets of the main window's link buttons.
inline constexpr const char* kDefaultWebLink = "https://www.example.com/qx480";
inline constexpr const char* kDefaultFacebookLink = "https://www.example.com/qx480/community";
inline constexpr const char* kDefaultTwitterLink = "https://www.example.com/qx480/news";

WindowLayout MainLayout(const QString& version);
WindowLayout ProfileLayout();
WindowLayout UpdateLayout();
WindowLayout CompositeLayout();

}  // namespace qx::skingen
