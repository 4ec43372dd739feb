// The report list: state queries and orders, check-box styles, row moves and deletion with their
// bookkeeping, in-place editing and sorting.
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include "skin/report_ctrl.h"

using namespace qx::skin;

namespace {

// A shown list of `rows` rows with texts "r<row>c<column>" in three columns.
struct ListFixture {
    explicit ListFixture(int rows) {
        list.resize(400, 300);
        list.InsertColumn(0, QStringLiteral("A"), kColumnLeft, 100);
        list.InsertColumn(1, QStringLiteral("B"), kColumnLeft, 100);
        list.InsertColumn(2, QStringLiteral("C"), kColumnLeft, 100);
        for (int r = 0; r < rows; ++r) {
            list.InsertRow(r, QStringLiteral("r%1c0").arg(r));
            list.SetCellText(r, 1, QStringLiteral("r%1c1").arg(r));
            list.SetCellText(r, 2, QStringLiteral("r%1c2").arg(r));
        }
        list.show();
        if (!QTest::qWaitForWindowExposed(&list)) {
            qWarning("list not exposed");
        }
    }

    QPoint CellCentre(int row, int column) const {
        return list.visualRect(list.model()->index(row, column)).center();
    }

    void Click(int row, int column) {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, CellCentre(row, column));
    }

    void ClickCheckBox(int row) {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.CheckBoxRect(row).center());
    }

    CReportCtrl list;
};

}  // namespace

class ReportCtrlTest : public QObject {
    Q_OBJECT

  private slots:
    void queriesMatchAllFlagsOrEverything() {
        ListFixture f(4);
        f.list.SetCheckboxStyle(kCheckboxNormal);
        f.list.SetRowStates(1, kRowChecked | kRowSelected);
        f.list.SetRowStates(2, kRowChecked);
        f.list.SetRowStates(3, kRowSelected | kRowFocused);
        QCOMPARE(f.list.CountRows(kRowChecked | kRowSelected), 1);
        QCOMPARE(f.list.CountRows(kRowChecked), 2);
        QCOMPARE(f.list.CountRows(kRowSelected), 2);
        QCOMPARE(f.list.CountRows(kRowNotChecked | kRowNotSelected), 1);
        QCOMPARE(f.list.CountRows(kRowFocused), 1);
        QCOMPARE(f.list.CountRows(kRowAll), 4);
        QCOMPARE(f.list.CountRows(kRowAll | kRowChecked), 4);
        QCOMPARE(f.list.CountRows(0), 0);
        QCOMPARE(f.list.FindNextRow(kRowChecked, -1), 1);
        QCOMPARE(f.list.FindNextRow(kRowChecked, 1), 2);
        QCOMPARE(f.list.FindNextRow(kRowChecked, 2), -1);
        QCOMPARE(f.list.FindNextRow(0, -1), -1);
        QCOMPARE(f.list.RowStates(3), kRowSelected | kRowNotChecked | kRowFocused);
        // Orders on every matching row.
        QCOMPARE(f.list.SetAllRowStates(kRowChecked, kRowNotChecked | kRowNotSelected), 2);
        QCOMPARE(f.list.CountRows(kRowChecked), 0);
        QCOMPARE(f.list.CountRows(kRowSelected), 1);
        QVERIFY(!f.list.SetRowStates(9, kRowSelected));
        f.list.SetRowStates(3, kRowNotFocused);
        QCOMPARE(f.list.CountRows(kRowFocused), 0);
    }

    void checkOrdersCallTheHook() {
        ListFixture f(3);
        f.list.SetCheckboxStyle(kCheckboxNormal);
        QList<int> rows;
        f.list.SetCheckChangedHook([&rows](int row, CReportCtrl& /*list*/) { rows.append(row); });
        f.list.SetRowStates(2, kRowChecked);
        f.list.SetRowStates(2, kRowNotChecked);
        QCOMPARE(rows, (QList<int>{2, 2}));
    }

