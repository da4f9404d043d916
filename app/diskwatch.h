#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

// Watches the document's file for changes by other programs: a watch on the
// file and its folder (a program that replaces the file drops the watch on
// the old one), and the editor coming back to the front. Tells only that
// the file may have changed; tarvo::diskChange says whether it did.
class DiskWatch : public QObject
{
    Q_OBJECT

public:
    explicit DiskWatch(QObject *parent = nullptr);

    // Watches `path`. Again after every save of the editor's own, which
    // replaces the file.
    void watch(const QString &path);
    // Watches nothing.
    void stop();

signals:
    // The file may have changed: a watch fired, or the editor came back to
    // the front. A burst of events comes as one.
    void mayHaveChanged();

private:
    void rearm();

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_path;
};
