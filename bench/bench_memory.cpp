// Peak memory of the reader, measured in a child process per file: the
// growth of the peak resident set while one file is read, against the
// file's size. The reader holds the whole file (at most 4 MiB) and the
// decoded text of one line, so the growth is a few times the file at most.
//
//   bench_memory                 makes the 4 MiB files and prints the table
//   bench_memory --child FILE    reads FILE, prints "peak-before peak-after" (KiB)

#include "benchfiles.h"

#include "programreader.h"
#include "programfiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

namespace {

long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int child(const QString &path)
{
    const long before = peakKiB();
    tarvo::DocumentData document;
    if (!tarvo::readProgramFile(path, benchfiles::codec(), document))
        return 1;
    std::printf("%ld %ld\n", before, peakKiB());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--child"))
        return child(arguments.at(2));

    QTemporaryDir dir;
    const struct
    {
        const char *name;
        QString path;
    } cases[] = {{"valid 4 MiB file", benchfiles::writeValidFile(dir.path())},
                 {"4 MiB single line", benchfiles::writeSingleLineFile(dir.path())}};

    std::printf("%-20s %10s %14s %14s %10s\n", "memory case", "file MB", "longest line", "peak growth", "growth/file");
    bool ok = true;
    for (const auto &c : cases) {
        QProcess process;
        process.start(application.applicationFilePath(), {QStringLiteral("--child"), c.path});
        if (!process.waitForFinished(300000) || process.exitCode() != 0) {
            std::printf("%-20s failed\n", c.name);
            ok = false;
            continue;
        }
        const QList<QByteArray> fields = process.readAllStandardOutput().trimmed().split(' ');
        const double growthMiB = (fields.value(1).toLong() - fields.value(0).toLong()) / 1024.0;
        const double lineMiB = benchfiles::longestLine(c.path) / (1024.0 * 1024.0);
        const double fileMiB = QFile(c.path).size() / (1024.0 * 1024.0);
        std::printf("%-20s %10.1f %11.3f MB %11.1f MB %9.1fx\n", c.name, fileMiB, lineMiB, growthMiB,
                    growthMiB / fileMiB);
    }
    return ok ? 0 : 1;
}