    void singleStyleKeepsOnlyTheClickedRowChecked() {
        ListFixture f(4);
        int guardValue = -1;
        int guard = 0;
        f.list.SetClickGuard(&guard);
        f.list.SetCheckChangedHook([&](int, CReportCtrl&) { guardValue = guard; });
        f.list.SetCheckboxStyle(kCheckboxSingle);
        f.list.SetRowStates(0, kRowChecked);
        f.ClickCheckBox(2);
        QCOMPARE(f.list.CountRows(kRowChecked), 1);
        QCOMPARE(f.list.RowStates(2), kRowSelected | kRowChecked | kRowFocused);
        QCOMPARE(f.list.CountRows(kRowSelected), 1);
        QCOMPARE(guard, 0);
        // Unchecking the checked row leaves none.
        f.ClickCheckBox(2);
        QCOMPARE(f.list.CountRows(kRowChecked), 0);
        // Switching the single style on unchecks every row; orders keep one checked too.
        f.list.SetCheckboxStyle(kCheckboxNormal);
        f.list.SetRowStates(0, kRowChecked);
        f.list.SetRowStates(1, kRowChecked);
        QCOMPARE(f.list.CountRows(kRowChecked), 2);
        f.list.SetCheckboxStyle(kCheckboxSingle);
        QCOMPARE(f.list.CountRows(kRowChecked), 0);
        f.list.SetRowStates(0, kRowChecked);
        f.list.SetRowStates(3, kRowChecked);
        QCOMPARE(f.list.FindNextRow(kRowChecked), 3);
        QCOMPARE(f.list.CountRows(kRowChecked), 1);
    }

    void readOnlyStyleIgnoresClicksOnCheckBoxes() {
        ListFixture f(3);
        f.list.SetCheckboxStyle(kCheckboxReadOnly);
        f.list.SetRowStates(1, kRowChecked);
        f.list.SetRowStates(0, kRowSelected | kRowFocused);
        int hookCalls = 0;
        f.list.SetCheckChangedHook([&hookCalls](int, CReportCtrl&) { ++hookCalls; });
        f.ClickCheckBox(1);
        f.ClickCheckBox(2);
        QCOMPARE(f.list.RowStates(1) & kRowChecked, kRowChecked);
        QCOMPARE(f.list.RowStates(2) & kRowNotChecked, kRowNotChecked);
        QCOMPARE(f.list.FindNextRow(kRowSelected), 0);
        QCOMPARE(hookCalls, 0);
    }

    void normalStyleTogglesAndSelectsTheClickedRow() {
        ListFixture f(3);
        f.list.SetCheckboxStyle(kCheckboxNormal);
        f.list.SetRowStates(0, kRowChecked | kRowSelected);
        f.ClickCheckBox(1);
        QCOMPARE(f.list.CountRows(kRowChecked), 2);
        QCOMPARE(f.list.CountRows(kRowSelected), 1);
        QCOMPARE(f.list.FindNextRow(kRowSelected | kRowFocused), 1);
    }

    void deleteRowSelectsTheNextOrPreviousRow() {
        ListFixture f(4);
        QVERIFY(f.list.DeleteRow(1, true));
        QCOMPARE(f.list.rowCount(), 3);
        QCOMPARE(f.list.GetCellText(1, 0), QStringLiteral("r2c0"));
        QCOMPARE(f.list.FindNextRow(kRowSelected), 1);
        f.list.SetAllRowStates(kRowAll, kRowNotSelected);
        // The last row: the new last row is selected.
        QVERIFY(f.list.DeleteRow(2, true));
        QCOMPARE(f.list.rowCount(), 2);
        QCOMPARE(f.list.FindNextRow(kRowSelected), 1);
        QCOMPARE(f.list.GetCellText(1, 0), QStringLiteral("r2c0"));
        QVERIFY(!f.list.DeleteRow(5, true));
        // The only row: nothing is left to select.
        ListFixture single(1);
        QVERIFY(single.list.DeleteRow(0, true));
        QCOMPARE(single.list.rowCount(), 0);
        QCOMPARE(single.list.CountRows(kRowSelected), 0);
    }

    void deleteRowsByQueryAndAll() {
        ListFixture f(5);
        f.list.SetCheckboxStyle(kCheckboxNormal);
        f.list.SetRowStates(1, kRowChecked);
        f.list.SetRowStates(3, kRowChecked);
        f.list.DeleteRows(kRowChecked);
        QCOMPARE(f.list.rowCount(), 3);
        QCOMPARE(f.list.GetCellText(1, 0), QStringLiteral("r2c0"));
        f.list.DeleteRows(kRowAll);
        QCOMPARE(f.list.rowCount(), 0);
    }

