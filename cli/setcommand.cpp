// set: the same cells given the same values in many program files, each
// changed in those cells' records alone (see tarvo::editProgram) and written
// back in its encoding.
//
// The command line is checked whole before anything is read, and every file
// is read, checked and given its new bytes before any is written, so a bad
// argument or a bad file changes nothing. The new bytes wait in a spool (see
// Spool), so that memory does not grow with the number of files. Then the
// files are written in batches, which keep the number of open files
// bounded: each batch's files are locked, their new files written, then all
// put on disk together (one flush of each file system), then each takes its
// old one's place, and each folder is flushed once. A file that another
// program wrote after it was read is read and set again under its lock, so
// that no change of the other program is lost.

#include "commands.h"
#include "console.h"
#include "messages.h"
#include "programstreams.h"
#include "spool.h"
#include "unencodablereport.h"
#include "workerpool.h"

#include <encodings.h>
#include <filefingerprint.h>
#include <programedit.h>
#include <filereplace.h>
#include <filesystemsync.h>
#include <programbytes.h>
#include <savelock.h>

#include <QHash>
#include <QList>
#include <QSet>

#include <memory>
#include <vector>

#include <sys/resource.h>

namespace {

// Files locked and written at a time: at most 256, and no more than the
// limit of open files allows (raised first as far as the system lets it).
// While a batch is written each file holds two descriptors (its lock and
// its new file); each thread needs a few more for a moment (the file
// rewritten in place, its rollback copy), and the program some of its own.
qsizetype batchFiles()
{
    constexpr qsizetype kMost = 256;
    rlimit files;
    if (::getrlimit(RLIMIT_NOFILE, &files) != 0)
        return kMost;
    if (files.rlim_cur < files.rlim_max) {
        const rlim_t was = files.rlim_cur;
        files.rlim_cur = files.rlim_max;
        if (::setrlimit(RLIMIT_NOFILE, &files) != 0)
            files.rlim_cur = was;
    }
    if (files.rlim_cur == RLIM_INFINITY)
        return kMost;
    const qint64 reserve = 32 + 4 * qint64(QThread::idealThreadCount());
    return qBound<qsizetype>(1, qsizetype((qint64(files.rlim_cur) - reserve) / 2), kMost);
}

// One file's new contents, and what to say once they are written.
struct Edited
{
    QByteArray bytes;
    QStringList notes; // cells the code page cannot hold, rows left out
    tarvo::FileFingerprint read; // the file as it was read
};

// What the first pass keeps of each file for the second.
struct Planned
{
    tarvo::FileFingerprint read;
    qint64 offset = -1; // of its new bytes in the spool; -1: a repeat of an earlier file
    qint64 size = 0;
};

using workerpool::onEveryCore;

class SetRun
{
public:
    explicit SetRun(const CommandLine &line)
        : m_line(line), m_codec(tarvo::codecForEncoding(line.encoding)),
          m_encoding(tarvo::encodingName(line.encoding))
    {
        for (const CellAssignment &assignment : line.cells)
            m_changes << tarvo::CellChange{assignment.cell.table, assignment.cell.row, assignment.cell.column,
                                           assignment.value};
    }

    // Reads every file and keeps its new bytes; false, with the message
    // said, when any file cannot be set.
    bool plan()
    {
        QSet<QPair<quint64, quint64>> seen;
        QString reason;
        m_planned.reserve(size_t(m_line.files.size()));
        for (qsizetype first = 0; first < m_line.files.size(); first += m_batch) {
            const QStringList batch = m_line.files.mid(first, m_batch);
            // Locked while read, so that no save of another program is
            // read half done.
            tarvo::SaveLocks locks;
            if (!locks.lockAll(batch, &reason)) {
                console::error(reason + QStringLiteral("; no file changed"));
                return false;
            }
            // Read and set on every core, kept in order.
            std::vector<Edited> edits(size_t(batch.size()));
            std::vector<QString> failures(size_t(batch.size()));
            std::vector<char> ok(size_t(batch.size()), 0);
            onEveryCore(batch.size(), [&](qsizetype i) {
                ok[size_t(i)] = edit(batch.at(i), &edits[size_t(i)], &failures[size_t(i)]);
            });
            for (qsizetype i = 0; i < batch.size(); ++i) {
                if (!ok[size_t(i)]) {
                    console::error(Messages::tr("%1; no file changed").arg(failures[size_t(i)]));
                    return false;
                }
                Edited &edited = edits[size_t(i)];
                Planned planned;
                planned.read = edited.read;
                // A file named twice (or through a link) is set once.
                const QPair<quint64, quint64> key(edited.read.device, edited.read.inode);
                if (!edited.read.exists || !seen.contains(key)) {
                    seen.insert(key);
                    if (!m_spool.append(edited.bytes, &planned.offset, &reason)) {
                        console::error(Messages::tr("cannot keep the new contents of the files until they are "
                                                    "written: %1; no file changed")
                                           .arg(messages::reason(reason)));
                        return false;
                    }
                    planned.size = edited.bytes.size();
                    if (!edited.notes.isEmpty())
                        m_notes.insert(first + i, edited.notes);
                }
                edited.bytes.clear();
                m_planned.push_back(std::move(planned));
            }
        }
        return true;
    }

