#include "recentfiles.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace {
QString settingsKey() { return QStringLiteral("RecentFiles"); }
} // namespace

RecentFiles::RecentFiles(QMenu *menu, std::function<void(const QString &)> open, QObject *parent)
    : QObject(parent), m_menu(menu), m_open(std::move(open))
{
    connect(menu, &QMenu::aboutToShow, this, &RecentFiles::fillMenu);
    fillMenu();
}

void RecentFiles::add(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = files();
    list.removeAll(absolute);
    list.prepend(absolute);
    QSettings().setValue(settingsKey(), list.mid(0, kMaximum));
}

QStringList RecentFiles::files()
{
    const QStringList stored = QSettings().value(settingsKey()).toStringList();
    QStringList present;
    for (const QString &path : stored) {
        if (QFileInfo(path).isFile() && !present.contains(path))
            present << path;
    }
    return present.mid(0, kMaximum);
}

void RecentFiles::fillMenu()
{
    m_menu->clear();
    const QStringList list = files();
    if (list != QSettings().value(settingsKey()).toStringList() && !QSettings().value(settingsKey()).isNull())
        QSettings().setValue(settingsKey(), list);
    for (int i = 0; i < list.size(); ++i) {
        const QString &path = list.at(i);
        // A mnemonic for each of the first nine; an & in a name is shown as itself.
        QString label = QDir::toNativeSeparators(path);
        label.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction *action = m_menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(label));
        connect(action, &QAction::triggered, this, [this, path] { m_open(path); });
    }
    if (list.isEmpty()) {
        QAction *none = m_menu->addAction(tr("No recent files"));
        none->setEnabled(false);
    }
    m_menu->setEnabled(true);
}
