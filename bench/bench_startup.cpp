// Start-up time of the editor against a minimal Qt window program: the wall
// time from starting the process to its main window's first paint, on the
// offscreen platform, median of several interleaved runs. The editor starts
// as it does for a user: settings in a fresh home, the names file in its
// working directory.
//
//   bench_startup EDITOR_LAUNCHER MINIMAL_WINDOW NAMES_FILE [RUNS]

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

long long nowNs()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Milliseconds from start to first paint, or a negative number on failure.
double startOnce(const QString &program, const QString &workDir, const QProcessEnvironment &environment,
                 const QStringList &arguments = {})
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workDir);
    const long long started = nowNs();
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return -1;
    const long long painted = process.readAllStandardOutput().trimmed().toLongLong();
    return painted > started ? (painted - started) / 1e6 : -1;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 4) {
        std::fprintf(stderr, "usage: bench_startup EDITOR MINIMAL NAMES_FILE [RUNS]\n");
        return 2;
    }
    const QString editor = arguments.at(1);
    const QString minimal = arguments.at(2);
    const int runs = arguments.size() > 4 ? arguments.at(4).toInt() : 15;

    QTemporaryDir home;
    const QString work = home.filePath(QStringLiteral("work"));
    QDir().mkpath(work);
    QDir().mkpath(home.filePath(QStringLiteral("config")));
    QFile::copy(arguments.at(3), work + QStringLiteral("/names_bulgarian.xml"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));

    std::vector<double> editorTimes;
    std::vector<double> minimalTimes;
    std::vector<double> textTimes;
    std::vector<double> tableTimes;
    for (int i = -2; i < runs; ++i) { // two warm-up rounds
        const double e = startOnce(editor, work, environment);
        const double m = startOnce(minimal, work, environment);
        const double t = startOnce(minimal, work, environment, {QStringLiteral("--text")});
        const double b = startOnce(minimal, work, environment, {QStringLiteral("--table")});
        if (e < 0 || m < 0 || t < 0 || b < 0) {
            std::fprintf(stderr, "a start-up run failed\n");
            return 1;
        }
        if (i >= 0) {
            editorTimes.push_back(e);
            minimalTimes.push_back(m);
            textTimes.push_back(t);
            tableTimes.push_back(b);
        }
    }
    const double e = median(editorTimes);
    const double m = median(minimalTimes);
    const double t = median(textTimes);
    const double b = median(tableTimes);
    std::printf("%-44s %10s %10s %8s %6s\n", "start-up to first paint (median, offscreen)", "editor ms", "other ms",
                "ratio", "aim");
    // The window with a 50-row table is what the editor is measured against.
    std::printf("%-44s %10.1f %10.1f %7.2fx %6s\n", "against a window with a 50-row table", e, b, e / b,
                e / b <= 1.2 ? "met" : "MISSED");
    std::printf("%-44s %10.1f %10.1f %7.2fx\n", "against a bare QMainWindow", e, m, e / m);
    // The same window with one line of text: the floor of any window that
    // shows text (the font system's start).
    std::printf("%-44s %10.1f %10.1f %7.2fx\n", "against a QMainWindow with one line of text", e, t, e / t);
    return 0;
}
