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
    for (int i = -2; i < runs; ++i) { // two warm-up rounds
        const double e = startOnce(editor, work, environment);
        const double m = startOnce(minimal, work, environment);
        const double t = startOnce(minimal, work, environment, {QStringLiteral("--text")});
        if (e < 0 || m < 0 || t < 0) {
            std::fprintf(stderr, "a start-up run failed\n");
            return 1;
        }
        if (i >= 0) {
            editorTimes.push_back(e);
            minimalTimes.push_back(m);
            textTimes.push_back(t);
        }
    }
    const double e = median(editorTimes);
    const double m = median(minimalTimes);
    const double t = median(textTimes);
    std::printf("%-34s %12s %12s %8s %6s\n", "start-up to first paint", "editor ms", "minimal ms", "ratio", "aim");
    std::printf("%-34s %12.1f %12.1f %7.2fx %6s\n", "median of runs (offscreen)", e, m, e / m,
                e / m <= 1.3 ? "met" : "MISSED");
    // The same window with one line of text: the floor of any window that
    // shows text (the font system's start).
    std::printf("%-34s %12.1f %12.1f %7.2fx\n", "against a minimal window with text", e, t, e / t);
    return 0;
}