    void moveRowToTopKeepsEverythingOfTheRow() {
        ListFixture f(7);
        f.list.SetCheckboxStyle(kCheckboxNormal);
        int payload = 42;
        f.list.SetUserData(5, &payload);
        f.list.SetRowStates(5, kRowChecked | kRowSelected);
        f.list.SetCellBackColour(5, 1, 0x00FF00);
        QCOMPARE(f.list.MoveRowToTop(5), 0);
        QCOMPARE(f.list.GetCellText(0, 0), QStringLiteral("r5c0"));
        QCOMPARE(f.list.GetCellText(0, 2), QStringLiteral("r5c2"));
        QCOMPARE(f.list.GetUserData(0), static_cast<void*>(&payload));
        QCOMPARE(f.list.RowStates(0) & (kRowChecked | kRowSelected), kRowChecked | kRowSelected);
        QCOMPARE(f.list.CellBackColour(0, 1), 0x00FF00U);
        QCOMPARE(f.list.GetCellText(1, 0), QStringLiteral("r0c0"));
        QCOMPARE(f.list.GetCellText(5, 0), QStringLiteral("r4c0"));
        QCOMPARE(f.list.GetUserData(5), nullptr);
        QCOMPARE(f.list.CountRows(kRowChecked), 1);
    }

    void moveRowClampsAndIgnoresItsOwnPlace() {
        ListFixture f(4);
        QCOMPARE(f.list.MoveRowDown(3), 3);
        QCOMPARE(f.list.GetCellText(3, 0), QStringLiteral("r3c0"));
        QCOMPARE(f.list.MoveRowUp(0, 2), 0);
        QCOMPARE(f.list.MoveRow(1, 99), 3);
        QCOMPARE(f.list.GetCellText(3, 0), QStringLiteral("r1c0"));
        QCOMPARE(f.list.MoveRowToBottom(0), 3);
        QCOMPARE(f.list.GetCellText(3, 0), QStringLiteral("r0c0"));
        QCOMPARE(f.list.MoveRow(8, 0), -1);
    }

    void findRowByTextIgnoresCase() {
        ListFixture f(3);
        QCOMPARE(f.list.FindRowByText(QStringLiteral("R1C0")), 1);
        QCOMPARE(f.list.FindRowByText(QStringLiteral("r1c1")), -1);
        // Only the first 259 characters count.
        const QString longText = QString(259, QLatin1Char('x'));
        f.list.SetCellText(2, 0, longText + QStringLiteral("tail"));
        QCOMPARE(f.list.FindRowByText(longText + QStringLiteral("other")), 2);
    }

    void cellColoursWithWildcards() {
        ListFixture f(3);
        f.list.SetCellBackColour(-1, 0, 0x123456);
        QCOMPARE(f.list.CellBackColour(2, 0), 0x123456U);
        QCOMPARE(f.list.CellBackColour(2, 1), kSystemColour);
        f.list.SetCellBackColour(1, -1, 0x00FF00);
        QCOMPARE(f.list.CellBackColour(1, 2), 0x00FF00U);
        QCOMPARE(f.list.item(1, 2)->background().color(), QColor(0, 255, 0));
        f.list.SetCellBackColour(-1, -1, kSystemColour);
        QCOMPARE(f.list.CellBackColour(1, 2), kSystemColour);
        QCOMPARE(f.list.item(1, 2)->background().style(), Qt::NoBrush);
        // A column added later gives every row a default colour for it.
        f.list.InsertColumn(1, QStringLiteral("X"), kColumnRight, 50);
        QCOMPARE(f.list.columnCount(), 4);
        QCOMPARE(f.list.GetCellText(0, 1), QString());
        QCOMPARE(f.list.GetCellText(0, 2), QStringLiteral("r0c1"));
        QCOMPARE(f.list.CellBackColour(0, 1), kSystemColour);
    }

    void secondClickOnASelectedRowEditsTheCell() {
        ListFixture f(3);
        f.list.EnableEditing(true);
        f.Click(1, 2);
        QVERIFY(!f.list.IsEditing());
        QCOMPARE(f.list.FindNextRow(kRowSelected | kRowFocused), 1);
        f.Click(1, 2);
        QVERIFY(f.list.IsEditing());
        QCOMPARE(f.list.EditRow(), 1);
        QCOMPARE(f.list.EditColumn(), 2);
        QVERIFY(f.list.CellEditor()->isVisible());
        QCOMPARE(f.list.CellEditor()->text(), QStringLiteral("r1c2"));
        QCOMPARE(f.list.CellEditor()->maxLength(), kCellEditorMaxChars);
        // The next press ends the edit, accepting it, and does not start another.
        f.list.CellEditor()->setText(QStringLiteral("new"));
        f.Click(1, 1);
        QVERIFY(!f.list.IsEditing());
        QCOMPARE(f.list.GetCellText(1, 2), QStringLiteral("new"));
        // Without editing enabled a second click only selects.
        f.list.EnableEditing(false);
        f.Click(1, 1);
        QVERIFY(!f.list.IsEditing());
    }

