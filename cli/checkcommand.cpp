// check: every line that the reader skips although it is no comment, and
// every value that the editor's cell editors would refuse.

#include "cellnames.h"
#include "commands.h"
#include "console.h"
#include "programstreams.h"
#include "workerpool.h"

#include <encodings.h>
#include <encodingtrust.h>
#include <programbytes.h>
#include <programreader.h>
#include <savejournal.h>

#include <QFile>

#include <condition_variable>
#include <mutex>
#include <utility>
#include <vector>

namespace {

// Why the reader skips a line, or nothing when it uses it.
QString skippedReason(const tarvo::LineParts &parsed)
{
    switch (parsed.verdict) {
    case tarvo::LineVerdict::Empty:
    case tarvo::LineVerdict::Comment:
    case tarvo::LineVerdict::Record:
        return QString();
    case tarvo::LineVerdict::UnknownLetter:
        return Messages::tr("line skipped: %1 is no record letter (S, D, H, C or Y)")
            .arg(console::quoted(parsed.letter.toString()));
    case tarvo::LineVerdict::NumberOutOfRange:
        break;
    }
    const QString letter = parsed.letter.toString();
    if (!parsed.numberIsNumeral) {
        if (parsed.numberText.trimmed().isEmpty())
            return Messages::tr("line skipped: %1 record without a number").arg(letter);
        return Messages::tr("line skipped: %1 record number %2 is not a number")
            .arg(letter, console::quoted(parsed.numberText.toString()));
    }
    const tarvo::TableFormat &format = tarvo::tableFormat(parsed.table);
    if (format.rows == 1)
        return Messages::tr("line skipped: %1 record number %2 is not %3")
            .arg(letter, QString::number(parsed.number), QString::number(format.firstNumber));
    return Messages::tr("line skipped: %1 record number %2 is outside %3..%4")
        .arg(letter, QString::number(parsed.number), QString::number(format.firstNumber),
             QString::number(format.firstNumber + format.rows - 1));
}

// What the cell editors would refuse of the values a record sets. Only the
// numeric values are looked at; text cells take anything.
QStringList refusedValues(const tarvo::LineParts &parsed)
{
    QStringList found;
    const tarvo::TableFormat &format = tarvo::tableFormat(parsed.table);
    for (int i = 0; i < parsed.cellCount; ++i) {
        if (format.cells[i].kind == tarvo::CellKind::Text)
            continue;
        const QString refusal = refusalOf(format.cells[i].kind, parsed.cells[i]);
        if (!refusal.isEmpty())
            found << QStringLiteral("%1 %2 %3")
                         .arg(cellName(parsed.table, parsed.row, format.cells[i].column),
                              console::quoted(parsed.cells[i].toString()), refusal);
    }
    return found;
}

// How much of one file's findings waits for its turn.
constexpr qsizetype kMaxWaitingOutput = 256 * 1024;

enum class FileResult { Clean, Findings, Unreadable };

// What checking one file gave, with the message when it could not be read;
// `out` holds its findings while they wait for their turn.
struct FileCheck
{
    FileResult result = FileResult::Clean;
    QByteArray out;
    QString error;
};

// Checks one file, handing every line of findings to `put` as it is found.
// Unreadable: its `error` says why.
template <typename Put>
FileCheck checkFile(const QString &path, int encoding, const tarvo::InterruptedSaves &interrupted, Put put)
{
    QTextCodec *codec = tarvo::codecForEncoding(encoding);
    FileCheck check;
    const QString shown = programstreams::shownName(path);
    QByteArray bytes;
    QString reason;
    const bool read = isStandardStream(path) ? programstreams::readBytes(path, &bytes, &reason)
                                             : tarvo::readProgramBytes(path, interrupted, &bytes, &reason);
    if (!read) {
        check.result = FileResult::Unreadable;
        check.error = programstreams::cannotReadText(path, reason);
        return check;
    }
    // What is found waits until the file has shown a record: a file without
    // any may be no program file, which is then said instead. Where much
    // waits, the file is judged at once.
    enum class Program { Unknown, Yes, No } program = Program::Unknown;
    tarvo::NotAProgramFile notProgram = tarvo::NotAProgramFile::No;
    QList<QByteArray> waiting;
    qsizetype waitingBytes = 0;
    auto decide = [&](bool isProgram) {
        program = isProgram ? Program::Yes : Program::No;
        if (isProgram) {
            for (const QByteArray &line : std::as_const(waiting))
                put(line);
        }
        waiting.clear();
    };
    auto found = [&](const QByteArray &line) {
        check.result = FileResult::Findings;
        if (program == Program::Yes) {
            put(line);
        } else if (program == Program::Unknown) {
            waiting << line;
            waitingBytes += line.size();
            if (waitingBytes > kMaxWaitingOutput) {
                const tarvo::ReadReport report = tarvo::readProgramLines(bytes, codec, [](qint64, const tarvo::LineParts &) {});
                notProgram = tarvo::whyNotAProgramFile(bytes, report);
                decide(notProgram == tarvo::NotAProgramFile::No);
            }
        }
    };
    // Bytes that are no characters of the encoding: the text the editor
    // shows and writes back is not the file's.
    const QString unclean = programstreams::undecodableFinding(bytes, encoding);
    if (!unclean.isEmpty())
        found(console::lineBytes(QStringLiteral("%1:%2").arg(shown, unclean)));
    const tarvo::ReadReport report = tarvo::readProgramLines(bytes, codec, [&](qint64 number, const tarvo::LineParts &parsed) {
        if (parsed.verdict == tarvo::LineVerdict::Record && program == Program::Unknown)
            decide(true);
        if (parsed.verdict == tarvo::LineVerdict::Empty || parsed.verdict == tarvo::LineVerdict::Comment)
            return;
        QStringList findings = refusedValues(parsed);
        const QString skipped = skippedReason(parsed);
        if (!skipped.isEmpty())
            findings.prepend(skipped);
        for (const QString &finding : std::as_const(findings))
            found(console::lineBytes(QStringLiteral("%1:%2: %3").arg(shown, QString::number(number), finding)));
    });
    if (program == Program::Unknown) {
        notProgram = tarvo::whyNotAProgramFile(bytes, report);
        decide(notProgram == tarvo::NotAProgramFile::No);
    }
    if (program == Program::No) {
        check.result = FileResult::Findings;
        put(console::lineBytes(programstreams::notAProgramFileText(path, notProgram)));
    }
    return check;
}


// Checks the files on every core and hands the findings and results to
// `put` and `report` in the order of the files. The threads take the files
// in runs (a few dozen each), and the one that reports waits for a run, not
// for each file, so that handing files over costs little beside reading
// them. A file's findings wait for its turn, but no more than a little of
// them: beyond that its thread waits for the turn itself and then writes
// them as it goes. No thread runs more than 64 files ahead of the turn, so
// that what waits stays small.
template <typename Put, typename Report>
void checkFiles(const QStringList &paths, int encoding, Put put, Report report)
{
    const qsizetype count = paths.size();
    // Interrupted saves looked for once a folder, not once a file.
    tarvo::InterruptedSaves interrupted;
    QList<QByteArray> names;
    names.reserve(count);
    for (const QString &path : paths)
        names << (isStandardStream(path) ? QByteArray() : QFile::encodeName(path));
    interrupted.lookFor(names);
    const int threads = workerpool::threadsFor(count);
    if (threads == 1) {
        for (const QString &path : paths)
            report(checkFile(path, encoding, interrupted, put));
        return;
    }
    const qsizetype window = 64 * qsizetype(threads);
    const qsizetype run = qBound(qsizetype(1), count / (16 * qsizetype(threads)), qsizetype(32));
    const qsizetype runs = (count + run - 1) / run;
    std::vector<FileCheck> results(static_cast<size_t>(count));
    std::vector<char> done(static_cast<size_t>(count), 0);
    std::mutex mutex;
    std::condition_variable changed;
    qsizetype reported = 0; // the files before it are reported
    int waitingForTurn = 0; // threads waiting for their file's turn
    auto work = [&](qsizetype r) {
        const qsizetype from = r * run;
        const qsizetype to = qMin(count, from + run);
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [&] { return from < reported + window; });
        }
        for (qsizetype i = from; i < to; ++i) {
            QByteArray out;
            bool ownTurn = false;
            FileCheck check = checkFile(paths.at(i), encoding, interrupted, [&](const QByteArray &line) {
                if (ownTurn) {
                    put(line);
                    return;
                }
                out += line;
                if (out.size() < kMaxWaitingOutput)
                    return;
                {
                    std::unique_lock<std::mutex> lock(mutex);
                    ++waitingForTurn;
                    changed.notify_all(); // the files before it in this run are done
                    changed.wait(lock, [&] { return reported == i; });
                    --waitingForTurn;
                }
                put(out);
                out.clear();
                ownTurn = true;
            });
            check.out = std::move(out);
            const std::lock_guard<std::mutex> lock(mutex);
            results[size_t(i)] = std::move(check);
            done[size_t(i)] = 1;
            // The reporting thread is woken once a run, or for a file that
            // took its own turn.
            if (i + 1 == to || ownTurn)
                changed.notify_all();
        }
    };
    // The calling thread reports the files in order as they are done.
    workerpool::run(runs, threads, work, [&](const auto &) {
        for (qsizetype i = 0; i < count; ++i) {
            FileCheck check;
            {
                std::unique_lock<std::mutex> lock(mutex);
                changed.wait(lock, [&] { return done[size_t(i)] != 0; });
                check = std::move(results[size_t(i)]);
            }
            put(check.out);
            report(check);
            // Only now may the next file's thread write on its own, and the
            // threads take files further ahead.
            const std::lock_guard<std::mutex> lock(mutex);
            reported = i + 1;
            if (waitingForTurn > 0 || reported % run == 0)
                changed.notify_all();
        }
    });
}

} // namespace

int runCheck(const CommandLine &line)
{
    bool findings = false;
    bool unreadable = false;
    checkFiles(line.files, line.encoding, [](const QByteArray &out) { console::writeOut(out); }, [&](const FileCheck &check) {
        if (check.result == FileResult::Unreadable)
            console::error(check.error);
        findings = findings || check.result == FileResult::Findings;
        unreadable = unreadable || check.result == FileResult::Unreadable;
    });
    if (!console::finishOut())
        return exitcode::WriteFailed;
    if (unreadable)
        return exitcode::Usage;
    return findings ? exitcode::Findings : exitcode::Success;
}
