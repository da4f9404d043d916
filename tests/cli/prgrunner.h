#pragma once

// Runs the built tarvo-prg as a user would and collects what it did.

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace prgtest {

struct Run
{
    int exitCode = -1; // -1 when the program crashed or did not start
    QByteArray out;
    QByteArray err;

    QStringList errLines() const { return QString::fromUtf8(err).split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
    QStringList outLines() const { return QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

// `stdoutFile`, when given, receives standard output instead of `out`;
// `environment` adds to the test's own; `wrapper`, when given, is a program
// and its arguments that run tarvo-prg (strace injecting a fault).
inline Run run(const QStringList &arguments, const QByteArray &input = QByteArray(),
               const QString &stdoutFile = QString(), const QStringList &environment = QStringList(),
               const QStringList &wrapper = QStringList())
{
    QProcess process;
    if (!stdoutFile.isEmpty())
        process.setStandardOutputFile(stdoutFile);
    if (!environment.isEmpty()) {
        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        for (const QString &variable : environment)
            variables.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
        process.setProcessEnvironment(variables);
    }
    if (wrapper.isEmpty())
        process.start(QStringLiteral(TARVO_PRG_EXECUTABLE), arguments);
    else
        process.start(wrapper.first(), wrapper.mid(1) + QStringList{QStringLiteral(TARVO_PRG_EXECUTABLE)} + arguments);
    Run result;
    if (!process.waitForStarted(30000))
        return result;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    if (process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    return result;
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace prgtest