    void validateHookRunsOnlyForChangedText() {
        ListFixture f(2);
        f.list.EnableEditing(true);
        int validations = 0;
        f.list.SetEditHooks(nullptr, nullptr,
                            [&validations](CReportCtrl&, int, int, QString& text) {
                                ++validations;
                                text = text.toUpper();
                                return text != QStringLiteral("REJECT");
                            });
        QVERIFY(f.list.BeginEdit(0, 1));
        f.list.EndEdit(true);
        QCOMPARE(validations, 0);
        QVERIFY(f.list.BeginEdit(0, 1));
        f.list.CellEditor()->setText(QStringLiteral("abc"));
        f.list.EndEdit(true);
        QCOMPARE(validations, 1);
        QCOMPARE(f.list.GetCellText(0, 1), QStringLiteral("ABC"));
        QVERIFY(f.list.BeginEdit(0, 1));
        f.list.CellEditor()->setText(QStringLiteral("reject"));
        f.list.EndEdit(true);
        QCOMPARE(f.list.GetCellText(0, 1), QStringLiteral("ABC"));
        // Not accepting keeps the old text without asking.
        QVERIFY(f.list.BeginEdit(0, 1));
        f.list.CellEditor()->setText(QStringLiteral("dropped"));
        f.list.EndEdit(false);
        QCOMPARE(validations, 2);
        QCOMPARE(f.list.GetCellText(0, 1), QStringLiteral("ABC"));
        QVERIFY(!f.list.CellEditor()->isVisible());
    }

    void beginEditHookCanTakeTheEditOver() {
        ListFixture f(2);
        f.list.EnableEditing(true);
        bool endCalled = false;
        f.list.SetEditHooks(
            [](CReportCtrl&, int, int column, int& extra) {
                extra = kEditorDigitsOnly;
                return column != 0;
            },
            [&endCalled](CReportCtrl&, int row, int) {
                endCalled = endCalled || row >= 0;
                return true;
            },
            nullptr);
        QVERIFY(!f.list.BeginEdit(1, 0));
        QVERIFY(f.list.IsEditing());
        QVERIFY(f.list.CellEditor() == nullptr || !f.list.CellEditor()->isVisible());
        f.list.EndEdit(true);
        QVERIFY(endCalled);
        QVERIFY(!f.list.IsEditing());
        QVERIFY(f.list.BeginEdit(1, 2));
        QVERIFY(f.list.CellEditor()->validator() != nullptr);
        QVERIFY(!f.list.BeginEdit(5, 0));
        QVERIFY(!f.list.BeginEdit(0, 9));
    }

    void scrollingEndsAnEditWithoutAcceptingIt() {
        ListFixture f(60);
        f.list.EnableEditing(true);
        QVERIFY(f.list.BeginEdit(0, 1));
        f.list.CellEditor()->setText(QStringLiteral("lost"));
        f.list.verticalScrollBar()->setValue(f.list.verticalScrollBar()->value() + 5);
        QVERIFY(!f.list.IsEditing());
        QCOMPARE(f.list.GetCellText(0, 1), QStringLiteral("r0c1"));
    }

    void insertingAndSettingTextEndAnEditAcceptingIt() {
        ListFixture f(2);
        f.list.EnableEditing(true);
        QVERIFY(f.list.BeginEdit(1, 1));
        f.list.CellEditor()->setText(QStringLiteral("kept"));
        QCOMPARE(f.list.InsertRow(99, QStringLiteral("appended")), 2);
        QCOMPARE(f.list.GetCellText(1, 1), QStringLiteral("kept"));
        // Deleting the edited row drops its edit.
        QVERIFY(f.list.BeginEdit(2, 1));
        f.list.CellEditor()->setText(QStringLiteral("gone"));
        QVERIFY(f.list.DeleteRow(2, false));
        QCOMPARE(f.list.rowCount(), 2);
        QVERIFY(!f.list.IsEditing());
    }

    void editorKeysAndLeavingTheEditor() {
        ListFixture f(2);
        f.list.EnableEditing(true);
        QVERIFY(f.list.BeginEdit(0, 1));
        f.list.CellEditor()->setText(QStringLiteral("enter"));
        QTest::keyClick(f.list.CellEditor(), Qt::Key_Return);
        QVERIFY(!f.list.IsEditing());
        QCOMPARE(f.list.GetCellText(0, 1), QStringLiteral("enter"));
        QVERIFY(f.list.BeginEdit(1, 1));
        f.list.CellEditor()->setText(QStringLiteral("escape"));
        QTest::keyClick(f.list.CellEditor(), Qt::Key_Escape);
        QVERIFY(!f.list.IsEditing());
        QCOMPARE(f.list.GetCellText(1, 1), QStringLiteral("r1c1"));
        // Disabling editing ends a running edit, accepting it.
        QVERIFY(f.list.BeginEdit(1, 2));
        f.list.CellEditor()->setText(QStringLiteral("kept"));
        f.list.EnableEditing(false);
        QVERIFY(!f.list.IsEditing());
        QCOMPARE(f.list.GetCellText(1, 2), QStringLiteral("kept"));
    }

