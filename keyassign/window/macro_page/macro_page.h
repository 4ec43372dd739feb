// The macro page of the key assignment window as one component: the macro selector with its add
// and delete buttons, the action list, the count box, the seven action buttons and the
// record-delay check box, all views over the program's one MacroEditor, plus macro recording
// (MacroRecorder) with its keyboard filter.
//
// The window creates the page once, with itself as parent, and calls it through its life:
//
//   page_ = std::make_unique<MacroPage>(*this, skin.compositeIniPath, editor, *this);
//   page_->Place(macroSheets);            // each opening, with the image buttons and placements
//   page_->Open();                        // each opening: record delay, count box, macro list
//   page_->Show() / Hide()                // on each page change (Hide stops a recording)
//   page_->PrepareApply();                // before ApplyKeyAssignment (Apply and OK)
//   page_->Close();                       // the closing steps (OK, Cancel, CloseIfOpen)
//
// The page is the editor's observer while it lives: it redraws the selector, the list, the count
// box and the buttons from what the editor reports, and hands MarkModified and SetPendingChanges
// on to the window's observer. Its controls are children of the window; 1130, the count box's
// label, is the window's own (it shows on every page).
//
// While a recording runs the page filters the application's key events itself (an application
// event filter installed at the start and removed at the stop, so it sees every key typed into the
// window before any widget or the window's own pre-filter does): Escape, Enter and F1 are
// recorded and never close the window or open help. A window pre-filter that sees an event first
// may hand it to FilterKeyEvent; an event is recorded once, since a recorded event is swallowed.
//
// User-interface thread only.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "keyassign/edit_observer.h"
#include "keyassign/macro_editor.h"
#include "keyassign/macro_recorder.h"
#include "keyassign/window/composite_ids.h"
#include "keyboard/key_code.h"
#include "platform/keystroke.h"
#include "skin/skin_sheet.h"

class QCheckBox;
class QComboBox;
class QEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QWidget;

namespace qx::skin {
class CPngButton;
class CReportCtrl;
}  // namespace qx::skin

namespace qx::keyassign::window {

// The seven action buttons, in the order of the editor's action-button notifications.
inline constexpr std::array<int, 7> kActionButtonIds{
    kIdRecord,   kIdDeleteAction, kIdClearActions, kIdActionTop,
    kIdActionUp, kIdActionDown,   kIdActionBottom};

// How long a recording holds a key's release back, waiting for the press that would make the
// pair an automatic repeat; the release keeps the time it arrived.
inline constexpr int kHeldReleaseMs = 50;

class MacroPage final : public QObject, private EditObserver {
  public:
    // Makes every control of the page as a child of `dialog`, hidden; `compositeIni` is the
    // window's skin file ("Skins/Composite.ini"). The page becomes `editor`'s observer and hands
    // MarkModified and SetPendingChanges on to `window`. `clock` times recorded delays (tests give
    // their own; empty: the steady clock).
    MacroPage(QWidget& dialog, std::string compositeIni, MacroEditor& editor, EditObserver& window,
              MacroRecorder::Clock clock = {});
    ~MacroPage() override;
    MacroPage(const MacroPage&) = delete;
    MacroPage& operator=(const MacroPage&) = delete;

    // ---- Opening and closing (calls of the window)
    // ----------------------------------------------- Places the image buttons from the skin file
    // with the macro sheets (owned by the window) and the other controls.
    void Place(const skin::SheetSet& macroSheets);
    // Each opening: the record-delay setting is read, shown in 1027 and stored back; the count box
    // shows "1"; no recording runs; the macro list is loaded with nothing selected.
    void Open();
    // Before Apply and OK: an in-place edit of the action list is ended (its text accepted) and a
    // running recording is stopped.
    void PrepareApply();
    // The closing steps of the page: the recording stopped, an in-place edit dropped, the action
    // list and the macro list emptied.
    void Close();

    // ---- The page
    // -------------------------------------------------------------------------------- Shows or
    // hides the page's controls; hiding stops a running recording (a page change).
    void Show();
    void Hide();
    [[nodiscard]] bool IsShown() const { return shown_; }
    // The macro page opened from a key entry: the macro with that id (the low 16 bits of the
    // entry's value) is selected, the first one when none has it.
    void ShowMacroOfEntry(uint16_t macroId);
    // The first switch to the page for an entry without a macro: the first macro is selected.
    void SelectFirstMacro();
    // The page's controls, for the mask's draw callback to repaint while the page is shown.
    [[nodiscard]] std::vector<QWidget*> Controls() const;
    // A control of the page by id; null for an id that is not the page's.
    [[nodiscard]] QWidget* Control(int controlId) const;

    // ---- Language
    // -------------------------------------------------------------------------------- Captions and
    // tooltips of the seven action buttons with their text style, the labels 1200 and 1133, and the
    // action list's column headings, in the language of `languageIndex`.
    void ApplyLanguage(int languageIndex);

