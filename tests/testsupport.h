#pragma once

// Test isolation: every test process gets a temporary home for its settings
// and runs in a temporary working directory, so it never sees or changes the
// user's real settings and never finds a names file or translation by chance,
// not even one that an installed package put into a system data folder.

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtGlobal>

namespace testsupport {

class IsolatedEnvironment
{
public:
    IsolatedEnvironment()
    {
        Q_ASSERT(m_dir.isValid());
        QDir(m_dir.path()).mkpath(QStringLiteral("config"));
        QDir(m_dir.path()).mkpath(QStringLiteral("work"));
        QDir(m_dir.path()).mkpath(QStringLiteral("share"));
        qputenv("XDG_CONFIG_HOME", configPath().toLocal8Bit());
        qputenv("HOME", m_dir.path().toLocal8Bit());
        qputenv("XDG_STATE_HOME", QByteArray(m_dir.path().toLocal8Bit() + "/state"));
        qputenv("XDG_DATA_DIRS", QByteArray(m_dir.path().toLocal8Bit() + "/share"));
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configPath());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configPath());
        QDir::setCurrent(workPath());
    }

    QString path() const { return m_dir.path(); }
    QString configPath() const { return m_dir.path() + QStringLiteral("/config"); }
    QString workPath() const { return m_dir.path() + QStringLiteral("/work"); }

private:
    QTemporaryDir m_dir;
};

// Call once, in a test's initTestCase.
inline IsolatedEnvironment &isolate()
{
    static IsolatedEnvironment environment;
    return environment;
}

} // namespace testsupport
