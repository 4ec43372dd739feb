// CReportCtrl: the list control of the program's dialogs (profile rows, macro actions). A
// report-style table with per-row bookkeeping: item-state queries by flag sets, check boxes with
// a single-check mode, per-cell colours, a per-row user pointer, moving rows, and editing a cell
// in place with owner hooks.
#pragma once

#include <QString>
#include <QTableWidget>
#include <functional>
#include <vector>

#include "skin/png_button_face.h"

class QLineEdit;

namespace qx::skin {

// Item-state flags, used both to ask (queries) and to set (orders).
inline constexpr int kRowAll = 0x01;
inline constexpr int kRowSelected = 0x02;
inline constexpr int kRowNotSelected = 0x04;
inline constexpr int kRowChecked = 0x08;
inline constexpr int kRowNotChecked = 0x10;
inline constexpr int kRowFocused = 0x20;
inline constexpr int kRowNotFocused = 0x40;

// Check-box styles.
inline constexpr int kCheckboxNone = 0;
inline constexpr int kCheckboxNormal = 1;
inline constexpr int kCheckboxSingle = 2;
inline constexpr int kCheckboxReadOnly = 3;

// Column formats of InsertColumn.
inline constexpr int kColumnLeft = 0;
inline constexpr int kColumnRight = 1;
inline constexpr int kColumnCenter = 2;

// The cell editor holds at most this many characters.
inline constexpr int kCellEditorMaxChars = 100;
// FindRowByText compares at most this many characters.
inline constexpr int kFindTextMaxChars = 259;
// The editor sits this much further right when the column shows an image.
inline constexpr int kEditorImageIndent = 16;
// An extra editor style a begin-edit hook may ask for: digits only.
inline constexpr int kEditorDigitsOnly = 0x2000;
// A colour of -1: the system's own (window background, window text).
inline constexpr ColorRef kSystemColour = 0xFFFFFFFFU;

class CReportCtrl : public QTableWidget {
    Q_OBJECT

  public:
    using CheckChangedHook = std::function<void(int row, CReportCtrl& list)>;
    // Returns false when the hook has taken the edit over (for example with a list of its own);
    // may add editor styles (kEditorDigitsOnly).
    using BeginEditHook =
        std::function<bool(CReportCtrl& list, int row, int column, int& extraEditorStyles)>;
    // Returns false to end the edit without the control's own acceptance.
    using EndEditHook = std::function<bool(CReportCtrl& list, int row, int column)>;
    // Returns false to keep the cell's old text; may change `text`.
    using ValidateEditHook =
        std::function<bool(CReportCtrl& list, int row, int column, QString& text)>;
    using SortHook = std::function<void(CReportCtrl& list, int column)>;

    explicit CReportCtrl(QWidget* parent = nullptr);
    ~CReportCtrl() override;
    CReportCtrl(const CReportCtrl&) = delete;
    CReportCtrl& operator=(const CReportCtrl&) = delete;

    // Columns and look.
    int InsertColumn(int index, const QString& heading, int format, int width, int subItem = -1);
    void SetGridLines(bool on);
    void SetCheckboxStyle(int style);
    [[nodiscard]] int CheckboxStyle() const { return checkboxStyle_; }
    void SetHeaderButtons(bool on);
    [[nodiscard]] bool IsSortable() const { return sortable_; }

    // Owner and hooks.
    void SetOwner(void* owner) { owner_ = owner; }
    [[nodiscard]] void* GetOwner() const { return owner_; }
    void SetClickGuard(int* guard) { clickGuard_ = guard; }
    void SetCheckChangedHook(CheckChangedHook hook) { checkChanged_ = std::move(hook); }
    void SetEditHooks(BeginEditHook begin, EndEditHook end, ValidateEditHook validate,
                      QString text = {});
    [[nodiscard]] const QString& EditHookText() const { return editHookText_; }
    void SetSortHooks(SortHook before, SortHook after);