    // ---- Recording
    // -------------------------------------------------------------------------------
    [[nodiscard]] bool IsRecording() const;
    // The record button (1020).
    void ToggleRecording();
    // Stops a running recording: a page change, a delay edit, Apply, OK and close.
    void StopRecording();
    // The recording filter for one event of a widget of the window: true when the recording took
    // it (recorded, or swallowed as an automatic repeat), so nobody else may act on it. False
    // while no recording runs and for events it leaves alone (not a key, no key code, the
    // multimedia keys).
    bool FilterKeyEvent(QEvent& event);
    // The record-delay check box (1027) was clicked.
    void ToggleRecordDelay();

    // ---- The assignment
    // -------------------------------------------------------------------------- What
    // ApplyKeyAssignment reads for kind 4 (MacroEditor gives the same): the selected macro's id (0
    // when none is selected) and the count box's repeat count 1..255.
    [[nodiscard]] uint16_t SelectedMacroId() const;
    [[nodiscard]] int RepeatCount() const;

    // ---- The controls, for the window and tests
    // --------------------------------------------------
    [[nodiscard]] QComboBox& Selector() const;
    [[nodiscard]] skin::CReportCtrl& ActionList() const;
    [[nodiscard]] QLineEdit& CountBox() const;
    [[nodiscard]] QCheckBox& RecordDelayBox() const;
    [[nodiscard]] skin::CPngButton& Button(int controlId) const;
    [[nodiscard]] MacroRecorder& Recorder() { return recorder_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Widgets;

    // EditObserver: the editor's reports (macro_page_views.cpp).
    void MarkModified() override;
    void SetPendingChanges() override;
    void MacroListChanged() override;
    void ActionRowsReset() override;
    void ActionRowInserted(int row) override;
    void ActionRowRemoved(int row) override;
    void ActionRowMoved(int from, int to) override;
    void ActionRowChanged(int row) override;
    void ActionSelectionChanged(int row) override;
    void CountTextChanged(const std::string& text) override;
    void ActionButtonsEnabled(bool enabled) override;
    void RecordingChanged(bool recording) override;

    // The user's input (macro_page.cpp).
    void ConnectControls();
    void OnSelectorChosen(int index);
    void OnSelectorEdited(const QString& text);
    void OnListSelection();
    void OnCountEdited(const QString& text);
    void AfterMove();

    // The views (macro_page_views.cpp).
    void SyncSelector();
    void ShowRow(int row);
    void ShowRowTexts(int row);
    void ShowGreyCells(int row);
    void ShowRecordButton();
    void EnableMacroControls();

    // In-place edits of the action list (macro_page_cells.cpp).
    void SetUpActionList();
    bool BeginCellEdit(int row, int column, int& extraStyles);
    bool EndCellEdit();
    bool ValidateCellEdit(int row, int column, QString& text);
    void ShowCellPicker(int row, int column, const QStringList& items, int dropRows, int current);
    bool FilterCellPicker(QObject* watched, const QEvent& event);
    void RestartDelayEdit();

    // Installs or removes the application filter of a recording (macro_page_recording.cpp).
    void FilterKeys(bool on);
    bool FilterKeyPress(const QKeyEvent& key);
    bool FilterKeyRelease(const QKeyEvent& key);
    // Records the held-back release, if any, with the time it arrived.
    void FlushRelease();

    [[nodiscard]] QString Text(std::string_view key) const;

    QWidget& dialog_;
    std::string compositeIni_;
    MacroEditor& editor_;
    EditObserver& window_;
    MacroRecorder::Clock clock_;
    // The recorder's clock: `clock_`, or the arrival time of a release recorded late.
    std::optional<int64_t> clockOverride_;
    MacroRecorder recorder_;
    // A key held down on X11 may repeat as a release and a press at the same instant that Qt does
    // not flag as repeats. So a release is held back until the next key event or a short while
    // has passed; a press of the same key at the release's time makes both a repeat.
    struct HeldRelease {
        platform::Keystroke keystroke;
        keyboard::KeyCode code = keyboard::kNoKey;
        uint64_t timestamp = 0;
        int64_t arrivedMs = 0;
    };
    std::optional<HeldRelease> heldRelease_;
    QTimer releaseTimer_;
    // A delay edit that a recording's stop interrupted begins again from the event loop.
    QTimer editRestart_;
    int restartedEditRow_ = -1;
    // Keys recorded as pressed and not released: a press of one of them is a repeat.
    std::set<keyboard::KeyCode> keysDown_;
    std::unique_ptr<Widgets> widgets_;
    int languageIndex_ = 0;
    // The record button's caption while no recording runs: the language message's text, then
    // the stop's.
    std::string_view idleRecordKey_;
    bool shown_ = false;
    bool filtering_ = false;       // the application filter is installed
    bool renaming_ = false;        // the selector's edit text is the user's, mid-typing
    bool syncingRows_ = false;     // the list's selection is being set from the editor
    bool actionsEnabled_ = false;  // the editor's last word on the seven action buttons
};

}  // namespace qx::keyassign::window
