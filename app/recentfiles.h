#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QMenu;

// File ▸ Recent files: the last program files opened or saved, newest
// first, kept in the settings under "RecentFiles"; files that are gone are
// dropped when the menu is shown.
class RecentFiles : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaximum = 8;

    // Fills `menu` each time it is about to show; choosing an entry calls
    // `open` with its path.
    RecentFiles(QMenu *menu, std::function<void(const QString &)> open, QObject *parent = nullptr);

    // Puts `path` first in the list.
    static void add(const QString &path);
    // The list as stored, without files that are gone.
    static QStringList files();

private:
    // The files of a stored list that are still there.
    static QStringList present(const QStringList &stored);
    void fillMenu();

    QMenu *m_menu;
    std::function<void(const QString &)> m_open;
};