    // Writes every planned file; the exit status.
    int write()
    {
        int status = exitcode::Success;
        for (qsizetype first = 0; first < m_line.files.size(); first += m_batch)
            status = exitcode::worse(status, writeBatch(first, qMin(first + m_batch, m_line.files.size())));
        return status;
    }

private:
    // Reads `file` and makes its new bytes: the records of the cells set
    // rewritten, every other byte kept (see tarvo::editProgram); false with
    // `message` when it cannot be read or set.
    bool edit(const QString &file, Edited *edited, QString *message)
    {
        QByteArray bytes;
        QString reason;
        const bool read = isStandardStream(file)
                              ? programstreams::readBytes(file, &bytes, &reason)
                              : tarvo::readProgramBytes(file, &bytes, &reason, nullptr, &edited->read);
        if (!read) {
            *message = programstreams::cannotReadText(file, reason);
            return false;
        }
        const tarvo::ProgramEdit changed = tarvo::editProgram(bytes, m_codec, m_changes);
        const QString shown = programstreams::shownName(file);
        switch (changed.refusal) {
        case tarvo::ProgramEdit::Refusal::None: break;
        case tarvo::ProgramEdit::Refusal::Lossy:
            *message = Messages::tr("cannot set cells in %1: %2").arg(shown, programstreams::lossyText(changed.codec));
            return false;
        case tarvo::ProgramEdit::Refusal::NotAProgramFile:
            *message = programstreams::notAProgramFileText(file, changed.notAProgramFile);
            return false;
        case tarvo::ProgramEdit::Refusal::LoneCarriageReturn:
            *message = Messages::tr("cannot set cells in %1: line %2 holds a CR that ends no line, so its record "
                                    "cannot be rewritten and the rest of the line kept")
                           .arg(shown)
                           .arg(changed.line);
            return false;
        }
        edited->bytes = changed.bytes;
        // A file that begins with a UTF-8 byte order mark is UTF-8.
        const QString encoding = changed.codec == m_codec ? m_encoding : QStringLiteral("UTF-8");
        for (const tarvo::UnencodableCell &cell : changed.unencodable)
            edited->notes << unencodableMessage(shown, cell, encoding);
        for (const tarvo::LeftOutRow &row : changed.leftOut)
            edited->notes << programstreams::leftOutRowMessage(file, row);
        return true;
    }

    // The new bytes of file `index`, with what to say of them and the file
    // as it was read: those of the plan, or, where another program wrote the
    // file since it was read, the file read and set again (its lock is
    // held). False, with `message`, when it can no longer be set.
    bool newContents(qsizetype index, Edited *edited, QString *message)
    {
        const QString &file = m_line.files.at(index);
        const Planned &planned = m_planned[size_t(index)];
        QString reason;
        if (isStandardStream(file) || tarvo::fingerprintOf(file).sameStat(planned.read)) {
            edited->notes = m_notes.value(index);
            edited->read = planned.read;
            if (m_spool.read(planned.offset, planned.size, &edited->bytes, &reason))
                return true;
            *message = programstreams::cannotWriteText(file, reason);
            return false;
        }
        if (edit(file, edited, message))
            return true;
        *message = Messages::tr("%1; the file changed while set ran and is left as it is now").arg(*message);
        return false;
    }

