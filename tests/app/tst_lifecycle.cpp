#include "appidentity.h"
#include "encodingchoice.h"
#include "encodings.h"
#include "encodingtrust.h"
#include "fakedialogs.h"
#include "mainwindow.h"
#include "recoverykeeper.h"
#include "testsupport.h"
#include "ui_mainwindow.h"
#include "wtablewidget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <QLabel>

using namespace Qt::StringLiterals;

#include <sys/stat.h>

using tarvo::DocTable;

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QString cell(const MainWindow &window, DocTable table, int row, int column)
{
    return window.documentTable(table)->item(row, column)->text();
}

void type(MainWindow &window, DocTable table, int row, int column, const QString &text)
{
    window.documentTable(table)->item(row, column)->setText(text);
}

bool allDocumentCellsEmpty(const MainWindow &window)
{
    for (int t = 0; t < tarvo::kTableCount; ++t) {
        const DocTable kind = tarvo::tableAt(t);
        for (int r = 0; r < tarvo::rowCount(kind); ++r)
            for (int c = 0; c < tarvo::columnCount(kind); ++c)
                if (tarvo::isDocumentCell(kind, r, c) && !cell(window, kind, r, c).isEmpty())
                    return false;
    }
    return true;
}

} // namespace

class TestLifecycle : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir files;
    QString path(const char *name) const { return files.filePath(QString::fromLatin1(name)); }
    static QString status(const MainWindow &window) { return window.statusBar()->currentMessage(); }

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
        QDir(testsupport::isolate().path() + QStringLiteral("/state")).removeRecursively();
        editor::encodingIndex = 0;
        editor::applyEncoding();
    }

    void newAtStartAsksNothing()
    {
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        window.form().actionNew->trigger();
        QVERIFY(dialogs.questions.isEmpty());
        QCOMPARE(status(window), QStringLiteral("New Document"));
        QVERIFY(!window.isDocChanged());
        QVERIFY(allDocumentCellsEmpty(window));
    }

    // Unsaved changes are offered to be saved first, as when quitting; a
    // Save that is cancelled keeps the document. Only then the plain question.
    void newOpenAndDropWithUnsavedChangesAskToSave_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("New") << "new";
        QTest::newRow("Open") << "open";
        QTest::newRow("a dropped file or Recent Files") << "drop";
    }

    void newOpenAndDropWithUnsavedChangesAskToSave()
    {
        QFETCH(QString, how);
        writeFile(path("other.prg"), "S\t1\t7\r\n");
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        const auto replace = [&] {
            if (how == QLatin1String("new"))
                window.form().actionNew->trigger();
            else if (how == QLatin1String("open"))
                window.form().actionOpen->trigger();
            else
                window.openFile(path("other.prg"));
        };
        type(window, DocTable::Depts, 0, 1, QStringLiteral("Tea"));
        window.form().tabMain->setCurrentIndex(3);

        dialogs.choices = {2}; // Cancel
        replace();
        QCOMPARE(dialogs.choicesAsked.size(), 1);
        QCOMPARE(dialogs.choicesAsked.at(0).buttons, (QStringList{u"Save"_s, u"Discard"_s, u"Cancel"_s}));
        QCOMPARE(dialogs.choicesAsked.at(0).escapeButton, 2);
        QVERIFY(dialogs.questions.isEmpty());
        QCOMPARE(cell(window, DocTable::Depts, 0, 1), QStringLiteral("Tea"));
        QVERIFY(window.form().actionUndo->isEnabled());

        dialogs.choices = {0}; // Save, whose dialog is cancelled
        dialogs.files = {QString()};
        replace();
        QCOMPARE(cell(window, DocTable::Depts, 0, 1), QStringLiteral("Tea"));
        QVERIFY(window.hasUnsavedChanges());

        dialogs.choices = {1}; // Discard
        dialogs.files = {path("other.prg")};
        replace();
        QCOMPARE(cell(window, DocTable::Depts, 0, 1), QString());
        QVERIFY(!window.isDocChanged());
        QVERIFY(!window.form().actionUndo->isEnabled());
        QCOMPARE(window.form().tabMain->currentIndex(), 0);
        QCOMPARE(cell(window, DocTable::Depts, 0, 0), QStringLiteral("1")); // labels stay

        // Without unsaved changes, a titled document asks the plain question.
        if (how != QLatin1String("new")) {
            dialogs.answers = {false};
            window.form().actionNew->trigger();
            QCOMPARE(dialogs.questions.size(), 1);
            QCOMPARE(dialogs.questions.at(0).text, QStringLiteral("Do you want to close current document?"));
            QCOMPARE(dialogs.questions.at(0).title, QStringLiteral("TARVO VODI"));
            QCOMPARE(window.currentFileName(), path("other.prg"));
        }
    }

    // The title names what is open, marked while it has unsaved changes.
    void titleSaysWhatIsOpen()
    {
        writeFile(path("shop.prg"), "S\t1\t5\r\n");
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        const QString program = u" - TARVO VODI - v " TARVO_VERSION ""_s;
        QCOMPARE(window.windowTitle(), u"Untitled[*]"_s + program);
        QVERIFY(!window.isWindowModified());
        type(window, DocTable::Params, 1, 2, QStringLiteral("3"));
        QVERIFY(window.isWindowModified());
        window.form().actionUndo->trigger();
        QVERIFY(!window.isWindowModified());
        dialogs.files = {path("shop.prg")};
        window.form().actionOpen->trigger();
        QCOMPARE(window.windowTitle(), u"shop.prg[*]"_s + program);
        QCOMPARE(window.windowFilePath(), path("shop.prg"));
        QVERIFY(window.statusBar()->findChild<QLabel *>(QStringLiteral("encodingLabel"))->toolTip().contains(
            path("shop.prg")));
        type(window, DocTable::Params, 1, 2, QStringLiteral("3"));
        QVERIFY(window.isWindowModified());
        dialogs.files = {path("copy.prg")};
        window.form().actionSaveAs->trigger();
        QCOMPARE(window.windowTitle(), u"copy.prg[*]"_s + program);
        QVERIFY(!window.isWindowModified());
        // A failed Open that leaves the document untitled says so.
        dialogs.answers = {true};
        dialogs.files = {path("missing.prg")};
        window.form().actionOpen->trigger();
        QCOMPARE(window.windowTitle(), u"Untitled[*]"_s + program);
        QVERIFY2(status(window).contains(QStringLiteral("untitled")), qPrintable(status(window)));
    }

    // A file named on the command line that does not exist yet is a new
    // document that Save writes there.
    void aMissingFileIsANewDocumentOfThatName()
    {
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        window.openOrCreate(path("nova.prg"));
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(window.currentFileName(), path("nova.prg"));
        QVERIFY(!QFile::exists(path("nova.prg")));
        type(window, DocTable::Lines, 0, 1, QStringLiteral("НОВ"));
        window.form().actionSave->trigger();
        QVERIFY(dialogs.requests.isEmpty());
        QVERIFY(contentsOf(path("nova.prg")).contains("H\t1\t\xcd\xce\xc2\r\n"));
    }

    void openReadsTheFileUnchanged()
    {
        writeFile(path("shop.prg"), "\";x\"\r\nS\t1\t5\r\nD\t2\tWater\tA\t1.20\t2\r\nC\t0\tnote\r\n");
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        window.form().tabMain->setCurrentIndex(2);
        dialogs.files = {path("shop.prg")};
        window.form().actionOpen->trigger();
        QVERIFY(dialogs.questions.isEmpty());
        QCOMPARE(dialogs.requests.size(), 1);
        QCOMPARE(dialogs.requests.at(0).title, QStringLiteral("Open File"));
        QCOMPARE(dialogs.requests.at(0).filter, QStringLiteral("Data files (*.prg);;All files (*.*)"));
        QVERIFY(!dialogs.requests.at(0).forSaving);
        QCOMPARE(cell(window, DocTable::Params, 0, 2), QStringLiteral("5"));
        QCOMPARE(cell(window, DocTable::Depts, 1, 2), QStringLiteral("1.20"));
        QCOMPARE(cell(window, DocTable::Comments, 0, 1), QStringLiteral("note"));
        QCOMPARE(status(window), QStringLiteral("Document opened: ") + path("shop.prg"));
        QCOMPARE(window.currentFileName(), path("shop.prg"));
        QCOMPARE(window.form().tabMain->currentIndex(), 0);
        QVERIFY(!window.isDocChanged());
        QVERIFY(!window.form().actionUndo->isEnabled()); // a history of its own
        // The first dialog starts at home, the next where the last one ended.
        QCOMPARE(dialogs.requests.at(0).startDirectory, QDir::homePath());
        QCOMPARE(QSettings().value(QStringLiteral("DataFilePath")).toString(), files.path());
        QVERIFY2(!QGuiApplication::overrideCursor(), "the wait cursor outlived the read");

        // A titled document always has something to lose.
        window.form().actionNew->trigger();
        QCOMPARE(dialogs.questions.size(), 1);
    }

    // Cancelling the Open dialog keeps the document and its name.
    void openCancelledKeepsTheDocument()
    {
        writeFile(path("kept.prg"), "S\t1\t1\r\n");
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        dialogs.files = {path("kept.prg")};
        window.form().actionOpen->trigger();
        type(window, DocTable::Lines, 0, 1, QStringLiteral("SHOP"));
        window.statusBar()->showMessage(QStringLiteral("before"));
        dialogs.answers = {true};
        window.form().actionOpen->trigger(); // no file chosen
        QCOMPARE(cell(window, DocTable::Lines, 0, 1), QStringLiteral("SHOP"));
        QCOMPARE(cell(window, DocTable::Params, 0, 2), QStringLiteral("1"));
        QCOMPARE(window.currentFileName(), path("kept.prg"));
        QVERIFY(window.hasUnsavedChanges());
        QCOMPARE(status(window), QStringLiteral("before"));
    }

    void openOfAnUnreadableFileReports_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << path("missing.prg") << QStringLiteral("No such file or directory");
        // Neither may freeze the window: one waits for a writer, the other
        // never ends.
        QTest::newRow("FIFO") << path("pipe.prg") << QStringLiteral("Not a regular file");
        QTest::newRow("endless device") << QStringLiteral("/dev/zero") << QStringLiteral("Not a regular file");
        QTest::newRow("folder") << files.path() << QStringLiteral("Is a directory");
        // A read that fails is no end of file: nothing of it is shown.
        QTest::newRow("memory of a process") << QStringLiteral("/proc/self/mem") << QString();
    }

    void openOfAnUnreadableFileReports()
    {
        QFETCH(QString, file);
        QFETCH(QString, reason);
        if (file.endsWith(QLatin1String("pipe.prg")) && !QFile::exists(file))
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0644), 0);
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        dialogs.files = {file};
        window.form().tabMain->setCurrentIndex(4);
        window.form().actionOpen->trigger();
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.at(0).icon, QMessageBox::Critical);
        // The editor's line first, then why, then what to do.
        const QStringList lines = dialogs.messages.at(0).text.split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("Failed to open for reading file ") + file);
        if (reason.isEmpty())
            QVERIFY(lines.value(1).startsWith(QStringLiteral("Reason: ")));
        else
            QCOMPARE(lines.value(1), QStringLiteral("Reason: ") + reason);
        QVERIFY(!lines.value(3).isEmpty());
        QCOMPARE(window.form().tabMain->currentIndex(), 4);
        // The file that failed is no save target: Save asks for a name.
        QVERIFY(window.currentFileName().isEmpty());
        window.form().actionSave->trigger();
        QCOMPARE(dialogs.requests.size(), 2);
        QVERIFY(dialogs.requests.at(1).forSaving);
    }

    // A file in which no line is a record or a comment is no program: the
    // document and its name stay, and Save does not touch that file.
    void aFileThatIsNoProgramIsNotTaken()
    {
        QByteArray garbage;
        for (int i = 0; i < 3000; ++i)
            garbage += char((i * 7919 + 13) % 256);
        writeFile(path("garbage.prg"), garbage);
        writeFile(path("before.prg"), "S\t1\t1\r\n");
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        dialogs.files = {path("before.prg"), path("garbage.prg")};
        window.form().actionOpen->trigger();
        dialogs.answers = {true};
        window.form().actionOpen->trigger();
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages.at(0).text.contains(QStringLiteral("is not a program file")),
                 qPrintable(dialogs.messages.at(0).text));
        QCOMPARE(window.currentFileName(), path("before.prg"));
        QCOMPARE(cell(window, DocTable::Params, 0, 2), QStringLiteral("1"));
        window.form().actionSave->trigger();
        QCOMPARE(contentsOf(path("garbage.prg")), garbage);
    }

    // Save takes what an open cell editor holds, through the same check as
    // Return: the file holds what the window shows.
    void saveCommitsAnOpenCellEditor_data()
    {
        QTest::addColumn<int>("table");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("parameter value") << int(DocTable::Params) << 2 << QStringLiteral("SECOND")
                                         << QStringLiteral("SECOND") << QByteArray("S\t1\tSECOND\r\n");
        QTest::newRow("price refused") << int(DocTable::Depts) << 2 << QStringLiteral("abc") << QString()
                                       << QByteArray("D\t1\tWater\t\t\t\r\n");
        QTest::newRow("price taken") << int(DocTable::Depts) << 2 << QStringLiteral("2.50")
                                     << QStringLiteral("2.50") << QByteArray("D\t1\tWater\t\t2.50\t\r\n");
        QTest::newRow("decimal comma") << int(DocTable::Depts) << 2 << QStringLiteral("1,50")
                                       << QStringLiteral("1.50") << QByteArray("D\t1\tWater\t\t1.50\t\r\n");
    }

    void saveCommitsAnOpenCellEditor()
    {
        QFETCH(int, table);
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QByteArray, line);
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        type(window, DocTable::Depts, 0, 1, QStringLiteral("Water"));
        type(window, DocTable::Depts, 0, 2, QStringLiteral("1.20"));
        WTableWidget *view = window.documentTable(DocTable(table));
        window.form().tabMain->setCurrentIndex(table);
        view->setCurrentCell(0, column);
        view->editItem(view->item(0, column));
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, typed);
        dialogs.files = {path("open-editor.prg"), path("open-editor-as.prg")};
        window.form().actionSave->trigger();
        QCOMPARE(status(window), QStringLiteral("Document saved: ") + path("open-editor.prg"));
        QCOMPARE(cell(window, DocTable(table), 0, column), stored);
        QVERIFY2(contentsOf(path("open-editor.prg")).contains(line), contentsOf(path("open-editor.prg")).constData());
        QVERIFY(!qobject_cast<QLineEdit *>(QApplication::focusWidget()));

        // Save As the same.
        view->editItem(view->item(0, column));
        editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, typed);
        window.form().actionSaveAs->trigger();
        QVERIFY(contentsOf(path("open-editor-as.prg")).contains(line));
    }

    // A value a numeric cell refuses empties it, and the status bar says
    // which value went and why.
    void refusedValueIsToldInTheStatusBar()
    {
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.form().tabMain->setCurrentIndex(1);
        WTableWidget *view = window.documentTable(DocTable::Depts);
        view->setCurrentCell(2, 2);
        view->editItem(view->item(2, 2));
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("1.2.3"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(cell(window, DocTable::Depts, 2, 2), QString());
        QCOMPARE(status(window), QStringLiteral("Value \"1.2.3\" refused in Departments, row 3, Price: it is not a "
                                                "decimal number; the cell is empty"));
    }

    void saveAsksForANameAndAppendsTheExtension()
    {
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        type(window, DocTable::Params, 2, 2, QStringLiteral("1"));
        QDir(files.path()).mkpath(QStringLiteral("plain"));
        const QString chosen = files.path() + QStringLiteral("/plain/fleet");
        dialogs.files = {chosen};
        window.form().actionSave->trigger();
        QCOMPARE(dialogs.requests.size(), 1);
        QCOMPARE(dialogs.requests.at(0).title, QStringLiteral("Save to File"));
        QVERIFY(dialogs.requests.at(0).forSaving);
        QCOMPARE(window.currentFileName(), chosen + QStringLiteral(".prg"));
        QVERIFY(contentsOf(chosen + QStringLiteral(".prg")).contains("\r\nS\t3\t1\r\n"));
        QCOMPARE(status(window), QStringLiteral("Document saved: ") + chosen + QStringLiteral(".prg"));
        QVERIFY(dialogs.messages.isEmpty());

        // Saving again goes to the same file without a dialog.
        type(window, DocTable::Params, 2, 2, QStringLiteral("2"));
        window.form().actionSave->trigger();
        QCOMPARE(dialogs.requests.size(), 1);
        QVERIFY(contentsOf(chosen + QStringLiteral(".prg")).contains("\r\nS\t3\t2\r\n"));
    }

    void saveDialogExtensionRule_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("saved");
        QTest::newRow("no dot") << "/tmp/x/a" << "/tmp/x/a.prg";
        QTest::newRow("own extension") << "/tmp/x/a.txt" << "/tmp/x/a.txt";
        QTest::newRow("dot in folder") << "/tmp/x.d/a" << "/tmp/x.d/a";
    }
    void saveDialogExtensionRule()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, saved);
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        dialogs.files = {chosen};
        QString fileName;
        QVERIFY(window.chooseSaveFile(&fileName));
        QCOMPARE(fileName, saved);
    }

    void saveCancelledWritesAndShowsNothing()
    {
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        window.statusBar()->showMessage(QStringLiteral("before"));
        window.form().actionSave->trigger();
        QCOMPARE(dialogs.requests.size(), 1);
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(status(window), QStringLiteral("before"));
    }

    void saveAsCancelledLeavesTheDocumentUntitled()
    {
        writeFile(path("titled.prg"), "S\t1\t1\r\n");
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        dialogs.files = {path("titled.prg")};
        window.form().actionOpen->trigger();
        window.form().actionSaveAs->trigger(); // cancelled
        QVERIFY(window.currentFileName().isEmpty());
        QCOMPARE(contentsOf(path("titled.prg")), QByteArray("S\t1\t1\r\n"));
        window.form().actionSave->trigger(); // asks again
        QCOMPARE(dialogs.requests.size(), 3);
    }

    void writeIntoAReadOnlyFileReportsAndKeepsIt()
    {
        writeFile(path("locked.prg"), "previous");
        QFile::setPermissions(path("locked.prg"), QFileDevice::ReadOwner);
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        type(window, DocTable::Lines, 0, 1, QStringLiteral("new"));
        dialogs.files = {path("locked.prg")};
        window.form().actionSave->trigger();
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.at(0).icon, QMessageBox::Critical);
        const QStringList lines = dialogs.messages.at(0).text.split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("Faild to open for writing file ") + path("locked.prg"));
        QCOMPARE(lines.value(1), QStringLiteral("Reason: The file is read-only"));
        // A refusal points to the way out.
        QVERIFY2(lines.value(3).contains(QLatin1String("Save As")), qPrintable(lines.value(3)));
        QCOMPARE(window.currentFileName(), path("locked.prg"));
        QCOMPARE(contentsOf(path("locked.prg")), QByteArray("previous"));
        QVERIFY(status(window).isEmpty());
    }

    void saveWarnsAboutLettersTheCodePageCannotHold()
    {
        QSettings().setValue(QStringLiteral("EncodingIndex"), 3); // CP1252
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        type(window, DocTable::Depts, 4, 1, QStringLiteral("Чай"));
        dialogs.files = {path("latin.prg")};
        window.form().actionSave->trigger();
        QCOMPARE(status(window), QStringLiteral("Document saved: ") + path("latin.prg"));
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.at(0).icon, QMessageBox::Warning);
        QVERIFY(dialogs.messages.at(0).text.contains(QStringLiteral("CP1252")));
        QVERIFY2(dialogs.messages.at(0).text.contains(QStringLiteral("Departments, row 5, Name: Чай")),
                 qPrintable(dialogs.messages.at(0).text));
        QVERIFY(contentsOf(path("latin.prg")).contains("D\t5\t???\t"));
    }

    // However many cells lose letters, the real warning box stays within
    // the screen, so its OK button can be reached; every cell is named in
    // its details.
    void replacedCharactersWarningFitsTheScreen()
    {
        struct MeasuringDialogs : FakeDialogs
        {
            int height = 0;
            QString details;
            void showMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                             const QString &detailsText) override
            {
                QTimer::singleShot(0, [this] {
                    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                    if (!box)
                        return;
                    height = box->frameGeometry().height();
                    details = box->detailedText();
                    box->accept();
                });
                UserDialogs::showMessage(parent, icon, title, text, detailsText);
            }
        };
        QSettings().setValue(QStringLiteral("EncodingIndex"), 3); // CP1252
        MeasuringDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        for (int row = 0; row < tarvo::rowCount(DocTable::Depts); ++row) {
            type(window, DocTable::Depts, row, 1, QStringLiteral("Чай и кафе %1").arg(row));
            type(window, DocTable::Depts, row, 3, QStringLiteral("Ж"));
        }
        dialogs.files = {path("many.prg")};
        window.form().actionSave->trigger();
        QVERIFY(dialogs.height > 0);
        QVERIFY2(dialogs.height <= window.screen()->availableGeometry().height(),
                 qPrintable(QStringLiteral("the box is %1 pixels high").arg(dialogs.height)));
        QCOMPARE(dialogs.details.count(QLatin1Char('\n')) + 1, 100);
        QVERIFY(dialogs.details.contains(QStringLiteral("Departments, row 50, Tax: Ж")));
    }

    void cyrillicRoundTripThroughTheWindow()
    {
        QSettings().setValue(QStringLiteral("EncodingIndex"), 2); // CP1251
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        type(window, DocTable::Depts, 0, 1, QStringLiteral("Вода"));
        type(window, DocTable::Depts, 0, 2, QStringLiteral("1.20"));
        type(window, DocTable::Comments, 0, 1, QStringLiteral("Бележка"));
        dialogs.files = {path("cyr.prg"), path("cyr.prg")};
        window.form().actionSave->trigger();
        QVERIFY(contentsOf(path("cyr.prg")).contains("D\t1\t\xC2\xEE\xE4\xE0\t\t1.20\t\r\n"));
        QVERIFY(dialogs.messages.isEmpty());
        dialogs.answers = {true};
        window.form().actionOpen->trigger();
        QCOMPARE(cell(window, DocTable::Depts, 0, 1), QStringLiteral("Вода"));
        QCOMPARE(cell(window, DocTable::Comments, 0, 1), QStringLiteral("Бележка"));
    }

    // A file opened in an encoding whose characters its bytes are not, or
    // in which it reads as unlikely text, is not shown as if nothing
    // happened: the likely encoding is offered, and can become the setting.
    void openOffersTheEncodingTheFileReadsCleanlyIn_data()
    {
        QTest::addColumn<QByteArray>("codec");
        QTest::addColumn<int>("setting");
        QTest::addColumn<QString>("offered");
        QTest::addColumn<bool>("makeSetting");
        QTest::newRow("CP1251 read as ISO 8859-5") << QByteArray("windows-1251") << 14 << "Open in CP1251" << true;
        QTest::newRow("ISO 8859-5 read as CP1251") << QByteArray("ISO-8859-5") << 2 << "Open in ISO 8859-5" << false;
        // Written where "System" was UTF-8: UTF-8 is offered, though it is no
        // setting (no device reads it).
        QTest::newRow("UTF-8 read as System") << QByteArray("UTF-8") << 0 << "Open in UTF-8" << false;
        QTest::newRow("UTF-8 with a byte order mark") << QByteArray("UTF-8 BOM") << 2 << "Open in UTF-8" << false;
    }

    void openOffersTheEncodingTheFileReadsCleanlyIn()
    {
        QFETCH(QByteArray, codec);
        QFETCH(int, setting);
        QFETCH(QString, offered);
        QFETCH(bool, makeSetting);
        QSettings().setValue(QStringLiteral("EncodingIndex"), setting);
        const QString shop = QStringLiteral("D\t1\tВода\tА\t1.20\t2\r\nH\t1\tМАГАЗИН\r\n");
        const bool byteOrderMark = codec.endsWith(" BOM");
        codec.replace(" BOM", "");
        writeFile(path("shop.prg"), (byteOrderMark ? QByteArray("\xef\xbb\xbf") : QByteArray())
                                        + QTextCodec::codecForName(codec)->fromUnicode(shop));
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        QVERIFY(window.statusBar()->findChild<QLabel *>(QStringLiteral("encodingLabel")));
        dialogs.files = {path("shop.prg")};
        dialogs.choices = {0};
        dialogs.checks = {makeSetting};
        window.form().actionOpen->trigger();
        QCOMPARE(dialogs.choicesAsked.size(), 1);
        QCOMPARE(dialogs.choicesAsked.at(0).buttons.value(0), offered);
        QCOMPARE(cell(window, DocTable::Depts, 0, 1), QStringLiteral("Вода"));
        QCOMPARE(cell(window, DocTable::Lines, 0, 1), QStringLiteral("МАГАЗИН"));
        const QString encoding = offered.mid(8);
        QVERIFY2(window.statusBar()->findChild<QLabel *>(QStringLiteral("encodingLabel"))->text().startsWith(encoding),
                 qPrintable(window.statusBar()->findChild<QLabel *>(QStringLiteral("encodingLabel"))->text()));
        QCOMPARE(editor::encodingIndex == setting, !makeSetting);
        QCOMPARE(QSettings().value(QStringLiteral("EncodingIndex")).toInt() == setting, !makeSetting);
        // Saved again, the file keeps its bytes whatever the setting.
        dialogs.choices = {0};
        window.form().actionSave->trigger();
        for (const QString &line : shop.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            QVERIFY2(contentsOf(path("shop.prg")).contains(QTextCodec::codecForName(codec)->fromUnicode(line)),
                     contentsOf(path("shop.prg")).constData());
    }

    // Bytes that are no characters of the encoding can be opened as they
    // are, but Save over the file asks first, naming the cells; saving in
    // another encoding than the one read asks which.
    void savingWhatWasReadWithLossAsks()
    {
        const QByteArray lossy("D\t1\tTea \x98\x81\tA\t1.20\t2\r\n");
        writeFile(path("lossy.prg"), lossy);
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        dialogs.files = {path("lossy.prg")};
        dialogs.choices = {int(qMin<qsizetype>(3, tarvo::cleanEncodings(lossy).size()))}; // as it is
        window.form().actionOpen->trigger();
        QCOMPARE(dialogs.choicesAsked.size(), 1);
        QVERIFY(dialogs.choicesAsked.at(0).text.contains(QStringLiteral("no characters of System (CP1251)")));
        QVERIFY(dialogs.choicesAsked.at(0).buttons.contains(QStringLiteral("Open in System (CP1251) as it is")));
        QCOMPARE(window.currentFileName(), path("lossy.prg"));
        dialogs.choices = {1}; // Cancel
        window.form().actionSave->trigger();
        QCOMPARE(dialogs.choicesAsked.size(), 2);
        QVERIFY2(dialogs.choicesAsked.at(1).text.contains(QStringLiteral("Departments, row 1, Name")),
                 qPrintable(dialogs.choicesAsked.at(1).text));
        QCOMPARE(contentsOf(path("lossy.prg")), QByteArray("D\t1\tTea \x98\x81\tA\t1.20\t2\r\n"));
        // A file read cleanly, saved after the setting changed.
        writeFile(path("cp1251.prg"), "D\t1\t\xc2\xee\xe4\xe0 \xec\xe8\xed\xe5\xf0\xe0\xeb\xed\xe0\tA\t1.20\t2\r\n");
        QSettings().setValue(QStringLiteral("EncodingIndex"), 2);
        editor::encodingIndex = 2;
        editor::applyEncoding();
        dialogs.answers = {true};
        dialogs.files = {path("cp1251.prg")};
        window.form().actionOpen->trigger();
        QCOMPARE(dialogs.choicesAsked.size(), 2);
        editor::encodingIndex = 3;
        editor::applyEncoding();
        dialogs.choices = {2}; // Cancel
        window.form().actionSave->trigger();
        QCOMPARE(dialogs.choicesAsked.size(), 3);
        QCOMPARE(dialogs.choicesAsked.at(2).buttons, (QStringList{u"Save in CP1251"_s, u"Save in CP1252"_s, u"Cancel"_s}));
        QVERIFY(contentsOf(path("cp1251.prg")).startsWith("D\t1\t\xc2"));
        // The answer holds for the document: asked once, not at every Save.
        dialogs.choices = {0}; // Save in CP1251
        window.form().actionSave->trigger();
        QCOMPARE(dialogs.choicesAsked.size(), 4);
        type(window, DocTable::Depts, 0, 2, QStringLiteral("1.30"));
        window.form().actionSave->trigger();
        QCOMPARE(dialogs.choicesAsked.size(), 4);
        QVERIFY(contentsOf(path("cp1251.prg")).contains("D\t1\t\xc2\xee\xe4\xe0 \xec\xe8\xed\xe5\xf0\xe0\xeb\xed\xe0\tA\t1.30"));
    }

    // Rows the file cannot carry are named after the save and stay.
    void saveNamesTheRowsTheFileCannotCarry()
    {
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        type(window, DocTable::Depts, 1, 2, QStringLiteral("1.20"));
        type(window, DocTable::Payments, 0, 1, QStringLiteral("Cash"));
        dialogs.files = {path("nameless.prg")};
        window.form().actionSave->trigger();
        QCOMPARE(status(window), QStringLiteral("Document saved: ") + path("nameless.prg"));
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages.at(0).text.contains(QStringLiteral("Departments, row 2: no Name")),
                 qPrintable(dialogs.messages.at(0).text));
        QVERIFY(dialogs.messages.at(0).text.contains(QStringLiteral("Payments, row 1: no Value")));
        QCOMPARE(cell(window, DocTable::Depts, 1, 2), QStringLiteral("1.20"));
    }

    // Another program's change is noticed: Save asks before replacing it,
    // naming the cells it changed; with nothing unsaved, reload is offered.
    void changesOnDiskAreNoticed()
    {
        writeFile(path("shared.prg"), "D\t1\tWater\tA\t1.20\t2\r\nD\t2\tTea\tA\t2.00\t2\r\n");
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        dialogs.files = {path("shared.prg")};
        window.form().actionOpen->trigger();
        writeFile(path("shared.prg"), "D\t1\tWater\tA\t9.99\t2\r\nD\t2\tTea\tA\t2.00\t2\r\n");
        window.checkDiskChange();
        QCOMPARE(dialogs.questions.size(), 1);
        QVERIFY(dialogs.questions.at(0).text.contains(QStringLiteral("Reload it?")));
        QCOMPARE(cell(window, DocTable::Depts, 0, 2), QStringLiteral("1.20")); // answered No

        // Both the window and the file changed: asked at once, with the
        // values of both.
        type(window, DocTable::Depts, 1, 2, QStringLiteral("3.00"));
        writeFile(path("shared.prg"), "D\t1\tWater\tA\t8.88\t2\r\nD\t2\tTea\tA\t2.00\t2\r\n");
        dialogs.choices = {0}; // Keep the window's
        window.checkDiskChange();
        QCOMPARE(dialogs.choicesAsked.size(), 1);
        QCOMPARE(dialogs.choicesAsked.at(0).buttons,
                 (QStringList{u"Keep the window's"_s, u"Take the file's"_s, u"Cancel"_s}));
        QVERIFY2(dialogs.choicesAsked.at(0).text.contains(u"Departments, row 1, Price: window \"1.20\", file \"8.88\""_s),
                 qPrintable(dialogs.choicesAsked.at(0).text));
        QVERIFY(dialogs.choicesAsked.at(0).text.contains(u"Departments, row 2, Price: window \"3.00\", file \"2.00\""_s));
        QCOMPARE(cell(window, DocTable::Depts, 1, 2), QStringLiteral("3.00"));
        // And again at Save, where the safe answer writes nothing.
        dialogs.choices = {2}; // Cancel
        window.form().actionSave->trigger();
        QCOMPARE(dialogs.choicesAsked.size(), 2);
        QCOMPARE(dialogs.choicesAsked.at(1).defaultButton, 2);
        QVERIFY2(dialogs.choicesAsked.at(1).text.contains(u"window \"1.20\", file \"8.88\""_s),
                 qPrintable(dialogs.choicesAsked.at(1).text));
        QVERIFY(contentsOf(path("shared.prg")).contains("8.88"));
        dialogs.choices = {0}; // Keep the window's: overwrite
        window.form().actionSave->trigger();
        QVERIFY(contentsOf(path("shared.prg")).contains("3.00"));
        // The editor's own save is no change by another program.
        window.checkDiskChange();
        window.form().actionSave->trigger();
        QCOMPARE(dialogs.choicesAsked.size(), 3);
        QCOMPARE(dialogs.questions.size(), 1);

        writeFile(path("shared.prg"), "D\t1\tWater\tA\t5.55\t2\r\n");
        dialogs.answers = {true};
        window.checkDiskChange();
        QCOMPARE(cell(window, DocTable::Depts, 0, 2), QStringLiteral("5.55"));
        QVERIFY(!window.hasUnsavedChanges());
        // Taking the file's drops the window's edits, deliberately.
        type(window, DocTable::Depts, 0, 1, QStringLiteral("Juice"));
        writeFile(path("shared.prg"), "D\t1\tWater\tA\t6.66\t2\r\n");
        dialogs.choices = {1}; // Take the file's
        window.checkDiskChange();
        QCOMPARE(cell(window, DocTable::Depts, 0, 1), QStringLiteral("Water"));
        QCOMPARE(cell(window, DocTable::Depts, 0, 2), QStringLiteral("6.66"));
        QVERIFY(!window.hasUnsavedChanges());
    }

    // With unsaved changes, quitting offers to save them.
    void quitWithUnsavedChangesOffersToSave()
    {
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        type(window, DocTable::Depts, 0, 1, QStringLiteral("Tea"));
        dialogs.choices = {2}; // Cancel
        QVERIFY(!window.close());
        QCOMPARE(dialogs.choicesAsked.size(), 1);
        QCOMPARE(dialogs.choicesAsked.at(0).buttons, (QStringList{u"Save"_s, u"Discard"_s, u"Cancel"_s}));
        QVERIFY(dialogs.questions.isEmpty());
        dialogs.choices = {0}; // Save, whose dialog is cancelled: the window stays
        QVERIFY(!window.close());
        QCOMPARE(dialogs.requests.size(), 1);
        dialogs.choices = {0};
        dialogs.files = {path("quit.prg")};
        QVERIFY(window.close());
        QVERIFY(contentsOf(path("quit.prg")).contains("D\t1\tTea\t"));
    }

    // Unsaved edits are kept in the state folder a moment after a change;
    // after a crash the next start offers them back, and Save removes them.
    void unsavedEditsSurviveACrash()
    {
        writeFile(path("crash.prg"), "S\t1\t1\r\n");
        QString kept;
        {
            FakeDialogs dialogs;
            auto *window = new MainWindow(nullptr, &dialogs);
            dialogs.files = {path("crash.prg")};
            window->form().actionOpen->trigger();
            type(*window, DocTable::Depts, 3, 1, QStringLiteral("Кафе"));
            kept = window->recoveryKeeper()->path();
            QVERIFY(kept.startsWith(testsupport::isolate().path() + QStringLiteral("/state/tarvo/")));
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(kept), 20000);
            delete window; // ends without a word, as a crash would
        }
        QVERIFY(QFile::exists(kept));
        // Meanwhile another program changes the file.
        writeFile(path("crash.prg"), "S\t1\t2\r\n");
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        dialogs.choices = {0, 0}; // Restore, then Overwrite
        window.offerRecovery();
        QCOMPARE(dialogs.choicesAsked.size(), 1);
        QVERIFY(dialogs.choicesAsked.at(0).text.contains(path("crash.prg")));
        QCOMPARE(cell(window, DocTable::Depts, 3, 1), QStringLiteral("Кафе"));
        QCOMPARE(window.currentFileName(), path("crash.prg"));
        QVERIFY(window.hasUnsavedChanges());
        window.form().actionSave->trigger();
        QCOMPARE(dialogs.choicesAsked.size(), 2);
        QVERIFY(dialogs.choicesAsked.at(1).text.startsWith(QStringLiteral("Another program has changed")));
        // The cells are named with both values, after a Restore too.
        QVERIFY2(dialogs.choicesAsked.at(1).text.contains(u"System Params, row 1, Value: window \"1\", file \"2\""_s),
                 qPrintable(dialogs.choicesAsked.at(1).text));
        QVERIFY(contentsOf(path("crash.prg")).contains("D\t4\t"));
        QVERIFY(!QFile::exists(kept));
    }

    // Recovery that cannot be kept is said, once, with the folder.
    void recoveryThatCannotBeKeptIsSaid()
    {
        const QString state = testsupport::isolate().path() + QStringLiteral("/state");
        writeFile(state, "a file where the state folder belongs");
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        type(window, DocTable::Depts, 0, 1, QStringLiteral("Tea"));
        window.recoveryKeeper()->keepNow();
        QVERIFY2(status(window).startsWith(QStringLiteral("Unsaved edits cannot be kept for recovery: ")),
                 qPrintable(status(window)));
        QVERIFY2(status(window).contains(state), qPrintable(status(window)));
        window.statusBar()->showMessage(QStringLiteral("later"));
        type(window, DocTable::Depts, 1, 1, QStringLiteral("Juice"));
        window.recoveryKeeper()->keepNow();
        QCOMPARE(status(window), QStringLiteral("later"));
        QFile::remove(state);
    }

    void quitAnsweredNoLeavesSettingsUntouched()
    {
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.close());
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(dialogs.questions.at(0).icon, QMessageBox::Information);
        QCOMPARE(dialogs.questions.at(0).text, QStringLiteral("Do you want to quit application?"));
        QVERIFY(window.isVisible());
        QVERIFY(QSettings().allKeys().isEmpty());
    }

    void quitAnsweredYesStoresAndRestoresTheWindow()
    {
        {
            FakeDialogs dialogs;
            MainWindow window(nullptr, &dialogs);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.resize(780, 560);
            window.form().toolBar->hide();
            dialogs.answers = {true};
            QVERIFY(window.close());
        }
        QVERIFY(QSettings().contains(QStringLiteral("Geometry")));
        QVERIFY(QSettings().contains(QStringLiteral("WindowState")));
        {
            FakeDialogs dialogs;
            MainWindow again(nullptr, &dialogs);
            QCOMPARE(again.size(), QSize(780, 560));
            QVERIFY(again.form().toolBar->isHidden());
            // Stored on a larger screen or at a smaller scale factor: larger
            // than this screen.
            again.show();
            QVERIFY(QTest::qWaitForWindowExposed(&again));
            again.resize(again.screen()->availableGeometry().size() * 2);
            dialogs.answers = {true};
            QVERIFY(again.close());
        }
        FakeDialogs dialogs;
        MainWindow fitted(nullptr, &dialogs);
        const QRect screen = fitted.screen()->availableGeometry();
        QVERIFY2(fitted.width() <= screen.width() && fitted.height() <= screen.height(),
                 qPrintable(QStringLiteral("%1x%2").arg(fitted.width()).arg(fitted.height())));
    }

    void unusableStoredWindowSettingsAreIgnored()
    {
        QSettings().setValue(QStringLiteral("Geometry"), QByteArray("garbage"));
        QSettings().setValue(QStringLiteral("WindowState"), QByteArray("\x01\x02"));
        QSettings().setValue(QStringLiteral("EncodingIndex"), 2);
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        QCOMPARE(window.size(), QSize(740, 540));
        QCOMPARE(editor::encodingIndex, 2);
        QCOMPARE(editor::currentCodec()->toUnicode("\xC0"), QString(QChar(0x0410)));
    }
};

QTEST_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
