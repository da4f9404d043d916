// The editor's own work on a document, through the real window (offscreen):
// Open of a typical file (2.3 KB), of one of 200 KB and of one at the size
// limit (4 MiB), each through the path File > Open takes (the checked read,
// the encoding question's judgement, the document, the five tables), set to
// CP1251 as the files are; beside each, plain Qt reading and showing the
// same cells (QFile, QTextCodec, five QTableWidgets of the same sizes), the
// reference Open is measured against. Then a paste of 50 department rows
// and the undo of that paste.

#include "benchfiles.h"
#include "programfiles.h"

#include "appidentity.h"
#include "document.h"
#include "encodingchoice.h"
#include "mainwindow.h"
#include "ui_mainwindow.h"
#include "userdialogs.h"
#include "wtablewidget.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMainWindow>
#include <QSettings>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <array>
#include <memory>

namespace {

// Answers nothing on screen: the benchmarks never open a dialog. A question
// about the encoding is counted (the files read cleanly and plausibly in
// CP1251, so there should be none) and answered "as it is".
class NoDialogs : public UserDialogs
{
public:
    bool askYesNo(QWidget *, QMessageBox::Icon, const QString &, const QString &) override { return true; }
    void showMessage(QWidget *, QMessageBox::Icon, const QString &, const QString &, const QString &) override {}
    int askChoice(QWidget *, const Choice &choice, bool *) override
    {
        ++questions;
        return int(choice.buttons.size()) - 2;
    }
    int questions = 0;
};

// Plain Qt showing a program file: a window with five tables of the
// document's sizes, the file read with QFile and decoded with QTextCodec,
// each record's cells put into its row.
class PlainWindow : public QMainWindow
{
public:
    PlainWindow()
    {
        auto *tabs = new QTabWidget(this);
        const std::array<std::array<int, 2>, 5> sizes{{{26, 3}, {50, 5}, {8, 2}, {1, 2}, {4, 4}}};
        for (size_t t = 0; t < sizes.size(); ++t) {
            auto *table = new QTableWidget(sizes[t][0], sizes[t][1], tabs);
            for (int r = 0; r < table->rowCount(); ++r)
                for (int c = 0; c < table->columnCount(); ++c)
                    table->setItem(r, c, new QTableWidgetItem);
            tables[t] = table;
            tabs->addTab(table, QString::number(t + 1));
        }
        setCentralWidget(tabs);
        resize(800, 600);
    }

    bool open(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        const QString text = codec->toUnicode(file.readAll());
        for (QStringView line : QStringView(text).split(u'\n')) {
            if (line.endsWith(u'\r'))
                line.chop(1);
            const QList<QStringView> cells = line.split(u'\t');
            if (cells.size() < 2 || cells.at(0).size() != 1)
                continue;
            const int table = QStringView(u"SDHCY").indexOf(cells.at(0).at(0));
            const int row = cells.at(1).toInt() - 1;
            if (table < 0 || row < 0 || row >= tables[size_t(table)]->rowCount())
                continue;
            QTableWidget *shown = tables[size_t(table)];
            for (int c = 1; c < qMin(int(cells.size()) - 1, shown->columnCount()); ++c)
                shown->item(row, c)->setText(cells.at(c + 1).toString());
        }
        return true;
    }

    void clear()
    {
        for (QTableWidget *table : tables)
            for (int r = 0; r < table->rowCount(); ++r)
                for (int c = 1; c < table->columnCount(); ++c)
                    table->item(r, c)->setText(QString());
    }

private:
    std::array<QTableWidget *, 5> tables{};
    QTextCodec *codec = QTextCodec::codecForName("windows-1251");
};

struct Editor
{
    QTemporaryDir dir;
    QString typical = benchfiles::writeTypicalFile(dir.path());
    QString medium = benchfiles::writeValidFile(dir.path(), 200 * 1024, QStringLiteral("medium.prg"));
    QString large = benchfiles::writeValidFile(dir.path());
    NoDialogs dialogs;
    std::unique_ptr<MainWindow> window;
    PlainWindow plain;
    QString fiftyRows;

    Editor()
    {
        // The files are CP1251, and so is the setting.
        QSettings().setValue(QStringLiteral("EncodingIndex"), 2);
        window = std::make_unique<MainWindow>(nullptr, &dialogs);
        for (int r = 0; r < 50; ++r)
            fiftyRows += QStringLiteral("Минерална вода %1\t1.%2\tБ\t2\r\n").arg(r + 1).arg(r % 100, 2, 10, QLatin1Char('0'));
        window->show();
        plain.show();
        QCoreApplication::processEvents(); // shown, so that they paint
    }