    void spaceTogglesTheFocusedRowsCheckBoxByTheStylesRules() {
        ListFixture f(3);
        f.list.SetCheckboxStyle(kCheckboxSingle);
        f.list.SetRowStates(0, kRowChecked);
        f.list.setFocus();
        f.list.SetRowStates(2, kRowFocused);
        QTest::keyClick(&f.list, Qt::Key_Space);
        QCOMPARE(f.list.FindNextRow(kRowChecked), 2);
        QCOMPARE(f.list.CountRows(kRowChecked), 1);
        f.list.SetCheckboxStyle(kCheckboxReadOnly);
        f.list.SetRowStates(1, kRowChecked | kRowFocused);
        QTest::keyClick(&f.list, Qt::Key_Space);
        QCOMPARE(f.list.RowStates(1) & kRowChecked, kRowChecked);
    }

    void columnInsertedFirstKeepsRowRecordsAndChecks() {
        ListFixture f(2);
        f.list.SetCheckboxStyle(kCheckboxNormal);
        int payload = 3;
        f.list.SetUserData(1, &payload);
        f.list.SetRowStates(1, kRowChecked);
        f.list.SetCellBackColour(1, 0, 0x0000FF);
        QCOMPARE(f.list.InsertColumn(0, QStringLiteral("New"), kColumnCenter, 40), 0);
        QCOMPARE(f.list.columnCount(), 4);
        QCOMPARE(f.list.horizontalHeaderItem(0)->text(), QStringLiteral("New"));
        QCOMPARE(f.list.horizontalHeaderItem(1)->text(), QStringLiteral("A"));
        QCOMPARE(f.list.GetCellText(1, 1), QStringLiteral("r1c0"));
        QCOMPARE(f.list.GetCellText(1, 3), QStringLiteral("r1c2"));
        QCOMPARE(f.list.GetCellText(1, 0), QString());
        QCOMPARE(f.list.GetUserData(1), static_cast<void*>(&payload));
        QCOMPARE(f.list.RowStates(1) & kRowChecked, kRowChecked);
        QCOMPARE(f.list.CellBackColour(1, 1), 0x0000FFU);
        QCOMPARE(f.list.CellBackColour(1, 0), kSystemColour);
        // Rows inserted later get a cell in every column.
        const int row = f.list.InsertRow(0, QStringLiteral("top"));
        QVERIFY(f.list.SetCellText(row, 3, QStringLiteral("last")));
        QCOMPARE(f.list.GetCellText(row, 3), QStringLiteral("last"));
    }

    void headerClickSortsWithHooksAndAlternatesDirection() {
        ListFixture f(3);
        f.list.SetCellText(0, 1, QStringLiteral("b"));
        f.list.SetCellText(1, 1, QStringLiteral("c"));
        f.list.SetCellText(2, 1, QStringLiteral("a"));
        int payload = 7;
        f.list.SetUserData(1, &payload);
        QStringList calls;
        f.list.SetSortHooks(
            [&calls](CReportCtrl&, int column) { calls << QStringLiteral("before%1").arg(column); },
            [&calls](CReportCtrl&, int column) { calls << QStringLiteral("after%1").arg(column); });
        f.list.SortByColumn(1);
        QCOMPARE(f.list.GetCellText(0, 1), QStringLiteral("a"));
        QVERIFY(f.list.IsSortAscending());
        QCOMPARE(f.list.GetUserData(2), static_cast<void*>(&payload));
        f.list.SortByColumn(1);
        QCOMPARE(f.list.GetCellText(0, 1), QStringLiteral("c"));
        QVERIFY(!f.list.IsSortAscending());
        f.list.SortByColumn(1);
        QVERIFY(f.list.IsSortAscending());
        f.list.SortByColumn(2);
        QVERIFY(f.list.IsSortAscending());
        QCOMPARE(calls.first(), QStringLiteral("before1"));
        QCOMPARE(calls.size(), 8);
        // Header buttons off forget the last sort.
        f.list.SetHeaderButtons(false);
        QCOMPARE(f.list.SortColumn(), -1);
        QVERIFY(!f.list.IsSortable());
    }
};

QTEST_MAIN(ReportCtrlTest)
#include "tst_report_ctrl.moc"
