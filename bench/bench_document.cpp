// Throughput of the file-format code: the reader on a program file as
// large as it takes (4 MiB) of short lines and on a single line of that
// size, each against merely reading the same bytes from the file; the lines
// of the large file taken apart as tarvo-prg check reads them; the editor's
// Open of one typical file; the writer on a full document; the names file.
// After the runs a summary table gives the reader's times as multiples of
// the plain reads.

#include "benchfiles.h"

#include "paramnamesfile.h"
#include "programfiles.h"
#include "programbytes.h"
#include "programreader.h"
#include "programwriter.h"

#include <QDateTime>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

struct Inputs
{
    QTemporaryDir dir;
    QString valid;
    QString singleLine;
    QString typical;
    QString names;
};

Inputs &inputs()
{
    static Inputs made = [] {
        Inputs i;
        i.valid = benchfiles::writeValidFile(i.dir.path());
        i.singleLine = benchfiles::writeSingleLineFile(i.dir.path());
        i.typical = benchfiles::writeTypicalFile(i.dir.path());
        i.names = QStringLiteral(TARVO_SOURCE_DIR "/data/names_bulgarian.xml");
        return i;
    }();
    return made;
}

void readPlain(benchmark::State &state, const QString &path)
{
    QByteArray buffer(64 * 1024, Qt::Uninitialized);
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("cannot open");
        qint64 total = 0;
        for (qint64 n; (n = file.read(buffer.data(), buffer.size())) > 0;)
            total += n;
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}

void readDocument(benchmark::State &state, const QString &path)
{
    for (auto _ : state) {
        tarvo::DocumentData document;
        if (!tarvo::readProgramFile(path, benchfiles::codec(), document))
            state.SkipWithError("cannot read");
        benchmark::DoNotOptimize(document);
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}

// Every line taken apart, as tarvo-prg check reads.
void readParsed(benchmark::State &state, const QString &path)
{
    for (auto _ : state) {
        qint64 records = 0;
        QByteArray bytes;
        if (!tarvo::readProgramBytes(path, &bytes, nullptr))
            state.SkipWithError("cannot read");
        tarvo::readProgramLines(bytes, benchfiles::codec(), [&](qint64, const tarvo::LineParts &line) {
            records += line.verdict == tarvo::LineVerdict::Record;
        });
        benchmark::DoNotOptimize(records);
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}

void BM_PlainRead_ValidFile(benchmark::State &state) { readPlain(state, inputs().valid); }
void BM_ParsedLines_ValidFile(benchmark::State &state) { readParsed(state, inputs().valid); }
void BM_Reader_TypicalFile(benchmark::State &state) { readDocument(state, inputs().typical); }
void BM_Reader_ValidFile(benchmark::State &state) { readDocument(state, inputs().valid); }
void BM_PlainRead_SingleLine(benchmark::State &state) { readPlain(state, inputs().singleLine); }
void BM_Reader_SingleLine(benchmark::State &state) { readDocument(state, inputs().singleLine); }

void BM_Writer_FullDocumentBytes(benchmark::State &state)
{
    const tarvo::DocumentData document = benchfiles::fullDocument();
    const QDateTime stamp = QDateTime::currentDateTime();
    for (auto _ : state)
        benchmark::DoNotOptimize(tarvo::programFileBytes(document, benchfiles::codec(), stamp));
}

void BM_Writer_FullDocumentFile(benchmark::State &state)
{
    const tarvo::DocumentData document = benchfiles::fullDocument();
    const QString path = inputs().dir.filePath(QStringLiteral("saved.prg"));
    for (auto _ : state) {
        if (!tarvo::writeProgramFile(path, document, benchfiles::codec()).ok)
            state.SkipWithError("cannot save");
    }
}

void BM_NamesFile_Load(benchmark::State &state)
{
    QStringList names;
    for (auto _ : state) {
        if (tarvo::loadParamNamesFile(inputs().names, benchfiles::codec(), &names) != tarvo::NamesLoad::Loaded)
            state.SkipWithError("names file not loaded");
        benchmark::DoNotOptimize(names);
    }
}

BENCHMARK(BM_PlainRead_ValidFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Reader_ValidFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ParsedLines_ValidFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Reader_TypicalFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainRead_SingleLine)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Reader_SingleLine)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Writer_FullDocumentBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Writer_FullDocumentFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NamesFile_Load)->Unit(benchmark::kMicrosecond);

// Shows every run as usual and keeps the real time of each for the summary.
class SummaryReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            times[QString::fromStdString(run.benchmark_name())] = run.GetAdjustedRealTime();
    }
    QMap<QString, double> times; // in each benchmark's own unit
};

void summarise(const SummaryReporter &reporter)
{
    std::printf("\n%-34s %12s %12s %8s\n", "reader case", "reader ms", "plain ms", "ratio");
    const char *cases[][3] = {{"valid 4 MiB file", "BM_Reader_ValidFile", "BM_PlainRead_ValidFile"},
                              {"4 MiB single line", "BM_Reader_SingleLine", "BM_PlainRead_SingleLine"}};
    for (const auto &c : cases) {
        const double reader = reporter.times.value(QString::fromLatin1(c[1]) + QStringLiteral("/min_time:2.000"),
                                                   reporter.times.value(QString::fromLatin1(c[1])));
        const double plain = reporter.times.value(QString::fromLatin1(c[2]) + QStringLiteral("/min_time:2.000"),
                                                  reporter.times.value(QString::fromLatin1(c[2])));
        if (reader <= 0 || plain <= 0)
            continue;
        const double ratio = reader / plain;
        std::printf("%-34s %12.1f %12.1f %7.1fx\n", c[0], reader, plain, ratio);
    }
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    inputs();
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    summarise(reporter);
    return 0;
}