    QString file(int which) const { return which == 0 ? typical : which == 1 ? medium : large; }
};

// Made at the first benchmark, gone before the application (main() ends it).
std::unique_ptr<Editor> g_editor;

Editor &editor()
{
    if (!g_editor)
        g_editor = std::make_unique<Editor>();
    return *g_editor;
}

// What the window shows after an Open, painted (offscreen).
void shown(QWidget *window)
{
    QCoreApplication::sendPostedEvents();
    window->repaint();
}

// Arguments: 0 the typical file, 1 the 200 KB one, 2 the 4 MiB one.
void BM_Editor_Open(benchmark::State &state)
{
    Editor &e = editor();
    const QString path = e.file(int(state.range(0)));
    const int asked = e.dialogs.questions;
    for (auto _ : state) {
        state.PauseTiming();
        e.window->currentDocument()->makeNew(); // as after New
        shown(e.window.get());
        state.ResumeTiming();
        if (!e.window->readProgramFile(path))
            state.SkipWithError("cannot open");
        shown(e.window.get());
    }
    state.counters["questions"] = e.dialogs.questions - asked;
    state.counters["KB"] = double(QFile(path).size()) / 1024;
}

// The same files opened with the setting at ISO 8859-5, in which they read
// cleanly but as unlikely text: the encodings are judged and the question
// is asked (and answered "as it is").
void BM_Editor_OpenAsking(benchmark::State &state)
{
    Editor &e = editor();
    const QString path = e.file(int(state.range(0)));
    const int asked = e.dialogs.questions;
    const int setting = editor::encodingIndex;
    editor::encodingIndex = 14;
    for (auto _ : state) {
        state.PauseTiming();
        e.window->currentDocument()->makeNew();
        shown(e.window.get());
        state.ResumeTiming();
        if (!e.window->readProgramFile(path))
            state.SkipWithError("cannot open");
        shown(e.window.get());
    }
    editor::encodingIndex = setting;
    state.counters["questions"] = double(e.dialogs.questions - asked) / double(state.iterations());
    state.counters["KB"] = double(QFile(path).size()) / 1024;
}

void BM_PlainQt_Open(benchmark::State &state)
{
    Editor &e = editor();
    const QString path = e.file(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        e.plain.clear();
        shown(&e.plain);
        state.ResumeTiming();
        if (!e.plain.open(path))
            state.SkipWithError("cannot open");
        shown(&e.plain);
    }
    state.counters["KB"] = double(QFile(path).size()) / 1024;
}

// File > Save of the typical file over itself, as the operator saves after
// an edit: the cell changed, then saved (new file, flushed, in the old one's
// place, its folder flushed).
void BM_Editor_Save(benchmark::State &state)
{
    Editor &e = editor();
    const QString path = e.dir.filePath(QStringLiteral("saved.prg"));
    QFile::remove(path);
    QFile::copy(e.typical, path);
    if (!e.window->readProgramFile(path))
        state.SkipWithError("cannot open");
    WTableWidget *depts = e.window->documentTable(tarvo::DocTable::Depts);
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        depts->item(0, 2)->setText(QStringLiteral("1.%1").arg(++n % 100, 2, 10, QLatin1Char('0')));
        state.ResumeTiming();
        e.window->form().actionSave->trigger();
    }
}

void BM_Editor_Paste50Rows(benchmark::State &state)
{
    Editor &e = editor();
    WTableWidget *depts = e.window->documentTable(tarvo::DocTable::Depts);
    e.window->currentDocument()->makeNew();
    QApplication::clipboard()->setText(e.fiftyRows);
    depts->setCurrentCell(0, 1);
    for (auto _ : state) {
        depts->pasteAction()->trigger();
        state.PauseTiming();
        e.window->currentDocument()->history()->undo();
        state.ResumeTiming();
    }
}

void BM_Editor_Undo50RowPaste(benchmark::State &state)
{
    Editor &e = editor();
    WTableWidget *depts = e.window->documentTable(tarvo::DocTable::Depts);
    e.window->currentDocument()->makeNew();
    QApplication::clipboard()->setText(e.fiftyRows);
    depts->setCurrentCell(0, 1);
    for (auto _ : state) {
        state.PauseTiming();
        depts->pasteAction()->trigger();
        state.ResumeTiming();
        e.window->form().actionUndo->trigger();
    }
}

// Interleaved: each file's Open right after plain Qt's of the same file.
BENCHMARK(BM_PlainQt_Open)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_Open)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainQt_Open)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_Open)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainQt_Open)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_Open)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_OpenAsking)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_Save)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_Paste50Rows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_Undo50RowPaste)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    qputenv("XDG_STATE_HOME", QFile::encodeName(settings.path()));
    identity::registerResources();
    QApplication app(argc, argv);
    identity::setUpApplication();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_editor.reset();
    return 0;
}
