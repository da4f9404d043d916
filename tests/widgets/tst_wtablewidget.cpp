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
        // From a row number the first Tab goes to that row's first editable
        // cell: none is skipped.
        t.table.setCurrentCell(3, 0);
        QTest::keyClick(&t.table, Qt::Key_Tab);
        QCOMPARE(t.table.currentRow(), 3);
        QCOMPARE(t.table.currentColumn(), 1);
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

    // A price goes out with the decimal separator of the interface's
    // language, so a spreadsheet in that language takes it as a number;
    // other cells go as they are.
    void copyPutsExactlyTheCurrentCellText_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("copied");
        const QLocale bg(QLocale::Bulgarian, QLocale::Bulgaria);
        QTest::newRow("price") << QLocale::c() << 2 << u"12.50"_s << u"12.50"_s;
        QTest::newRow("price, bg") << bg << 2 << u"12.50"_s << u"12,50"_s;
        QTest::newRow("name, bg") << bg << 1 << u"1.5"_s << u"1.5"_s;
        QTest::newRow("no number, bg") << bg << 2 << u"1.2.3"_s << u"1.2.3"_s;
    }
    void copyPutsExactlyTheCurrentCellText()
    {
        QFETCH(QLocale, locale);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QString, copied);
        DeptLikeTable t;
        t.table.setLocale(locale);
        t.table.item(1, column)->setText(text);
        t.table.setCurrentCell(1, column);
        // The key works as the action does, also in a window that is not
        // active (where the shortcut does not answer).
        QTest::keyClick(&t.table, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), copied);
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
                    seen << action->iconText();
                const QPoint cursor = menu->mapFromGlobal(empty.viewport()->mapToGlobal(QPoint(50, 50)));
                for (QAction *action : menu->actions())
                    if (menu->actionGeometry(action).contains(cursor))
                        seen << QStringLiteral("under cursor:") + action->iconText();
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
        QApplication::clipboard()->setText(QStringLiteral("Juice\n")); // one cell of a spreadsheet
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(editor->text(), QStringLiteral("Juice"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the free-text editor commits on the next turn
        QCOMPARE(t.text(3, 1), QStringLiteral("Juice"));
        QCOMPARE(t.text(3, 2), QString());

        // A block is a block, with an editor open too.
        t.table.setCurrentCell(2, 1);
        t.table.editItem(t.table.item(2, 1));
        editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        QApplication::clipboard()->setText(QStringLiteral("Milk\t0.90\nWater\t0.60\n"));
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        QCoreApplication::processEvents();
        QVERIFY(!t.table.editing());
        QCOMPARE(t.text(2, 1), QStringLiteral("Milk"));
        QCOMPARE(t.text(3, 1), QStringLiteral("Water"));
        QCOMPARE(t.text(3, 2), QStringLiteral("0.60"));

        QCOMPARE(t.table.copyAction()->shortcut(), QKeySequence(QKeySequence::Copy));
        QCOMPARE(t.table.pasteAction()->shortcut(), QKeySequence(QKeySequence::Paste));
        QVERIFY(t.table.copyAction()->isShortcutVisibleInContextMenu());
        QVERIFY(t.table.pasteAction()->isShortcutVisibleInContextMenu());
    }

    // A block that repeats the row numbers lines up with them, and the
    // labels stay. A block that does not fit is pasted only when the
    // question says so.
    void pasteSkipsReadOnlyCellsAndWhatFallsOutside()
    {
        DeptLikeTable t(3);
        t.table.setCurrentCell(1, 0);
        QApplication::clipboard()->setText(QStringLiteral("2\tJuice\t1\tC\t0\n3\ty\n"));
        t.table.pasteAction()->trigger();
        QCOMPARE(t.text(1, 0), QStringLiteral("2")); // label stays
        QCOMPARE(t.text(1, 1), QStringLiteral("Juice"));
        QCOMPARE(t.text(1, 4), QStringLiteral("0"));
        QCOMPARE(t.text(2, 1), QStringLiteral("y"));

        QList<QList<int>> asked;
        bool answer = false;
        t.table.setFitQuestion([&](int row, int column, int rows, int columns) {
            asked.append({row, column, rows, columns});
            return answer;
        });
        t.table.setCurrentCell(1, 3);
        QApplication::clipboard()->setText(QStringLiteral("x\t5\textra\nz\t6\n\tq\n"));
        t.table.pasteAction()->trigger();
        QCOMPARE(asked, (QList<QList<int>>{{1, 3, 1, 1}}));
        QCOMPARE(t.text(1, 3), QStringLiteral("C")); // nothing pasted
        answer = true;
        t.table.pasteAction()->trigger();
        QCOMPARE(t.text(1, 3), QStringLiteral("x"));
        QCOMPARE(t.text(2, 4), QStringLiteral("6"));
        QCOMPARE(t.table.rowCount(), 3); // no rows added
    }

    // Numbers as spreadsheets show them: a decimal comma, thousands
    // separators, a currency sign. An empty cell of the block empties its
    // cell and is no refusal.
    void pastedNumbersPassTheColumnCheck()
    {
        DeptLikeTable t;
        t.table.item(0, 2)->setText(QStringLiteral("5"));
        t.table.item(4, 2)->setText(QStringLiteral("5"));
        t.table.setCurrentCell(0, 2);
        QApplication::clipboard()->setText(
            u"abc\tfree text\t4.5\n1e3\t\t-7\n1,5\n1\u00a0234,50 лв.\t\t1 000\n\n"_s);
        QSignalSpy pasted(&t.table, &WTableWidget::pasteDone);
        t.table.pasteAction()->trigger();
        QCOMPARE(t.text(2, 2), QStringLiteral("1.5")); // a spreadsheet's decimal comma
        QCOMPARE(t.text(3, 2), QStringLiteral("1234.50"));
        QCOMPARE(t.text(3, 4), QStringLiteral("1000"));
        QCOMPARE(t.text(4, 2), QString());
        QCOMPARE(pasted.size(), 1); // one report a paste
        const auto refused = pasted.at(0).at(1).value<QList<RefusedCell>>();
        QCOMPARE(refused.size(), 2);
        QCOMPARE(refused.at(0).text, QStringLiteral("abc"));
        QCOMPARE(refused.at(1).column, 4);
        QCOMPARE(pasted.at(0).at(0).toInt(), 9);
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

    // Spreadsheets quote a cell that holds a TAB, a line break or a quote.
    void pasteSplitting_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::newRow("trailing line break") << u"a\tb\n"_s << QList<QStringList>{{u"a"_s, u"b"_s}};
        QTest::newRow("line ends") << u"a\rb\r\nc"_s << QList<QStringList>{{u"a"_s}, {u"b"_s}, {u"c"_s}};
        QTest::newRow("empty row") << u"a\n\nb"_s << QList<QStringList>{{u"a"_s}, {u""_s}, {u"b"_s}};
        QTest::newRow("quoted line break") << u"\"Бонбони\nмента\"\t1,80\nx\n"_s
                                           << QList<QStringList>{{u"Бонбони\nмента"_s, u"1,80"_s}, {u"x"_s}};
        QTest::newRow("quoted quotes") << u"\"Дъвка \"\"Орбит\"\"\"\t2"_s
                                       << QList<QStringList>{{u"Дъвка \"Орбит\""_s, u"2"_s}};
        QTest::newRow("quoted TAB") << u"\"Шоколад\tмлечен\"\tx\r\n"_s
                                    << QList<QStringList>{{u"Шоколад\tмлечен"_s, u"x"_s}};
        QTest::newRow("no closing quote") << u"\"Orbit\tx\n\"a\" b\n"_s
                                          << QList<QStringList>{{u"\"Orbit"_s, u"x"_s}, {u"\"a\" b"_s}};
    }
    void pasteSplitting()
    {
        QFETCH(QString, text);
        QFETCH(QList<QStringList>, rows);
        QCOMPARE(splitPasteBlock(text), rows);
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

        // A TAB from an input method never reaches a cell: it is refused.
        QSignalSpy refusedText(&t.table, &WTableWidget::textRefused);
        t.table.editItem(t.table.item(0, 1));
        editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        QInputMethodEvent typed;
        typed.setCommitString(QStringLiteral("Milk\tshake"));
        QApplication::sendEvent(editor, &typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(calls.size(), 1);
        QCOMPARE(refusedText.size(), 1);
        QCOMPARE(t.text(0, 1), QStringLiteral("t"));

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

