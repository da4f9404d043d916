// set: the same cells given the same values in many program files, each
// changed in those cells' records alone (see tarvo::editProgram) and written
// back in its encoding.
//
// The command line is checked whole before anything is read, and every file
// is read, checked and given its new bytes before any is written, so a bad
// argument or a bad file changes nothing. The new bytes wait in a spool (see
// Spool), so that memory does not grow with the number of files. Each path
// is resolved once, and each file opened once: it is locked, and read
// through the lock's own descriptor; where the limit of open files lets
// every file of the run hold its lock at once (as it does but for tens of
// thousands of files), the lock is held from the read to the write, else
// the files are locked in batches, once to be read and again to be written.
// Each new file is written, put on disk by itself (on several threads at
// once, so that the disk takes their flushes together, and nothing of
// another program's is flushed with them), then takes its old one's place;
// each folder is flushed once. A file that another program wrote after it
// was read is read and set again under its lock, so that no change of the
// other program is lost.

#include "commands.h"
#include "console.h"
#include "messages.h"
#include "programstreams.h"
#include "spool.h"
#include "unencodablereport.h"
#include "workerpool.h"

#include <encodings.h>
#include <filefingerprint.h>
#include <filereplace.h>
#include <programbytes.h>
#include <programedit.h>
#include <regularfile.h>
#include <savejournal.h>
#include <savelock.h>
#include <savetarget.h>

#include <QFile>
#include <QHash>
#include <QList>
#include <QSet>

#include <memory>
#include <vector>

#include <cerrno>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// Threads that write the new files: a flush waits on the disk, not on a
// processor, and the disk takes several at once.
constexpr int kWritingThreads = 16;

// Files read and set together before their new bytes go to the spool.
constexpr qsizetype kReadTogether = 256;

// Files locked at once at most, whatever the limit of open files: what the
// run keeps of each locked file (its lock, its path resolved) must not
// make memory grow with the number of files.
constexpr qint64 kMostLockedAtOnce = 4096;

