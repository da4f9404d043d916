#include "doubledelegate.h"
#include "intdelegate.h"
#include "tablepaste.h"
#include "wtablewidget.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// A department-like table: label column 0 read-only, 1 free text, 2 price
// (decimal), 3 free text, 4 digits (whole), with every cell holding an item.
class DeptLikeTable
{
public:
    explicit DeptLikeTable(int rows = 5)
    {
        table.setColumnCount(5);
        table.setItemDelegateForColumn(2, new DoubleDelegate(0, 0, &table));
        table.setItemDelegateForColumn(4, new IntDelegate(0, 0, &table));
        for (int r = 0; r < rows; ++r) {
            table.insertRow(r);
            for (int c = 0; c < 5; ++c)
                table.setItem(r, c, new QTableWidgetItem(QString()));
            table.item(r, 0)->setText(QString::number(r + 1));
            table.item(r, 0)->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        }
        table.setSelectionMode(QAbstractItemView::ContiguousSelection);
        table.setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                              | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    }
    QString text(int r, int c) const { return table.cellText(r, c); }

    // The table with its editing state in view.
    class Table : public WTableWidget
    {
    public:
        bool editing() const { return state() == EditingState; }
    };
    Table table;
};

} // namespace

class TestWTableWidget : public QObject
{
    Q_OBJECT

private slots:
    void tabWalksDownColumnOneAndWraps()
    {
        DeptLikeTable t;
        t.table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t.table));
        t.table.setFocus();
        t.table.setCurrentCell(3, 0);
        QTest::keyClick(&t.table, Qt::Key_Tab);
        QCOMPARE(t.table.currentRow(), 4);
        QCOMPARE(t.table.currentColumn(), 1);
        QTest::keyClick(&t.table, Qt::Key_Tab);
        QCOMPARE(t.table.currentRow(), 0);
        QCOMPARE(t.table.currentColumn(), 1);
        // Shift+Tab goes down as well.
        t.table.setCurrentCell(3, 3);
        QTest::keyClick(&t.table, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(t.table.currentRow(), 4);
        QCOMPARE(t.table.currentColumn(), 1);
        QVERIFY(t.table.hasFocus());
    }

    void tabInAnEditorOfColumnOneOnlyCommits()
    {
        DeptLikeTable t;
        t.table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t.table));
        t.table.setCurrentCell(2, 1);
        t.table.editItem(t.table.item(2, 1));
        auto *editor = t.table.findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->setText(QStringLiteral("Tea"));
        QTest::keyClick(editor, Qt::Key_Tab);
        QCOMPARE(t.text(2, 1), QStringLiteral("Tea"));
        QCOMPARE(t.table.currentRow(), 2);
        QCOMPARE(t.table.currentColumn(), 1);
        QVERIFY(!t.table.editing());
    }

    void tabInAnEditorOfAnotherColumnMovesOn()
    {
        DeptLikeTable t;
        t.table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t.table));
        t.table.setCurrentCell(2, 3);
        t.table.editItem(t.table.item(2, 3));
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->setText(QStringLiteral("B"));
        QTest::keyClick(editor, Qt::Key_Tab);
        QCOMPARE(t.text(2, 3), QStringLiteral("B"));
        QCOMPARE(t.table.currentColumn(), 4);
        QVERIFY(t.table.editing());
    }

    void copyPutsExactlyTheCurrentCellText()
    {
        DeptLikeTable t;
        t.table.item(1, 2)->setText(QStringLiteral("12.50"));
        t.table.setCurrentCell(1, 2);
        t.table.copyAction()->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("12.50"));
    }

    void copyWithoutACurrentItemLeavesTheClipboard()
    {
        WTableWidget empty;
        QApplication::clipboard()->setText(QStringLiteral("keep"));
        empty.copyAction()->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("keep"));

        DeptLikeTable t;
        delete t.table.takeItem(0, 1);
        t.table.setCurrentCell(0, 1);
        t.table.copyAction()->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("keep"));
    }

    void contextMenuOffersCopyThenPaste()
    {
        WTableWidget empty;
        empty.resize(200, 100);
        empty.show();
        QVERIFY(QTest::qWaitForWindowExposed(&empty));
        QStringList seen;
        QTimer::singleShot(0, [&] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                for (QAction *action : menu->actions())
                    seen << action->text();
                const QPoint cursor = menu->mapFromGlobal(empty.viewport()->mapToGlobal(QPoint(50, 50)));
                for (QAction *action : menu->actions())
                    if (menu->actionGeometry(action).contains(cursor))
                        seen << QStringLiteral("under cursor:") + action->text();
                menu->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(50, 50), empty.viewport()->mapToGlobal(QPoint(50, 50)));
        QApplication::sendEvent(empty.viewport(), &event);
        QCOMPARE(seen, (QStringList{QStringLiteral("Copy"), QStringLiteral("Paste"), QStringLiteral("under cursor:Copy")}));
    }

    void pasteFillsABlockSpreadsheetStyle()
    {
        DeptLikeTable t;
        QSignalSpy changes(&t.table, &QTableWidget::cellChanged);
        t.table.setCurrentCell(1, 1);
        QApplication::clipboard()->setText(QStringLiteral("Tea\t1.20\tA\t2\r\nCoffee\t2.50\tB\t3\r\n"));
        t.table.pasteAction()->trigger();
        QCOMPARE(t.text(1, 1), QStringLiteral("Tea"));
        QCOMPARE(t.text(1, 2), QStringLiteral("1.20"));
        QCOMPARE(t.text(1, 3), QStringLiteral("A"));
        QCOMPARE(t.text(1, 4), QStringLiteral("2"));
        QCOMPARE(t.text(2, 1), QStringLiteral("Coffee"));
        QCOMPARE(t.text(2, 4), QStringLiteral("3"));
        QCOMPARE(t.text(3, 1), QString()); // the trailing line break starts no row
        QCOMPARE(changes.count(), 8);
    }

    // Ctrl+V on the table pastes the block as the menu entry does; inside an
    // open cell editor the editor pastes the text itself. Both entries show
    // their shortcuts.
    void ctrlVPastesABlockOnTheTableOnly()
    {
        DeptLikeTable t;
        t.table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t.table));
        t.table.setFocus();
        t.table.setCurrentCell(0, 1);
        QApplication::clipboard()->setText(QStringLiteral("Tea\t1.20\nCoffee\t2.50\n"));
        QTest::keyClick(&t.table, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(t.text(0, 1), QStringLiteral("Tea"));
        QCOMPARE(t.text(1, 2), QStringLiteral("2.50"));

        t.table.setCurrentCell(3, 1);
        t.table.editItem(t.table.item(3, 1));
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        QApplication::clipboard()->setText(QStringLiteral("Juice"));
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(editor->text(), QStringLiteral("Juice"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the free-text editor commits on the next turn
        QCOMPARE(t.text(3, 1), QStringLiteral("Juice"));
        QCOMPARE(t.text(3, 2), QString());

        QCOMPARE(t.table.copyAction()->shortcut(), QKeySequence(QKeySequence::Copy));
        QCOMPARE(t.table.pasteAction()->shortcut(), QKeySequence(QKeySequence::Paste));
        QVERIFY(t.table.copyAction()->isShortcutVisibleInContextMenu());
        QVERIFY(t.table.pasteAction()->isShortcutVisibleInContextMenu());
    }

    void pasteSkipsReadOnlyCellsAndWhatFallsOutside()
    {
        DeptLikeTable t(3);
        t.table.setCurrentCell(1, 0);
        QApplication::clipboard()->setText(QStringLiteral("99\tJuice\t1\tC\t0\textra\nx\ty\nz\tw\n"));
        t.table.pasteAction()->trigger();
        QCOMPARE(t.text(1, 0), QStringLiteral("2")); // label stays
        QCOMPARE(t.text(1, 1), QStringLiteral("Juice"));
        QCOMPARE(t.text(1, 4), QStringLiteral("0"));
        QCOMPARE(t.text(2, 0), QStringLiteral("3"));
        QCOMPARE(t.text(2, 1), QStringLiteral("y"));
        QCOMPARE(t.table.rowCount(), 3); // no rows added for the third line
    }

    void pastedNumbersPassTheColumnCheck()
    {
        DeptLikeTable t;
        t.table.item(0, 2)->setText(QStringLiteral("5"));
        t.table.setCurrentCell(0, 2);
        QApplication::clipboard()->setText(QStringLiteral("abc\tfree text\t4.5\n1e3\t\t-7\n1,5"));
        QSignalSpy refused(&t.table, &WTableWidget::valueRefused);
        t.table.pasteAction()->trigger();
        QCOMPARE(t.text(2, 2), QStringLiteral("1.5")); // a spreadsheet's decimal comma
        QCOMPARE(refused.size(), 1); // the first refused value, and how many
        QCOMPARE(refused.at(0), (QVariantList{0, 2, QStringLiteral("abc"), 2}));
        QCOMPARE(t.text(0, 2), QString()); // refused price becomes empty
        QCOMPARE(t.text(0, 3), QStringLiteral("free text"));
        QCOMPARE(t.text(0, 4), QString()); // digits must be whole
        QCOMPARE(t.text(1, 2), QStringLiteral("1e3"));
        QCOMPARE(t.text(1, 4), QStringLiteral("-7"));
    }

    void emptyClipboardChangesNothing()
    {
        DeptLikeTable t;
        t.table.item(0, 1)->setText(QStringLiteral("keep"));
        QSignalSpy changes(&t.table, &QTableWidget::cellChanged);
        t.table.setCurrentCell(0, 1);
        QApplication::clipboard()->clear();
        t.table.pasteAction()->trigger();
        QCOMPARE(t.text(0, 1), QStringLiteral("keep"));
        QCOMPARE(changes.count(), 0);
    }

    void pasteSplitting()
    {
        QCOMPARE(splitPasteBlock(QStringLiteral("a\tb\n")), (QList<QStringList>{{u"a"_s, u"b"_s}}));
        QCOMPARE(splitPasteBlock(QStringLiteral("a\rb\r\nc")), (QList<QStringList>{{u"a"_s}, {u"b"_s}, {u"c"_s}}));
        QCOMPARE(splitPasteBlock(QStringLiteral("a\n\nb")), (QList<QStringList>{{u"a"_s}, {u""_s}, {u"b"_s}}));
    }

    // With an owner, the table hands over what the user changes, one call
    // for each edit, paste or delete, and shows only what the owner sets.
    void editsGoToTheOwner()
    {
        DeptLikeTable t;
        for (int r = 0; r < 5; ++r)
            for (int c = 1; c < 5; ++c)
                t.table.setItem(r, c, t.table.newItem());
        QList<QPair<WTableWidget::EditKind, tarvo::CellEdits>> calls;
        t.table.setEditHandler([&](const tarvo::CellEdits &edits, WTableWidget::EditKind kind) {
            calls.append({kind, edits});
        });
        t.table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t.table));
        t.table.setFocus();
        t.table.setCurrentCell(0, 1);
        QTest::keyClick(&t.table, Qt::Key_T);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.at(0).first, WTableWidget::EditKind::Typing);
        QCOMPARE(calls.at(0).second.at(0).text, QStringLiteral("t"));
        QCOMPARE(t.text(0, 1), QString()); // not shown until the owner says so
        QVERIFY(t.table.setCellText(0, 1, QStringLiteral("t")));
        QCOMPARE(calls.size(), 1);

        QApplication::clipboard()->setText(QStringLiteral("a\tabc\nb\t2\n"));
        QTest::keyClick(&t.table, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(calls.size(), 2);
        QCOMPARE(calls.at(1).first, WTableWidget::EditKind::Paste);
        QCOMPARE(calls.at(1).second.size(), 3); // the refused price is an empty cell, already empty
        t.table.setCellText(1, 2, QStringLiteral("2"));
        QTest::keyClick(&t.table, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&t.table, Qt::Key_Delete);
        QCOMPARE(calls.size(), 3);
        QCOMPARE(calls.at(2).first, WTableWidget::EditKind::Delete);
        QCOMPARE(calls.at(2).second.size(), 2); // (0,1) and (1,2); labels are no part of it
    }

    void cellHelpers()
    {
        DeptLikeTable t;
        QVERIFY(t.table.setCellText(0, 1, QStringLiteral("x")));
        QCOMPARE(t.table.cellText(0, 1), QStringLiteral("x"));
        QVERIFY(!t.table.setCellText(99, 1, QStringLiteral("x")));
        QCOMPARE(t.table.cellText(99, 1), QString());
    }
};

QTEST_MAIN(TestWTableWidget)
#include "tst_wtablewidget.moc"

