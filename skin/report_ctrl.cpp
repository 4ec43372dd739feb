#include "skin/report_ctrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <algorithm>

namespace qx::skin {
namespace {

constexpr int kRowPadding = 6;

Qt::Alignment AlignmentOfFormat(int format) {
    switch (format) {
        case kColumnRight:
            return Qt::AlignRight | Qt::AlignVCenter;
        case kColumnCenter:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

// Sets *guard to 1 while the control changes the selection itself.
class ClickGuard {
  public:
    explicit ClickGuard(int* guard) : guard_(guard) {
        if (guard_ != nullptr) {
            *guard_ = 1;
        }
    }
    ~ClickGuard() {
        if (guard_ != nullptr) {
            *guard_ = 0;
        }
    }
    ClickGuard(const ClickGuard&) = delete;
    ClickGuard& operator=(const ClickGuard&) = delete;

  private:
    int* guard_;
};

}  // namespace

// The column-0 cell of a row; it owns the row's record and travels with the row when the list
// sorts or moves it.
class CReportCtrl::RowItem : public QTableWidgetItem {
  public:
    explicit RowItem(int columns)
        : textColours(static_cast<std::size_t>(columns), kSystemColour),
          backColours(static_cast<std::size_t>(columns), kSystemColour) {}

    void* user = nullptr;
    bool checked = false;
    std::vector<ColorRef> textColours;
    std::vector<ColorRef> backColours;
};

CReportCtrl::CReportCtrl(QWidget* parent) : QTableWidget(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + kRowPadding);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionsClickable(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (sortable_) {
            SortByColumn(column);
        }
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &CReportCtrl::OnVerticalScroll);
}

CReportCtrl::~CReportCtrl() = default;

// ---- columns and look ----------------------------------------------------------------------

int CReportCtrl::InsertColumn(int index, const QString& heading, int format, int width,
                              int /*subItem*/) {
    EndEdit(true);
    const int count = columnCount();
    const int at = std::clamp(index, 0, count);
    // The new column is added at the end and the cells right of `at` shift over, so that the
    // row records stay in column 0.
    insertColumn(count);
    columns_.insert(columns_.begin() + at, Column{format});
    for (int c = count; c > at; --c) {
        setHorizontalHeaderItem(c, takeHorizontalHeaderItem(c - 1));
        setColumnWidth(c, columnWidth(c - 1));
    }
    setHorizontalHeaderItem(at, new QTableWidgetItem(heading));
    horizontalHeaderItem(at)->setTextAlignment(AlignmentOfFormat(format));
    setColumnWidth(at, width);
    for (int r = 0; r < rowCount(); ++r) {
        RowItem* record = Row(r);
        record->textColours.insert(record->textColours.begin() + at, kSystemColour);
        record->backColours.insert(record->backColours.begin() + at, kSystemColour);
        if (Cell(r, count) == nullptr) {
            setItem(r, count, new QTableWidgetItem());
        }
        for (int c = count; c > at; --c) {
            Cell(r, c)->setText(Cell(r, c - 1)->text());
            Cell(r, c)->setTextAlignment(AlignmentOfFormat(columns_[c].format));
            ApplyCellColours(r, c);
        }
        Cell(r, at)->setText(QString());
        Cell(r, at)->setTextAlignment(AlignmentOfFormat(format));
        ApplyCellColours(r, at);
    }
    return at;
}

void CReportCtrl::SetGridLines(bool on) {
    setShowGrid(on);
}

void CReportCtrl::SetCheckboxStyle(int style) {
    checkboxStyle_ = style;
    checkboxesShown_ = style != kCheckboxNone;
    for (int r = 0; r < rowCount(); ++r) {
        if (style == kCheckboxSingle) {
            Row(r)->checked = false;
        }
        ShowCheckBox(r);
    }
}

void CReportCtrl::ShowCheckBox(int row) {
    RowItem* record = Row(row);
    if (checkboxesShown_) {
        record->setCheckState(record->checked ? Qt::Checked : Qt::Unchecked);
    } else {
        record->setData(Qt::CheckStateRole, QVariant());
    }
}

void CReportCtrl::SetHeaderButtons(bool on) {
    sortable_ = on;
    horizontalHeader()->setSectionsClickable(on);
    if (!on) {
        sortColumn_ = -1;
        sortAscending_ = true;
    }
}

void CReportCtrl::SetEditHooks(BeginEditHook begin, EndEditHook end, ValidateEditHook validate,
                               QString text) {
    beginEdit_ = std::move(begin);
    endEdit_ = std::move(end);
    validateEdit_ = std::move(validate);
    editHookText_ = std::move(text);
}

void CReportCtrl::SetSortHooks(SortHook before, SortHook after) {
    beforeSort_ = std::move(before);
    afterSort_ = std::move(after);
}

// ---- row states -----------------------------------------------------------------------------

int CReportCtrl::RowStates(int row) const {
    if (!ValidRow(row)) {
        return 0;
    }
    const bool selected = selectionModel()->isRowSelected(row, QModelIndex());
    const bool checked = Row(row)->checked;
    const bool focused = currentIndex().isValid() && currentRow() == row;
    return (selected ? kRowSelected : kRowNotSelected) | (checked ? kRowChecked : kRowNotChecked) |
           (focused ? kRowFocused : kRowNotFocused);
}

bool CReportCtrl::RowMatches(int row, int query) const {
    if (query == 0 || !ValidRow(row)) {
        return false;
    }
    if ((query & kRowAll) != 0) {
        return true;
    }
    return (RowStates(row) & query) == query;
}

int CReportCtrl::CountRows(int query) const {
    int count = 0;
    for (int r = 0; r < rowCount(); ++r) {
        count += RowMatches(r, query) ? 1 : 0;
    }
    return count;
}

int CReportCtrl::FindNextRow(int query, int afterRow) const {
    for (int r = std::max(afterRow + 1, 0); r < rowCount(); ++r) {
        if (RowMatches(r, query)) {
            return r;
        }
    }
    return -1;
}

void CReportCtrl::SetChecked(int row, bool checked) {
    // A single-check list never holds two checked rows, whoever checks.
    if (checked && checkboxStyle_ == kCheckboxSingle) {
        for (int r = 0; r < rowCount(); ++r) {
            if (r != row && Row(r)->checked) {
                SetChecked(r, false);
            }
        }
    }
    Row(row)->checked = checked;
    ShowCheckBox(row);
    if (checkChanged_) {
        checkChanged_(row, *this);
    }
}

bool CReportCtrl::SetRowStates(int row, int orders) {
    if (!ValidRow(row)) {
        return false;
    }
    const QModelIndex index = model()->index(row, 0);
    if ((orders & kRowSelected) != 0) {
        selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    if ((orders & kRowNotSelected) != 0) {
        selectionModel()->select(index, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
    if ((orders & kRowChecked) != 0) {
        SetChecked(row, true);
    }
    if ((orders & kRowNotChecked) != 0) {
        SetChecked(row, false);
    }
    if ((orders & kRowFocused) != 0) {
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    }
    if ((orders & kRowNotFocused) != 0 && currentRow() == row) {
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    return true;
}

int CReportCtrl::SetAllRowStates(int query, int orders) {
    int count = 0;
    for (int r = 0; r < rowCount(); ++r) {
        if (RowMatches(r, query) && SetRowStates(r, orders)) {
            ++count;
        }
    }
    return count;
}

void CReportCtrl::MakeOnlySelection(int row) {
    const ClickGuard guard(clickGuard_);
    selectionModel()->setCurrentIndex(
        model()->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// ---- rows and cells -------------------------------------------------------------------------

CReportCtrl::RowItem* CReportCtrl::Row(int row) const {
    return static_cast<RowItem*>(item(row, 0));
}

QTableWidgetItem* CReportCtrl::Cell(int row, int column) const {
    return item(row, column);
}

void CReportCtrl::FillRowCells(int row) {
    auto* record = new RowItem(columnCount());
    record->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    setItem(row, 0, record);
    for (int c = 1; c < columnCount(); ++c) {
        auto* cell = new QTableWidgetItem();
        cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        setItem(row, c, cell);
    }
    for (int c = 0; c < columnCount(); ++c) {
        Cell(row, c)->setTextAlignment(AlignmentOfFormat(columns_[c].format));
    }
    ShowCheckBox(row);
}

int CReportCtrl::InsertRow(int position, const QString& text) {
    EndEdit(true);
    if (columnCount() == 0) {
        return -1;
    }
    const int at = std::clamp(position, 0, rowCount());
    insertRow(at);
    FillRowCells(at);
    Cell(at, 0)->setText(text);
    return at;
}

bool CReportCtrl::SetCellText(int row, int column, const QString& text) {
    EndEdit(true);
    if (!ValidRow(row) || !ValidColumn(column)) {
        return false;
    }
    Cell(row, column)->setText(text);
    return true;
}

QString CReportCtrl::GetCellText(int row, int column) const {
    if (!ValidRow(row) || !ValidColumn(column)) {
        return {};
    }
    return Cell(row, column)->text();
}

bool CReportCtrl::DeleteRow(int row, bool selectNext) {
    EndEdit(editRow_ != row);
    if (!ValidRow(row)) {
        return false;
    }
    if (selectNext) {
        const int next = row + 1 < rowCount() ? row + 1 : row - 1;
        if (next >= 0) {
            const ClickGuard guard(clickGuard_);
            SetRowStates(next, kRowSelected | kRowFocused);
        }
    }
    removeRow(row);
    return true;
}

void CReportCtrl::DeleteRows(int query) {
    EndEdit(false);
    setUpdatesEnabled(false);
    if ((query & kRowAll) != 0) {
        setRowCount(0);
    } else {
        for (int r = rowCount() - 1; r >= 0; --r) {
            if (RowMatches(r, query)) {
                removeRow(r);
            }
        }
    }
    setUpdatesEnabled(true);
}

int CReportCtrl::MoveRow(int row, int position) {
    if (!ValidRow(row)) {
        return -1;
    }
    const int to = std::clamp(position, 0, rowCount() - 1);
    if (to == row) {
        return row;
    }
    EndEdit(true);
    const int states = RowStates(row);
    std::vector<QTableWidgetItem*> cells;
    cells.reserve(static_cast<std::size_t>(columnCount()));
    for (int c = 0; c < columnCount(); ++c) {
        cells.push_back(takeItem(row, c));
    }
    removeRow(row);
    insertRow(to);
    for (int c = 0; c < columnCount(); ++c) {
        setItem(to, c, cells[static_cast<std::size_t>(c)]);
    }
    const ClickGuard guard(clickGuard_);
    SetRowStates(to, states & (kRowSelected | kRowFocused));
    return to;
}

void* CReportCtrl::GetUserData(int row) const {
    return ValidRow(row) ? Row(row)->user : nullptr;
}

bool CReportCtrl::SetUserData(int row, void* userData) {
    if (!ValidRow(row)) {
        return false;
    }
    Row(row)->user = userData;
    return true;
}

int CReportCtrl::FindRowByText(const QString& text) const {
    const QString wanted = text.left(kFindTextMaxChars);
    for (int r = 0; r < rowCount(); ++r) {
        if (Cell(r, 0)->text().left(kFindTextMaxChars).compare(wanted, Qt::CaseInsensitive) == 0) {
            return r;
        }
    }
    return -1;
}

void CReportCtrl::ApplyCellColours(int row, int column) {
    const RowItem* record = Row(row);
    QTableWidgetItem* cell = Cell(row, column);
    const ColorRef text = record->textColours[static_cast<std::size_t>(column)];
    const ColorRef back = record->backColours[static_cast<std::size_t>(column)];
    cell->setForeground(text == kSystemColour ? QBrush() : QBrush(ColourOfColorRef(text)));
    cell->setBackground(back == kSystemColour ? QBrush() : QBrush(ColourOfColorRef(back)));
}

void CReportCtrl::SetCellBackColour(int row, int column, ColorRef colour, bool redraw) {
    for (int r = 0; r < rowCount(); ++r) {
        if (row != -1 && r != row) {
            continue;
        }
        for (int c = 0; c < columnCount(); ++c) {
            if (column == -1 || c == column) {
                Row(r)->backColours[static_cast<std::size_t>(c)] = colour;
                ApplyCellColours(r, c);
            }
        }
    }
    if (redraw) {
        viewport()->update();
    }
}

void CReportCtrl::SetCellTextColour(int row, int column, ColorRef colour, bool redraw) {
    for (int r = 0; r < rowCount(); ++r) {
        if (row != -1 && r != row) {
            continue;
        }
        for (int c = 0; c < columnCount(); ++c) {
            if (column == -1 || c == column) {
                Row(r)->textColours[static_cast<std::size_t>(c)] = colour;
                ApplyCellColours(r, c);
            }
        }
    }
    if (redraw) {
        viewport()->update();
    }
}

ColorRef CReportCtrl::CellBackColour(int row, int column) const {
    if (!ValidRow(row) || !ValidColumn(column)) {
        return kSystemColour;
    }
    return Row(row)->backColours[static_cast<std::size_t>(column)];
}

ColorRef CReportCtrl::CellTextColour(int row, int column) const {
    if (!ValidRow(row) || !ValidColumn(column)) {
        return kSystemColour;
    }
    return Row(row)->textColours[static_cast<std::size_t>(column)];
}

// ---- check boxes and mouse ------------------------------------------------------------------

QRect CReportCtrl::CheckBoxRect(int row) const {
    if (!ValidRow(row) || columnCount() == 0) {
        return {};
    }
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex index = model()->index(row, 0);
    option.rect = visualRect(index);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    option.checkState = Row(row)->checked ? Qt::Checked : Qt::Unchecked;
    return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
}

// A press on a row's check box toggles it here, where the rules of the style apply; the list's
// own toggling is off (the rows are not user-checkable).
bool CReportCtrl::ApplyCheckClick(int row) {
    if (checkboxStyle_ == kCheckboxReadOnly) {
        return true;
    }
    SetChecked(row, !Row(row)->checked);
    MakeOnlySelection(row);
    return true;
}

void CReportCtrl::HandleLeftPress(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const int row = rowAt(point.y());
    const int column = columnAt(point.x());
    const bool wasEditing = IsEditing();
    const bool wasSelectedAndFocused = ValidRow(row) && (RowStates(row) & kRowSelected) != 0 &&
                                       (RowStates(row) & kRowFocused) != 0;
    EndEdit(true);
    bool checkChanged = false;
    if (ValidRow(row) && checkboxesShown_ && column == 0 && CheckBoxRect(row).contains(point)) {
        checkChanged = ApplyCheckClick(row);
    } else {
        QTableWidget::mousePressEvent(event);
    }
    if (editingEnabled_ && !checkChanged && !wasEditing && wasSelectedAndFocused &&
        ValidColumn(column)) {
        BeginEdit(row, column);
    }
}

void CReportCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        HandleLeftPress(event);
        return;
    }
    EndEdit(true);
    QTableWidget::mousePressEvent(event);
}

void CReportCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        HandleLeftPress(event);
        return;
    }
    QTableWidget::mouseDoubleClickEvent(event);
}

void CReportCtrl::keyPressEvent(QKeyEvent* event) {
    const int row = currentRow();
    if (event->key() == Qt::Key_Space && checkboxesShown_ && ValidRow(row)) {
        ApplyCheckClick(row);
        return;
    }
    QTableWidget::keyPressEvent(event);
}

// ---- in-place editing -----------------------------------------------------------------------

void CReportCtrl::EnableEditing(bool on) {
    if (!on) {
        EndEdit(true);
    }
    editingEnabled_ = on;
}

bool CReportCtrl::BeginEdit(int row, int column) {
    if (!editingEnabled_ || !ValidRow(row) || !ValidColumn(column)) {
        return false;
    }
    if (editRow_ == row && editColumn_ == column) {
        return true;
    }
    EndEdit(true);
    MakeOnlySelection(row);
    // Scrolling the cell into view happens before the edit starts: scrolling ends edits.
    scrollTo(model()->index(row, column));
    editRow_ = row;
    editColumn_ = column;
    int extraStyles = 0;
    if (beginEdit_ && !beginEdit_(*this, row, column, extraStyles)) {
        return false;
    }
    ShowEditor(row, column, extraStyles);
    return true;
}

void CReportCtrl::ShowEditor(int row, int column, int extraStyles) {
    const int alignment = static_cast<int>(AlignmentOfFormat(columns_[column].format));
    if (editor_ == nullptr || alignment != editorAlignment_) {
        delete editor_;
        editor_ = new QLineEdit(viewport());
        editor_->installEventFilter(this);
        editorAlignment_ = alignment;
        editor_->setAlignment(AlignmentOfFormat(columns_[column].format));
    }
    editor_->setFont(font());
    editor_->setMaxLength(kCellEditorMaxChars);
    if ((extraStyles & kEditorDigitsOnly) != 0) {
        editor_->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), editor_));
    } else {
        editor_->setValidator(nullptr);
    }
    QRect cell = visualRect(model()->index(row, column));
    if (!Cell(row, column)->icon().isNull()) {
        cell.setLeft(cell.left() + kEditorImageIndent);
    }
    editor_->setGeometry(cell);
    editor_->setText(Cell(row, column)->text().left(kCellEditorMaxChars));
    editor_->selectAll();
    editorShown_ = true;
    editor_->show();
    editor_->setFocus(Qt::OtherFocusReason);
}

void CReportCtrl::EndEdit(bool accept) {
    if (endEdit_ && !endEdit_(*this, editRow_, editColumn_)) {
        editRow_ = -1;
        editColumn_ = -1;
        return;
    }
    if (editRow_ < 0) {
        return;
    }
    const int row = editRow_;
    const int column = editColumn_;
    const bool shown = editorShown_;
    // Cleared first: hiding the editor moves the focus, which must not end the edit again.
    editRow_ = -1;
    editColumn_ = -1;
    editorShown_ = false;
    if (accept && shown && ValidRow(row) && ValidColumn(column)) {
        QString text = editor_->text();
        if (text != Cell(row, column)->text()) {
            if (!validateEdit_ || validateEdit_(*this, row, column, text)) {
                Cell(row, column)->setText(text);
            }
        }
    }
    if (editor_ != nullptr && shown) {
        editor_->hide();
    }
}

bool CReportCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_ && editorShown_) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                EndEdit(true);
                setFocus();
                return true;
            }
            if (key == Qt::Key_Escape) {
                EndEdit(false);
                setFocus();
                return true;
            }
        }
        // Leaving the editor for another control accepts the text; a press on the list itself
        // ends the edit through the press handling.
        if (event->type() == QEvent::FocusOut) {
            QWidget* next = QApplication::focusWidget();
            if (next != this && next != viewport()) {
                EndEdit(true);
            }
        }
    }
    return QTableWidget::eventFilter(watched, event);
}

void CReportCtrl::OnVerticalScroll() {
    if (IsEditing()) {
        EndEdit(false);
    }
}

// ---- sorting --------------------------------------------------------------------------------

void CReportCtrl::SortByColumn(int column) {
    if (!ValidColumn(column)) {
        return;
    }
    EndEdit(true);
    if (beforeSort_) {
        beforeSort_(*this, column);
    }
    const bool ascending = column != sortColumn_ || !sortAscending_;
    sortItems(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    sortColumn_ = column;
    sortAscending_ = ascending;
    if (afterSort_) {
        afterSort_(*this, column);
    }
}

}  // namespace qx::skin
