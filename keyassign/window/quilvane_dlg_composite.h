// Quilvane_DlgComposite: the key assignment window. It edits the assignment of one key of the
// current onboard profile on four pages: single key (another key or a mouse action), macro (the
// macro editor and recorder), multimedia and keyboard function. OK and Apply write the choice into
// the key's entry and install the edited macros; Cancel discards everything since the last apply.
//
// One window exists for the whole run; the main window makes it once its start-up is over
// (Prepare decodes the skin sheets then) and shows it modally with OpenForKey for each click on a
// key. One file per concern: quilvane_dlg_composite.cpp (opening, pages, apply, closing),
// composite_controls.cpp (the controls and their places), composite_texts.cpp (language, fonts,
// colours), composite_keys.cpp (the keyboard filters: Enter and Escape, the single-key capture).
#pragma once

#include <QFont>
#include <QString>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "keyassign/edit_observer.h"
#include "keyassign/key_location.h"
#include "keyassign/macro_editor.h"
#include "keyassign/window/composite_host.h"
#include "keyassign/window/composite_ids.h"
#include "keyassign/window/composite_sheets.h"
#include "keyassign/window/macro_page/macro_page.h"
#include "keyboard/key_code.h"
#include "skin/base_dialog.h"

class QCheckBox;
class QTimer;
class QComboBox;
class QLabel;
class QLineEdit;

namespace qx::skin {
class CPngButton;
}

namespace qx::keyassign::window {

class Quilvane_DlgComposite final : public skin::CBaseDialog, private EditObserver {
    Q_OBJECT

  public:
    // `iniPath` is "Skins/Composite.ini" of the run-time folder, `skinFolder` its folder.
    Quilvane_DlgComposite(std::string iniPath, std::string skinFolder, CompositeHost host,
                          QWidget* parent = nullptr);
    ~Quilvane_DlgComposite() override;
    Quilvane_DlgComposite(const Quilvane_DlgComposite&) = delete;
    Quilvane_DlgComposite& operator=(const Quilvane_DlgComposite&) = delete;

    // Once, after the main window has started: the skin sheets are decoded on a background
    // thread and the controls are styled, so that the first opening costs what a later one does.
    void Prepare();

    // Opens the window modally for the key or G-key button `controlId` (1143 from the macro
    // command: macro editing alone). -1 when the id names no key; otherwise the dialog's result.
    int OpenForKey(int controlId);
    // Cancel when the window is open; always 1.
    int CloseIfOpen();
    // Shows the page of the current kind; `fromEntry` at opening, from the key's entry.
    void ShowPage(bool fromEntry);
    // Apply (also OK's first step): the macro list becomes the macro area, the choice is written
    // into the key's entry, the key buttons show it, pending changes are set.
    void ApplyKeyAssignment();
    // The language message: captions, tooltips, labels and text styles in that language.
    void ApplyLanguage(int languageIndex);
    // The window's commands by control id (buttons, check boxes).
    void OnCommand(int controlId);

    // ---- State (the main window, tests) --------------------------------------------------------
    [[nodiscard]] bool IsOpen() const { return openCount_ > 0; }
    [[nodiscard]] bool IsMacroOnly() const { return macroOnly_; }
    [[nodiscard]] bool IsModified() const { return modified_; }
    [[nodiscard]] uint16_t Kind() const { return kind_; }
    [[nodiscard]] Page CurrentPage() const;
    [[nodiscard]] keyboard::KeyCode CapturedKey() const { return capturedKey_; }
    [[nodiscard]] int EntryIndex() const { return entryIndex_; }
    [[nodiscard]] int OpenedBy() const { return controlId_; }
    [[nodiscard]] bool KeyboardChoice() const;
    [[nodiscard]] QWidget* Control(int controlId) const;
    [[nodiscard]] skin::CPngButton* Button(int controlId) const;
    [[nodiscard]] const CompositeSheets& Sheets() const { return sheets_; }
    // The sheets are made and the window was drawn once in advance.
    [[nodiscard]] bool IsWarmedUp() const { return warmedUp_; }
    [[nodiscard]] MacroEditor& Editor() { return editor_; }
    [[nodiscard]] MacroPage& MacroPageOf() { return *page_; }

