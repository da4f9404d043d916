#pragma once

#include "recoveryfile.h"

#include <QLockFile>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

// Keeps the unsaved edits of the window's document in a recovery file of
// its own in the user's state folder, a few seconds after a change and
// never on the keystroke itself, so that a crash, a kill or a power cut
// leaves them for the next start.
class RecoveryKeeper : public QObject
{
    Q_OBJECT

public:
    // Fills in the document as it is now; false when nothing is unsaved.
    using Snapshot = std::function<bool(tarvo::Recovery *)>;

    explicit RecoveryKeeper(Snapshot snapshot, QObject *parent = nullptr);
    ~RecoveryKeeper() override;

    // The document changed: its edits are kept once the delay has passed.
    void documentChanged();
    // Keeps them now (or removes the file when nothing is unsaved).
    void keepNow();
    // Removes the recovery file: the edits were saved or deliberately dropped.
    void discard();

    QString path() const { return m_path; }

    // Recovery files that no running editor keeps: left by one that ended
    // without saving. Newest first.
    static QStringList orphans();

    // How long after a change the edits are kept.
    static constexpr int kDelayMs = 2000;

private:
    Snapshot m_snapshot;
    QTimer m_delay;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock; // held while this editor keeps the file
};