    // Row states.
    [[nodiscard]] int RowStates(int row) const;
    [[nodiscard]] bool RowMatches(int row, int query) const;
    [[nodiscard]] int CountRows(int query) const;
    [[nodiscard]] int FindNextRow(int query, int afterRow = -1) const;
    bool SetRowStates(int row, int orders);
    int SetAllRowStates(int query, int orders);

    // Rows and cells.
    int InsertRow(int position, const QString& text);
    bool SetCellText(int row, int column, const QString& text);
    [[nodiscard]] QString GetCellText(int row, int column) const;
    bool DeleteRow(int row, bool selectNext);
    void DeleteRows(int query);
    int MoveRow(int row, int position);
    int MoveRowUp(int row, int steps = 1) { return MoveRow(row, row - steps); }
    int MoveRowDown(int row, int steps = 1) { return MoveRow(row, row + steps); }
    int MoveRowToTop(int row) { return MoveRow(row, 0); }
    int MoveRowToBottom(int row) { return MoveRow(row, rowCount() - 1); }
    [[nodiscard]] void* GetUserData(int row) const;
    bool SetUserData(int row, void* userData);
    [[nodiscard]] int FindRowByText(const QString& text) const;
    void SetCellBackColour(int row, int column, ColorRef colour, bool redraw = true);
    void SetCellTextColour(int row, int column, ColorRef colour, bool redraw = true);
    [[nodiscard]] ColorRef CellBackColour(int row, int column) const;
    [[nodiscard]] ColorRef CellTextColour(int row, int column) const;

    // In-place editing.
    void EnableEditing(bool on);
    [[nodiscard]] bool IsEditingEnabled() const { return editingEnabled_; }
    bool BeginEdit(int row, int column);
    void EndEdit(bool accept);
    [[nodiscard]] bool IsEditing() const { return editRow_ >= 0; }
    [[nodiscard]] int EditRow() const { return editRow_; }
    [[nodiscard]] int EditColumn() const { return editColumn_; }
    // The cell editor while it exists (tests and hooks).
    [[nodiscard]] QLineEdit* CellEditor() const { return editor_; }

    // Sorting as a header click does it.
    void SortByColumn(int column);
    [[nodiscard]] int SortColumn() const { return sortColumn_; }
    [[nodiscard]] bool IsSortAscending() const { return sortAscending_; }

    // Where the check box of a row is drawn, in viewport coordinates.
    [[nodiscard]] QRect CheckBoxRect(int row) const;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class RowItem;
    struct Column {
        int format = kColumnLeft;
    };

    void HandleLeftPress(QMouseEvent* event);
    bool ApplyCheckClick(int row);
    void SetChecked(int row, bool checked);
    void MakeOnlySelection(int row);
    void ShowCheckBox(int row);
    [[nodiscard]] bool ValidRow(int row) const { return row >= 0 && row < rowCount(); }
    [[nodiscard]] bool ValidColumn(int column) const {
        return column >= 0 && column < columnCount();
    }
    [[nodiscard]] RowItem* Row(int row) const;
    [[nodiscard]] QTableWidgetItem* Cell(int row, int column) const;
    void ApplyCellColours(int row, int column);
    void FillRowCells(int row);
    void ShowEditor(int row, int column, int extraStyles);
    void OnVerticalScroll();

    QLineEdit* editor_ = nullptr;
    bool editingEnabled_ = false;
    int editRow_ = -1;
    int editColumn_ = -1;
    bool editorShown_ = false;
    int checkboxStyle_ = kCheckboxNormal;
    bool checkboxesShown_ = false;
    int editorAlignment_ = 0;
    int sortColumn_ = -1;
    bool sortAscending_ = true;
    bool sortable_ = true;
    void* owner_ = nullptr;
    int* clickGuard_ = nullptr;
    CheckChangedHook checkChanged_;
    BeginEditHook beginEdit_;
    EndEditHook endEdit_;
    ValidateEditHook validateEdit_;
    QString editHookText_;
    SortHook beforeSort_;
    SortHook afterSort_;
    std::vector<Column> columns_;
};

}  // namespace qx::skin