  protected:
    void OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    // The pre-filter (Enter and Escape never close the window, F1 opens help) and, on the
    // single-key page, the key capture. A recording filters the keys before it (the macro page's
    // own filter).
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // ---- controls (composite_controls.cpp)
    void CreateControls();
    skin::CPngButton* AddButton(int controlId);
    QLabel* AddLabel(int controlId);
    QComboBox* AddList(int controlId);
    void ConnectControls();
    void PlaceControls();
    void FillLists();
    void ShowPageControls(Page page);
    void MarkPageButton(Page page);
    void OnMaskDrawn();
    void FocusPageControl();

    // ---- texts, fonts, colours (composite_texts.cpp)
    void MakeFonts();
    void ApplyFonts();
    void ApplyLabelFonts();
    void ApplyLabelColours();
    void ApplyTextStyles();
    void SetStaticTooltips();

    // ---- keyboard filters (composite_keys.cpp)
    bool FilterKeyEvent(QObject* watched, QEvent& event);
    void TakeCapturedKey(keyboard::KeyCode key);
    void SetCaptureActive(bool active);

    // ---- the first drawing made in advance (quilvane_dlg_composite.cpp)
    void WarmUpWhenSheetsAreMade();
    void WarmUp();
    void InitialiseControls();

    // ---- pages and choices (quilvane_dlg_composite.cpp)
    void InitialiseOpening();
    void ReadEntry();
    void EnterMacroOnlyMode();
    void PlaceWindow();
    void ShowSingleKeyPage(bool fromEntry);
    void MakeKeyboardChoice();
    void MakeMouseChoice();
    void OnPageButton(int controlId);
    void OnClear();
    void OnOnScreenKeyboard();
    void RunClosingSteps();
    void SetModified(bool modified);
    [[nodiscard]] std::string Text(std::string_view key) const;

    // ---- EditObserver: the macro editor's reports
    void MarkModified() override;
    void SetPendingChanges() override;

    CompositeHost host_;
    CompositeSheets sheets_;
    MacroEditor editor_;
    std::unique_ptr<MacroPage> page_;

    std::map<int, QWidget*> controls_;
    std::map<int, skin::CPngButton*> buttons_;
    QLineEdit* keyBox_ = nullptr;
    QCheckBox* keyboardChoice_ = nullptr;
    QCheckBox* mouseChoice_ = nullptr;
    QComboBox* mouseList_ = nullptr;
    QComboBox* mediaList_ = nullptr;
    QComboBox* functionList_ = nullptr;
    // The five fonts are made once, at the first opening, for the screen the window is on; the
    // page labels' font with them.
    struct Fonts {
        QFont keyBox;     // 18 points: the captured key's name
        QFont lists;      // 12 points: multimedia and mouse lists
        QFont functions;  // 12 points: function list
        QFont selector;   // 12 points: macro selector
        QFont actions;    // 8 points: action list
        QFont labels;     // 10.8 points: the page labels
    };
    std::unique_ptr<Fonts> fonts_;

    int openCount_ = 0;
    int entryIndex_ = 0;
    int controlId_ = 0;
    bool macroOnly_ = false;
    BlockSelection selection_;
    uint16_t kind_ = 0;
    keyboard::KeyCode capturedKey_ = keyboard::kNoKey;
    uint32_t storedValue_ = 0;
    uint16_t storedParameter_ = 0;
    bool firstMacroPage_ = true;
    bool sheetsChecked_ = false;
    bool modified_ = false;
    bool captureActive_ = false;
    bool filterInstalled_ = false;
    QTimer* focusTimer_ = nullptr;  // the focus moves once the mask's drawing is over
    QTimer* warmUpTimer_ = nullptr;
    bool warmedUp_ = false;
    int languageIndex_ = 0;
    bool textsShown_ = false;  // ApplyLanguage ran for languageIndex_ and textsMacroOnly_
    bool textsMacroOnly_ = false;
    int listsLanguage_ = -1;  // the language the lists' names were made in
};

}  // namespace qx::keyassign::window