    // Every outcome is the file's own: a file is said to fail only where
    // its own new contents are not on disk, whatever happened to the others.
    int writeBatch(qsizetype first, qsizetype end)
    {
        int status = exitcode::Success;
        const QStringList batch = m_line.files.mid(first, end - first);
        QString reason;
        // A file that cannot be locked fails alone; the others are locked.
        QHash<QString, QString> unlocked;
        tarvo::SaveLocks locks;
        if (!locks.lockAll(batch, &reason, &unlocked)) {
            console::error(reason);
            return exitcode::WriteFailed;
        }
        struct Step
        {
            std::unique_ptr<tarvo::PendingReplacement> replacement;
            Edited edited;
            QString failure; // said in its turn
            bool watched = false; // its file system is flushed whole
        };
        std::vector<Step> steps(size_t(end - first));
        // The file systems written to, watched from before the first write.
        tarvo::FileSystemSync fileSystems;
        const bool wholeFlush = tarvo::FileSystemSync::isAvailable();
        for (qsizetype i = first; i < end; ++i) {
            const tarvo::FileFingerprint &read = m_planned[size_t(i)].read;
            if (wholeFlush && read.exists)
                steps[size_t(i - first)].watched = fileSystems.watch(dev_t(read.device), m_line.files.at(i));
        }
        // The new files written, on every core (a file rewritten in place
        // is saved whole, on disk, right here),
        onEveryCore(end - first, [&](qsizetype k) {
            const qsizetype i = first + k;
            Step &step = steps[size_t(k)];
            if (m_planned[size_t(i)].offset < 0)
                return; // named before
            const QString &file = m_line.files.at(i);
            if (unlocked.contains(file)) {
                step.failure = programstreams::cannotWriteText(file, unlocked.value(file));
                return;
            }
            if (!newContents(i, &step.edited, &step.failure))
                return;
            if (isStandardStream(file))
                return;
            // Read again onto another file system (mounted meanwhile): that
            // file is flushed by itself.
            step.watched = step.watched && step.edited.read.device == m_planned[size_t(i)].read.device;
            step.replacement = std::make_unique<tarvo::PendingReplacement>(file, step.edited.bytes);
            QString why;
            if (!step.replacement->write(&why))
                step.failure = programstreams::cannotWriteText(file, why);
        });
        // then all on disk: one flush of each file system; where that
        // reports a failed write (of any file on it, even another
        // program's), each new file that is not on disk yet is flushed by
        // itself, and fails only if its own bytes did not get there,
        for (qsizetype i = first; i < end; ++i) {
            Step &step = steps[size_t(i - first)];
            if (!step.failure.isEmpty())
                continue;
            if (isStandardStream(m_line.files.at(i)) && m_planned[size_t(i)].offset >= 0) {
                console::writeOut(step.edited.bytes);
                if (!console::finishOut())
                    status = exitcode::worse(status, exitcode::WriteFailed);
                else
                    sayNotes(step.edited.notes, &status);
                continue;
            }
            if (!step.replacement || step.replacement->isOnDisk())
                continue;
            QString flushed;
            if (step.watched && fileSystems.sync(dev_t(step.edited.read.device), &flushed))
                step.replacement->synced();
            else if (!step.replacement->sync(&reason))
                step.failure = programstreams::cannotWriteText(m_line.files.at(i), reason);
        }
        // then each in its old one's place, and each folder flushed once.
        tarvo::FolderFlushes flushes;
        for (qsizetype i = first; i < end; ++i) {
            Step &step = steps[size_t(i - first)];
            const bool committed = step.failure.isEmpty() && step.replacement
                                   && step.replacement->commit(&reason, &flushes);
            if (step.failure.isEmpty() && step.replacement && !committed)
                step.failure = programstreams::cannotWriteText(m_line.files.at(i), reason);
            // What the save found to say besides (an earlier interrupted
            // save made whole, a copy it could not remove), then its outcome.
            if (step.replacement && !step.replacement->notice().isEmpty())
                console::error(step.replacement->notice());
            if (!step.failure.isEmpty()) {
                console::error(step.failure);
                status = exitcode::worse(status, exitcode::WriteFailed);
            } else if (committed) {
                sayNotes(step.edited.notes, &status);
            }
            step.replacement.reset();
        }
        return status;
    }

    static void sayNotes(const QStringList &notes, int *status)
    {
        for (const QString &note : notes)
            console::error(note);
        if (!notes.isEmpty())
            *status = exitcode::worse(*status, exitcode::Findings);
    }

    const CommandLine &m_line;
    QList<tarvo::CellChange> m_changes;
    const qsizetype m_batch = batchFiles();
    QTextCodec *const m_codec;
    const QString m_encoding;
    Spool m_spool;
    std::vector<Planned> m_planned;
    QHash<qsizetype, QStringList> m_notes; // of the few files with something to say
};

} // namespace

int runSet(const CommandLine &line)
{
    // The time stamp line is kept as it is, as every line but the records set.
    SetRun run(line);
    if (!run.plan())
        return exitcode::Usage;
    return run.write();
}
