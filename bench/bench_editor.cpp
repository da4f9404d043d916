// The editor's own work on a document, through the real window (offscreen):
// Open of one typical file (read, taken into the document, shown in the
// five tables), a paste of 50 department rows, and the undo of that paste.
// Each aims to stay under 3 ms.

#include "benchfiles.h"
#include "programfiles.h"

#include "appidentity.h"
#include "document.h"
#include "mainwindow.h"
#include "ui_mainwindow.h"
#include "userdialogs.h"
#include "wtablewidget.h"

#include <QApplication>

#include <memory>
#include <QClipboard>
#include <QSettings>
#include <QTemporaryDir>
#include <QUndoStack>

#include <benchmark/benchmark.h>

namespace {

// Answers nothing: the benchmarks never open a dialog.
class NoDialogs : public UserDialogs
{
public:
    bool askYesNo(QWidget *, QMessageBox::Icon, const QString &, const QString &) override { return true; }
    void showMessage(QWidget *, QMessageBox::Icon, const QString &, const QString &, const QString &) override {}
};

struct Editor
{
    QTemporaryDir dir;
    QString typical = benchfiles::writeTypicalFile(dir.path());
    NoDialogs dialogs;
    MainWindow window{nullptr, &dialogs};
    QString fiftyRows;

    Editor()
    {
        for (int r = 0; r < 50; ++r)
            fiftyRows += QStringLiteral("Минерална вода %1\t1.%2\tБ\t2\r\n").arg(r + 1).arg(r % 100, 2, 10, QLatin1Char('0'));
        window.show();
    }
};

// Made at the first benchmark, gone before the application (main() ends it).
std::unique_ptr<Editor> g_editor;

Editor &editor()
{
    if (!g_editor)
        g_editor = std::make_unique<Editor>();
    return *g_editor;
}

void BM_Editor_OpenTypicalFile(benchmark::State &state)
{
    Editor &e = editor();
    for (auto _ : state) {
        state.PauseTiming();
        e.window.currentDocument()->load(tarvo::DocumentData()); // as after New
        state.ResumeTiming();
        if (!e.window.readProgramFile(e.typical))
            state.SkipWithError("cannot open");
    }
}

void BM_Editor_Paste50Rows(benchmark::State &state)
{
    Editor &e = editor();
    WTableWidget *depts = e.window.documentTable(tarvo::DocTable::Depts);
    e.window.currentDocument()->load(tarvo::DocumentData());
    QApplication::clipboard()->setText(e.fiftyRows);
    depts->setCurrentCell(0, 1);
    for (auto _ : state) {
        depts->pasteAction()->trigger();
        state.PauseTiming();
        e.window.currentDocument()->history()->undo();
        state.ResumeTiming();
    }
}

void BM_Editor_Undo50RowPaste(benchmark::State &state)
{
    Editor &e = editor();
    WTableWidget *depts = e.window.documentTable(tarvo::DocTable::Depts);
    e.window.currentDocument()->load(tarvo::DocumentData());
    QApplication::clipboard()->setText(e.fiftyRows);
    depts->setCurrentCell(0, 1);
    for (auto _ : state) {
        state.PauseTiming();
        depts->pasteAction()->trigger();
        state.ResumeTiming();
        e.window.form().actionUndo->trigger();
    }
}

BENCHMARK(BM_Editor_OpenTypicalFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_Paste50Rows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Editor_Undo50RowPaste)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
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
