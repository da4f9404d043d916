// Editing the document as a user does, with the real tables and keys: an
// edit, a paste and a delete each undone and redone in one step, the
// changed state following the history, blocks copied out and pasted back,
// and the labels, which no edit reaches.

#include "appidentity.h"
#include "encodingchoice.h"
#include "fakedialogs.h"
#include "mainwindow.h"
#include "testsupport.h"
#include "ui_mainwindow.h"
#include "wtablewidget.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using tarvo::DocTable;

namespace {

// A shown window with the departments in front and the keyboard in the
// table at (row, column).
class Editor
{
public:
    Editor()
    {
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qWarning("the window did not become active");
        window.form().tabMain->setCurrentIndex(int(DocTable::Depts));
        depts()->setFocus();
    }

    WTableWidget *depts() const { return window.documentTable(DocTable::Depts); }
    QString text(int row, int column) const { return depts()->cellText(row, column); }
    void go(int row, int column) const { depts()->setCurrentCell(row, column); }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        QTest::keyClick(depts(), key, modifiers);
    }
    // Types `typed` into the current cell and commits it with Return.
    void type(const QString &typed) const
    {
        QTest::keyClicks(depts(), typed.left(1)); // opens the editor
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        QTest::keyClicks(editor, typed.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the free-text editor commits on the next turn
    }
    void paste(const QString &clipboard) const
    {
        QApplication::clipboard()->setText(clipboard);
        key(Qt::Key_V, Qt::ControlModifier);
    }
    // What Edit > Undo shows, without its Alt letter's mark.
    QString undoText() const { return window.form().actionUndo->iconText(); }

    FakeDialogs dialogs;
    MainWindow window{nullptr, &dialogs};
};

} // namespace

