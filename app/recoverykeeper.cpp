#include "recoverykeeper.h"

#include "document.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>

namespace {
QString lockPathOf(const QString &recoveryFile) { return recoveryFile + QStringLiteral(".lock"); }
} // namespace

RecoveryKeeper::RecoveryKeeper(Document *document, QObject *parent)
    : QObject(parent),
      m_document(document),
      m_path(tarvo::recoveryFilePath(QCoreApplication::applicationPid()))
{
    m_delay.setSingleShot(true);
    m_delay.setInterval(kDelayMs);
    connect(&m_delay, &QTimer::timeout, this, &RecoveryKeeper::keepNow);
    connect(document, &Document::cellChanged, this, &RecoveryKeeper::documentChanged);
    // Another file, or its own just written: what was kept may be saved now.
    connect(document, &Document::fileChanged, this, &RecoveryKeeper::keepNow);
}

RecoveryKeeper::~RecoveryKeeper() = default;

void RecoveryKeeper::documentChanged()
{
    // The first change starts the clock; those that follow ride along.
    if (!m_delay.isActive())
        m_delay.start();
}

void RecoveryKeeper::keepNow()
{
    m_delay.stop();
    tarvo::Recovery recovery;
    if (!m_document->recoverySnapshot(&recovery)) {
        discard();
        return;
    }
    if (!m_lock) {
        // Only a folder of this user's alone: neither the recovery file nor
        // its lock goes anywhere else.
        QString reason;
        if (!tarvo::prepareRecoveryFolder(&reason)) {
            failed(reason);
            return;
        }
        m_lock = std::make_unique<QLockFile>(lockPathOf(m_path));
        m_lock->setStaleLockTime(0);
        if (!m_lock->tryLock(0)) {
            const bool held = m_lock->error() == QLockFile::LockFailedError;
            m_lock.reset();
            // Held: another editor keeps this file; nothing is overwritten.
            if (!held)
                failed(tr("its lock file cannot be made"));
            return;
        }
    }
    recovery.kept = QDateTime::currentDateTime();
    QString error;
    if (!tarvo::writeRecoveryFile(m_path, recovery, &error))
        failed(error);
}

void RecoveryKeeper::failed(const QString &reason)
{
    if (m_toldCannotKeep)
        return;
    m_toldCannotKeep = true;
    emit cannotKeep(reason);
}

void RecoveryKeeper::discard()
{
    m_delay.stop();
    if (m_lock)
        tarvo::removeRecoveryFile(m_path);
    m_lock.reset();
}

QStringList RecoveryKeeper::orphans()
{
    QStringList found;
    for (const QString &file : tarvo::recoveryFiles()) {
        QLockFile lock(lockPathOf(file));
        lock.setStaleLockTime(0);
        if (lock.tryLock(0))
            found << file; // nobody keeps it; the lock goes again at once
    }
    std::reverse(found.begin(), found.end());
    return found;
}
