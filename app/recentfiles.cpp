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
    QSettings settings;
    const QVariant stored = settings.value(settingsKey());
    QStringList list = present(stored.toStringList());
    list.removeAll(absolute);
    list.prepend(absolute);
    list = list.mid(0, kMaximum);
    // Written (and so flushed to disk) only when it changes: saving or
    // opening the newest file again leaves the settings as they are.
    if (stored.isNull() || stored.toStringList() != list)
        settings.setValue(settingsKey(), list);
}

QStringList RecentFiles::files()
{
    return present(QSettings().value(settingsKey()).toStringList());
}

QStringList RecentFiles::present(const QStringList &stored)
{
    QStringList found;
    for (const QString &path : stored) {
        if (QFileInfo(path).isFile() && !found.contains(path))
            found << path;
    }
    return found.mid(0, kMaximum);
}

void RecentFiles::fillMenu()
{
    m_menu->clear();
    QSettings settings;
    const QVariant stored = settings.value(settingsKey());
    const QStringList list = present(stored.toStringList());
    if (!stored.isNull() && list != stored.toStringList())
        settings.setValue(settingsKey(), list);
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
