#include "windowsmodernstyleplugin.h"

#include "windowsmodernstyle.h"

WindowsModernStylePlugin::WindowsModernStylePlugin(QObject *parent)
    : QStylePlugin(parent)
{
}

QStringList WindowsModernStylePlugin::keys() const
{
    return {QStringLiteral("WindowsModernStyle")};
}

QStyle *WindowsModernStylePlugin::create(const QString &key)
{
    if (key.toLower() == QLatin1String("windowsmodernstyle"))
        return new WindowsModernStyle;
    return nullptr;
}
