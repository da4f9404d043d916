#pragma once

#include "filefingerprint.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

// Watches the document's file for changes by other programs: a watch on the
// file and its folder (a program that replaces the file drops the watch on
// the old one), and the editor coming back to the front. Tells only that
// the file may have changed; check() says whether it did.
class DiskWatch : public QObject
{
    Q_OBJECT

public:
    explicit DiskWatch(QObject *parent = nullptr);

    // Watches `path`, which holds what `known` says (just read or written).
    // Again after every save of the editor's own, which replaces the file.
    void watch(const QString &path, const tarvo::FileFingerprint &known);
    // Watches nothing.
    void stop();

    QString path() const { return m_path; }
    const tarvo::FileFingerprint &known() const { return m_known; }

    // How the file differs from what the editor last read or wrote; `now`
    // and `bytes` as tarvo::diskChange gives them.
    tarvo::DiskChange check(tarvo::FileFingerprint *now = nullptr, QByteArray *bytes = nullptr) const;

signals:
    // The file may have changed: a watch fired, or the editor came back to
    // the front. A burst of events comes as one.
    void mayHaveChanged();

private:
    void rearm();

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_path;
    tarvo::FileFingerprint m_known;
};