// Files locked at a time: as many as the limit of open files allows (raised
// first as far as the system lets it), up to kMostLockedAtOnce. Each locked file holds one
// descriptor; each writing thread needs a few more for a moment (the new
// file, a file rewritten in place and its rollback copy), and the program
// some of its own.
qsizetype batchFiles()
{
    constexpr qint64 kOwn = 32;
    constexpr qint64 kMost = qint64(1) << 20;
    rlimit files;
    if (::getrlimit(RLIMIT_NOFILE, &files) != 0)
        return 256;
    if (files.rlim_cur < files.rlim_max) {
        const rlim_t was = files.rlim_cur;
        files.rlim_cur = files.rlim_max;
        if (::setrlimit(RLIMIT_NOFILE, &files) != 0)
            files.rlim_cur = was;
    }
    const qint64 limit = files.rlim_cur == RLIM_INFINITY ? kMost : qMin(kMost, qint64(files.rlim_cur));
    const qint64 room = limit - kOwn;
    qint64 batch = room - 4 * kWritingThreads;
    if (batch < kWritingThreads)
        batch = room / 5; // a writing thread a file
    return qsizetype(qBound<qint64>(1, batch, kMostLockedAtOnce));
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
        QString reason;
        QSet<QPair<quint64, quint64>> seen;
        m_planned.reserve(size_t(m_line.files.size()));
        const bool oneBatch = m_line.files.size() <= m_batch;
        for (qsizetype first = 0; first < m_line.files.size(); first += m_batch) {
            const qsizetype count = qMin(m_batch, m_line.files.size() - first);
            // Each path resolved once for the batch.
            QHash<QString, QString> unresolved;
            resolveBatch(first, count, &unresolved);
            if (!unresolved.isEmpty()) {
                const QString &file = m_line.files.at(firstOf(unresolved, first, count));
                console::error(QStringLiteral("cannot lock %1: %2").arg(file, unresolved.value(file))
                               + QStringLiteral("; no file changed"));
                return false;
            }
            // Locked while read, so that no save of another program is
            // read half done; interrupted saves looked for once they are.
            auto locks = std::make_unique<tarvo::SaveLocks>();
            if (!locks->lockAll(m_line.files.mid(first, count), m_targets, &reason)) {
                console::error(reason + QStringLiteral("; no file changed"));
                return false;
            }
            auto interrupted = std::make_unique<tarvo::InterruptedSaves>();
            interrupted->lookFor(m_targets);
            for (qsizetype from = 0; from < count; from += kReadTogether) {
                const qsizetype together = qMin(kReadTogether, count - from);
                // Read and set on every core, kept in order.
                std::vector<Edited> edits(static_cast<size_t>(together));
                std::vector<QString> failures(static_cast<size_t>(together));
                std::vector<char> ok(size_t(together), 0);
                workerpool::onEveryCore(together, [&](qsizetype k) {
                    const qsizetype i = first + from + k;
                    ok[size_t(k)] = edit(i, locks->lockOf(from + k), *interrupted, &edits[size_t(k)],
                                         &failures[size_t(k)]);
                });
                for (qsizetype k = 0; k < together; ++k) {
                    if (!ok[size_t(k)]) {
                        console::error(Messages::tr("%1; no file changed").arg(failures[size_t(k)]));
                        return false;
                    }
                    if (!keep(first + from + k, &edits[size_t(k)], &seen))
                        return false;
                }
            }
            // A run that is one batch holds its locks until its files are
            // written; batches let theirs go, so that two runs never wait
            // for each other.
            if (oneBatch) {
                m_heldLocks = std::move(locks);
                m_heldInterrupted = std::move(interrupted);
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
    // Reads file `index` (through its lock where it holds one) and makes its
    // new bytes: the records of the cells set rewritten, every other byte
    // kept (see tarvo::editProgram); false with `message` when it cannot be
    // read or set.
    bool edit(qsizetype index, const tarvo::SaveLock &lock, const tarvo::InterruptedSaves &interrupted,
              Edited *edited, QString *message)
    {
        const QString &file = m_line.files.at(index);
        QByteArray bytes;
        QString reason;
        bool read = false;
        const struct stat *locked = lock.lockedFile();
        if (isStandardStream(file)) {
            read = programstreams::readBytes(file, &bytes, &reason);
        } else if (lock.readableDescriptor() >= 0 && locked
                   && !interrupted.mayHave(targetOf(index), locked->st_dev, locked->st_ino)) {
            read = tarvo::readOpenProgramFile(lock.readableDescriptor(), *locked, &bytes, &reason, &edited->read);
        } else {
            // Opened by itself, an interrupted save of it made whole first.
            read = tarvo::readProgramBytes(file, &bytes, &reason, nullptr, &edited->read);
        }
        if (!read) {
            *message = programstreams::cannotReadText(file, reason);
            return false;
        }
        return setCells(file, bytes, edited, message);
    }

    // The new bytes of `file` from its `bytes`.
    bool setCells(const QString &file, const QByteArray &bytes, Edited *edited, QString *message)
    {
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

    // Puts the new bytes of file `index` into the spool, once a file.
    bool keep(qsizetype index, Edited *edited, QSet<QPair<quint64, quint64>> *seen)
    {
        Planned planned;
        planned.read = edited->read;
        // A file named twice (or through a link) is set once.
        const QPair<quint64, quint64> key(edited->read.device, edited->read.inode);
        if (!edited->read.exists || !seen->contains(key)) {
            seen->insert(key);
            QString reason;
            if (!m_spool.append(edited->bytes, &planned.offset, &reason)) {
                console::error(Messages::tr("cannot keep the new contents of the files until they are "
                                            "written: %1; no file changed")
                                   .arg(messages::reason(reason)));
                return false;
            }
            planned.size = edited->bytes.size();
            if (!edited->notes.isEmpty())
                m_notes.insert(index, edited->notes);
        }
        edited->bytes.clear();
        m_planned.push_back(std::move(planned));
        return true;
    }

    // One file's write, made on one of the writing threads and said in turn.
    struct Step
    {
        QStringList notes;
        QString notice; // what the save found to say besides its outcome
        QString failure;
        bool committed = false;
    };

    // Writes file `index` in its step: its new file made, on disk, in its
    // old one's place. A file that is no longer as it was read (another
    // program wrote it: looked for just before the new file takes its
    // place), or that the batch could not lock, is read and set again under
    // a lock of its own.
    void writeFile(qsizetype index, const tarvo::SaveLock &lock, const tarvo::InterruptedSaves &interrupted,
                   tarvo::FolderFlushes *flushes, Step *step)
    {
        const QString &file = m_line.files.at(index);
        const Planned &planned = m_planned[size_t(index)];
        const QByteArray target = targetOf(index);
        const struct stat *locked = lock.lockedFile();
        if (locked && tarvo::fingerprintOfStat(*locked).sameStat(planned.read)) {
            QString reason;
            QByteArray bytes;
            if (!m_spool.read(planned.offset, planned.size, &bytes, &reason)) {
                step->failure = programstreams::cannotWriteText(file, reason);
                return;
            }
            tarvo::PendingReplacement::Prepared prepared;
            prepared.target = target;
            prepared.now = *locked;
            prepared.leftoverPossible = interrupted.mayHave(target, locked->st_dev, locked->st_ino);
            tarvo::PendingReplacement replacement(prepared, bytes);
            if (save(file, &replacement, flushes, step) || !replacement.changedMeanwhile()) {
                step->notes = m_notes.value(index);
                return;
            }
            step->failure.clear();
        }
        tarvo::SaveLock ownLock;
        QString reason;
        if (!ownLock.lock(file, &reason)) {
            step->failure = programstreams::cannotWriteText(file, reason);
            return;
        }
        QByteArray bytes;
        Edited edited;
        if (!tarvo::readProgramBytes(file, &bytes, &reason, nullptr, &edited.read)) {
            step->failure = Messages::tr("%1; the file changed while set ran and is left as it is now")
                                .arg(programstreams::cannotReadText(file, reason));
            return;
        }
        if (!setCells(file, bytes, &edited, &reason)) {
            step->failure = Messages::tr("%1; the file changed while set ran and is left as it is now").arg(reason);
            return;
        }
        tarvo::PendingReplacement replacement(file, edited.bytes);
        save(file, &replacement, flushes, step);
        step->notes = edited.notes;
    }

    // The three steps of one save; true when the file is saved.
    static bool save(const QString &file, tarvo::PendingReplacement *replacement, tarvo::FolderFlushes *flushes,
                     Step *step)
    {
        QString why;
        step->committed = replacement->write(&why) && replacement->sync(&why) && replacement->commit(&why, flushes);
        if (!step->committed)
            step->failure = programstreams::cannotWriteText(file, why);
        const QString notice = replacement->notice();
        if (!notice.isEmpty())
            step->notice += (step->notice.isEmpty() ? QString() : QStringLiteral("\n")) + notice;
        return step->committed;
    }

    // Every outcome is the file's own: a file is said to fail only where
    // its own new contents are not on disk, whatever happened to the others.
    int writeBatch(qsizetype first, qsizetype end)
    {
        int status = exitcode::Success;
        const qsizetype count = end - first;
        const QStringList batch = m_line.files.mid(first, count);
        QString reason;
        // A file that cannot be locked fails alone; the others are locked.
        QHash<QString, QString> unlocked;
        tarvo::SaveLocks batchLocks;
        tarvo::InterruptedSaves batchInterrupted;
        const tarvo::SaveLocks *locks = m_heldLocks.get();
        const tarvo::InterruptedSaves *interrupted = m_heldInterrupted.get();
        if (!locks) {
            resolveBatch(first, count, &unlocked);
            if (!batchLocks.lockAll(batch, m_targets, &reason, &unlocked)) {
                console::error(reason);
                return exitcode::WriteFailed;
            }
            batchInterrupted.lookFor(m_targets);
            locks = &batchLocks;
            interrupted = &batchInterrupted;
        }
        std::vector<Step> steps(static_cast<size_t>(count));
        tarvo::FolderFlushes flushes;
        const int threads = int(qMin<qsizetype>(kWritingThreads, count));
        workerpool::run(count, threads - 1, [&](qsizetype k) {
            const qsizetype i = first + k;
            Step &step = steps[size_t(k)];
            const QString &file = m_line.files.at(i);
            if (m_planned[size_t(i)].offset < 0 || isStandardStream(file))
                return; // named before; standard output is written in turn below
            if (unlocked.contains(file)) {
                step.failure = programstreams::cannotWriteText(file, unlocked.value(file));
                return;
            }
            writeFile(i, locks->lockOf(k), *interrupted, &flushes, &step);
        }, [](const auto &take) { take(); });
        // Said in the order of the files.
        for (qsizetype k = 0; k < count; ++k) {
            const qsizetype i = first + k;
            Step &step = steps[size_t(k)];
            if (isStandardStream(m_line.files.at(i)) && m_planned[size_t(i)].offset >= 0) {
                QByteArray bytes;
                if (!m_spool.read(m_planned[size_t(i)].offset, m_planned[size_t(i)].size, &bytes, &reason)) {
                    console::error(programstreams::cannotWriteText(m_line.files.at(i), reason));
                    status = exitcode::worse(status, exitcode::WriteFailed);
                    continue;
                }
                console::writeOut(bytes);
                if (!console::finishOut())
                    status = exitcode::worse(status, exitcode::WriteFailed);
                else
                    sayNotes(m_notes.value(i), &status);
                continue;
            }
            // What the save found to say besides (an earlier interrupted
            // save made whole, a copy it could not remove), then its outcome.
            if (!step.notice.isEmpty())
                console::error(step.notice);
            if (!step.failure.isEmpty()) {
                console::error(step.failure);
                status = exitcode::worse(status, exitcode::WriteFailed);
            } else if (step.committed) {
                sayNotes(step.notes, &status);
            }
        }
        // Each folder flushed once, its files all in place.
        flushes.flush();
        return status;
    }

    // Resolves the paths of files first .. first + count - 1 (see
    // SaveTargets) into m_targets; those that cannot be go to `unresolved`
    // with the reason, their targets empty, as are those of standard input.
    void resolveBatch(qsizetype first, qsizetype count, QHash<QString, QString> *unresolved)
    {
        m_targets.clear();
        m_targets.reserve(count);
        m_targetsFrom = first;
        for (qsizetype i = first; i < first + count; ++i) {
            const QString &file = m_line.files.at(i);
            QByteArray target;
            QString reason;
            if (!isStandardStream(file) && !m_resolver.resolve(file, &target, &reason)) {
                unresolved->insert(file, reason);
                target.clear();
            }
            m_targets.append(target);
        }
    }

    // The first of files first .. first + count - 1 in `named`.
    qsizetype firstOf(const QHash<QString, QString> &named, qsizetype first, qsizetype count) const
    {
        for (qsizetype i = first; i < first + count; ++i)
            if (named.contains(m_line.files.at(i)))
                return i;
        return first;
    }

    QByteArray targetOf(qsizetype index) const { return m_targets.value(index - m_targetsFrom); }

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
    tarvo::SaveTargets m_resolver;
    // The paths of the batch at hand resolved (from file m_targetsFrom on);
    // empty for standard input.
    QList<QByteArray> m_targets;
    qsizetype m_targetsFrom = 0;
    Spool m_spool;
    std::vector<Planned> m_planned;
    QHash<qsizetype, QStringList> m_notes; // of the few files with something to say
    // A run that is one batch: its locks, held from the read to the write,
    // and the interrupted saves looked for under them.
    std::unique_ptr<tarvo::SaveLocks> m_heldLocks;
    std::unique_ptr<tarvo::InterruptedSaves> m_heldInterrupted;
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