class TestEditing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        testsupport::isolate();
        identity::registerResources();
        identity::setUpApplication();
    }

    void init()
    {
        QSettings().clear();
        editor::encodingIndex = 0;
        editor::applyEncoding();
    }

    // Each change is one step: Ctrl+Z takes all of it back, Ctrl+Y and
    // Ctrl+Shift+Z bring it again, and Edit > Undo says what it undoes.
    void undoAndRedoOneStep_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("undoText");
        QTest::addColumn<QStringList>("after"); // names of rows 0 and 1, then price of row 0
        QTest::newRow("edit") << u"edit"_s << u"Undo edit of Name, row 1"_s << QStringList{u"Tea"_s, u"Coffee"_s, u"1.20"_s};
        QTest::newRow("refused number") << u"refused"_s << u"Undo edit of Price, row 1"_s
                                        << QStringList{u"Water"_s, u"Coffee"_s, u""_s};
        QTest::newRow("paste") << u"paste"_s << u"Undo paste of 3 cells"_s << QStringList{u"Juice"_s, u"Milk"_s, u"2.50"_s};
        QTest::newRow("delete") << u"delete"_s << u"Undo deletion of 2 cells"_s << QStringList{u""_s, u""_s, u"1.20"_s};
    }

    void undoAndRedoOneStep()
    {
        QFETCH(QString, change);
        QFETCH(QString, undoText);
        QFETCH(QStringList, after);
        Editor e;
        e.go(0, 1);
        e.paste(QStringLiteral("Water\t1.20\nCoffee\n"));
        const QStringList before{e.text(0, 1), e.text(1, 1), e.text(0, 2)};
        QCOMPARE(before, (QStringList{u"Water"_s, u"Coffee"_s, u"1.20"_s}));

        if (change == QLatin1String("edit")) {
            e.type(QStringLiteral("Tea"));
        } else if (change == QLatin1String("refused")) {
            e.go(0, 2);
            e.type(QStringLiteral("abc"));
        } else if (change == QLatin1String("paste")) {
            e.paste(QStringLiteral("Juice\t2.50\r\nMilk\r\n"));
        } else {
            e.key(Qt::Key_Down, Qt::ShiftModifier);
            e.key(Qt::Key_Delete);
        }
        const QStringList changed{e.text(0, 1), e.text(1, 1), e.text(0, 2)};
        QCOMPARE(changed, after);
        QCOMPARE(e.undoText(), undoText);

        e.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE((QStringList{e.text(0, 1), e.text(1, 1), e.text(0, 2)}), before);
        e.key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE((QStringList{e.text(0, 1), e.text(1, 1), e.text(0, 2)}), after);
        e.key(Qt::Key_Z, Qt::ControlModifier);
        e.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE((QStringList{e.text(0, 1), e.text(1, 1), e.text(0, 2)}), after);
    }

    // Undoing back to what was saved makes the document unchanged; the
    // questions of New follow.
    void undoToTheSavedStateIsUnchanged()
    {
        QTemporaryDir dir;
        Editor e;
        e.go(0, 1);
        e.type(QStringLiteral("Tea"));
        QVERIFY(e.window.isDocChanged());
        e.dialogs.files = {dir.filePath(QStringLiteral("saved.prg"))};
        e.window.form().actionSave->trigger();
        QVERIFY(!e.window.isDocChanged());
        e.depts()->setFocus();
        e.go(1, 1);
        e.type(QStringLiteral("Coffee"));
        QVERIFY(e.window.isDocChanged());
        e.key(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!e.window.isDocChanged());
        e.key(Qt::Key_Z, Qt::ControlModifier); // before the save
        QVERIFY(e.window.isDocChanged());
        QCOMPARE(e.text(0, 1), QString());
        e.key(Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(!e.window.isDocChanged());

        // New starts a history of its own, with nothing to undo.
        e.dialogs.answers = {true};
        e.window.form().actionNew->trigger();
        QVERIFY(!e.window.isDocChanged());
        QVERIFY(!e.window.form().actionUndo->isEnabled());
        QCOMPARE(e.undoText(), QStringLiteral("Undo"));
    }

    // A block selected with Shift+arrows goes to the clipboard as spreadsheets
    // take it and comes back whole; a single cell is copied as today.
    void blockCopiedOutAndPastedBack()
    {
        Editor e;
        e.go(2, 1);
        e.paste(QStringLiteral("Tea\t1.20\tA\nCoffee\t2.50\tB\n"));
        QCOMPARE(e.depts()->selectedItems().size(), 6); // the pasted block stays selected
        e.key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Tea\t1.20\tA\nCoffee\t2.50\tB\n"));
        e.go(2, 1);
        e.key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Tea"));

        e.key(Qt::Key_Right, Qt::ShiftModifier);
        e.key(Qt::Key_Right, Qt::ShiftModifier);
        e.key(Qt::Key_Down, Qt::ShiftModifier);
        e.key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Tea\t1.20\tA\nCoffee\t2.50\tB\n"));
        // The same block, clicked and Shift+clicked.
        QWidget *cells = e.depts()->viewport();
        QTest::mouseClick(cells, Qt::LeftButton, {}, e.depts()->visualRect(e.depts()->model()->index(2, 1)).center());
        QTest::mouseClick(cells, Qt::LeftButton, Qt::ShiftModifier,
                          e.depts()->visualRect(e.depts()->model()->index(3, 3)).center());
        e.key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Tea\t1.20\tA\nCoffee\t2.50\tB\n"));

        e.go(10, 1);
        e.key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e.text(10, 1), QStringLiteral("Tea"));
        QCOMPARE(e.text(11, 3), QStringLiteral("B"));
        QCOMPARE(e.undoText(), QStringLiteral("Undo paste of 6 cells"));
    }

    // A block lands where the operator meant or not at all: rows and
    // columns never shift, a cell the file cannot carry is named and left
    // out, a block past the table's end is pasted only when asked for, and
    // a block is a block with a cell editor open too.
    void pasteLandsWhereMeant_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("editorOpen");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("html");       // the clipboard's HTML beside it
        QTest::addColumn<QList<int>>("choices"); // answers to "paste what fits?"; none: Escape
        QTest::addColumn<QStringList>("cells");  // "row,column=text" afterwards
        QTest::addColumn<QString>("undoText");
        QTest::addColumn<QString>("told");       // in the question or the message; empty: neither
        QString tenRows;
        for (int i = 1; i <= 10; ++i)
            tenRows += u"Вода %1\t1,20\tБ\t2\tx\n"_s.arg(i);
        QTest::newRow("quoted cells")
            << 0 << 1 << false
            << u"Вода\t1,20\n\"Бонбони\nмента\"\t1,80\n\"Дъвка \"\"Орбит\"\"\"\t0,90\n\"Шоколад\tмлечен\"\t2,10\n"_s
            << QString() << QList<int>{}
            << QStringList{u"0,1=Вода"_s, u"1,1="_s, u"1,2=1.80"_s, u"2,1=Дъвка \"Орбит\""_s, u"2,2=0.90"_s,
                           u"3,1="_s, u"3,2=2.10"_s, u"4,1="_s}
            << u"Undo paste of 6 cells"_s << u"Departments, row 4, Name"_s;
        // gnumeric writes such cells unquoted; its HTML table says where they end.
        QTest::newRow("spreadsheet's table")
            << 0 << 1 << false << u"Вода\t1,20\nБонбони\nмента\t1,80\nЧай\t0,60"_s
            << u"<html><body><table>\n<tr>\n<td>&#1042;&#1086;&#1076;&#1072;</td>\n<td align=\"right\">1,20</td>\n</tr>\n"
               "<tr>\n<td>Бонбони<br>\nмента</td>\n<td>1,80</td>\n</tr>\n<tr>\n<td>Чай</td>\n<td>0,60</td>\n</tr>\n"
               "</table></body></html>"_s
            << QList<int>{} << QStringList{u"0,1=Вода"_s, u"1,1="_s, u"1,2=1.80"_s, u"2,1=Чай"_s, u"2,2=0.60"_s}
            << u"Undo paste of 5 cells"_s << u"Departments, row 2, Name"_s;
        QTest::newRow("anchor on the row number")
            << 0 << 0 << false << u"Вода\t1,20\tБ\t2\n"_s << QString() << QList<int>{}
            << QStringList{u"0,0=1"_s, u"0,1=Вода"_s, u"0,2=1.20"_s, u"0,3=Б"_s, u"0,4=2"_s}
            << u"Undo paste of 4 cells"_s << QString();
        QTest::newRow("past the last row")
            << 44 << 0 << false << tenRows << QString() << QList<int>{}
            << QStringList{u"44,1="_s, u"49,1="_s} << u"Undo"_s << u"4 rows and one column"_s;
        QTest::newRow("past the last row, what fits")
            << 44 << 1 << false << tenRows << QString() << QList<int>{0}
            << QStringList{u"44,1=Вода 1"_s, u"49,1=Вода 6"_s, u"49,4=2"_s} << u"Undo paste of 24 cells"_s
            << u"4 rows and one column"_s;
        QTest::newRow("editor open")
            << 0 << 1 << true << u"Вода\t1,20\nЧай\t0,90\n"_s << QString() << QList<int>{}
            << QStringList{u"0,1=Вода"_s, u"0,2=1.20"_s, u"1,1=Чай"_s, u"1,2=0.90"_s}
            << u"Undo paste of 4 cells"_s << QString();
    }

    void pasteLandsWhereMeant()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(bool, editorOpen);
        QFETCH(QString, clipboard);
        QFETCH(QString, html);
        QFETCH(QList<int>, choices);
        QFETCH(QStringList, cells);
        QFETCH(QString, undoText);
        QFETCH(QString, told);
        Editor e;
        e.dialogs.choices = choices;
        e.go(row, column);
        auto *data = new QMimeData;
        data->setText(clipboard);
        if (!html.isEmpty())
            data->setHtml(html);
        QApplication::clipboard()->setMimeData(data);
        if (editorOpen) {
            e.depts()->editItem(e.depts()->item(row, column));
            auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
            QVERIFY(editor);
            QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
            QCoreApplication::processEvents();
        } else {
            e.key(Qt::Key_V, Qt::ControlModifier);
        }
        for (const QString &cell : std::as_const(cells)) {
            const int comma = int(cell.indexOf(QLatin1Char(',')));
            const int equals = int(cell.indexOf(QLatin1Char('=')));
            QCOMPARE(e.text(cell.left(comma).toInt(), cell.mid(comma + 1, equals - comma - 1).toInt()),
                     cell.mid(equals + 1));
        }
        QCOMPARE(e.undoText(), undoText);
        QStringList said;
        for (const UserDialogs::Choice &asked : std::as_const(e.dialogs.choicesAsked))
            said << asked.text;
        for (const FakeDialogs::Message &message : std::as_const(e.dialogs.messages))
            said << message.text;
        QCOMPARE(said.size(), told.isEmpty() ? 0 : 1); // one question or one message, or none
        if (!told.isEmpty())
            QVERIFY2(said.at(0).contains(told), qPrintable(said.at(0)));
    }

    // After Ctrl+PgDn or Ctrl+PgUp the table in front has the keyboard, and
    // Tab walks its editable cells from the first: departments 1 to 3 and
    // the parameters' values are entered with the keyboard alone.
    void keyboardAloneAfterATabChange()
    {
        Editor e;
        e.window.form().tabMain->setCurrentIndex(0);
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        QTest::keyClick(focus, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(e.window.form().tabMain->currentIndex(), int(DocTable::Depts));
        QCOMPARE(QApplication::focusWidget(), e.depts());
        QTest::keyClick(e.depts(), Qt::Key_Tab); // onto department 1's name
        for (const QString &name : {u"Water"_s, u"Juice"_s, u"Tea"_s}) {
            e.type(name);
            QTest::keyClick(e.depts(), Qt::Key_Tab);
        }
        QCOMPARE(e.text(0, 1), u"Water"_s);
        QCOMPARE(e.text(1, 1), u"Juice"_s);
        QCOMPARE(e.text(2, 1), u"Tea"_s);
        // Text typed on a row number goes into that row's first editable cell.
        QTest::keyClick(e.depts(), Qt::Key_PageUp, Qt::ControlModifier);
        WTableWidget *params = e.window.documentTable(DocTable::Params);
        QCOMPARE(QApplication::focusWidget(), params);
        params->setCurrentCell(0, 0);
        QTest::keyClicks(params, u"5"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(params->cellText(0, 2), u"5"_s);
        QTest::keyClick(params, Qt::Key_Tab);
        QCOMPARE(params->currentRow(), 1);
        QCOMPARE(params->currentColumn(), 2);
    }

    // Labels are no document cells: Select All and Delete, or a paste over
    // them, leave every label as it was.
    void labelsNeverChange()
    {
        Editor e;
        e.go(0, 0);
        e.paste(QStringLiteral("1\tTea\t1.20\n2\tCoffee\n")); // copied with the row numbers
        QCOMPARE(e.text(0, 0), QStringLiteral("1"));
        QCOMPARE(e.text(1, 0), QStringLiteral("2"));
        QCOMPARE(e.text(1, 1), QStringLiteral("Coffee"));
        e.key(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(e.depts()->selectedItems().size(), 50 * 5);
        e.key(Qt::Key_Delete);
        QCOMPARE(e.text(0, 1), QString());
        QCOMPARE(e.undoText(), QStringLiteral("Undo deletion of 3 cells"));
        for (int r = 0; r < 50; ++r)
            QCOMPARE(e.text(r, 0), QString::number(r + 1));
        e.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(e.text(1, 1), QStringLiteral("Coffee"));
        QCOMPARE(e.text(1, 0), QStringLiteral("2"));
    }
};

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
