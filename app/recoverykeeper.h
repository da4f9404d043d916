#pragma once

#include "recoveryfile.h"

#include <QLockFile>
#include <QObject>
#include <QTimer>

#include <memory>

class Document;

// Keeps the unsaved edits of the editor's document in a recovery file of
// its own in the user's state folder, a few seconds after a change and
// never on the keystroke itself, so that a crash, a kill or a power cut
// leaves them for the next start. It follows the document: a change of a
// cell starts the delay; a save, a new document or another file takes the
// kept edits away once nothing is unsaved.
class RecoveryKeeper : public QObject
{
    Q_OBJECT

public:
    explicit RecoveryKeeper(Document *document, QObject *parent = nullptr);
    ~RecoveryKeeper() override;

    // Keeps the edits now (or removes the file when nothing is unsaved).
    void keepNow();
    // Removes the recovery file: the edits were deliberately dropped.
    void discard();

    QString path() const { return m_path; }

    // Recovery files that no running editor keeps: left by one that ended
    // without saving. Newest first.
    static QStringList orphans();

    // How long after a change the edits are kept.
    static constexpr int kDelayMs = 2000;

signals:
    // The edits cannot be kept: `reason` names the folder and says why.
    // Said once a run.
    void cannotKeep(const QString &reason);

private:
    // The document changed: its edits are kept once the delay has passed.
    void documentChanged();
    void failed(const QString &reason);

    Document *m_document;
    QTimer m_delay;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock; // held while this editor keeps the file
    bool m_toldCannotKeep = false;
};
