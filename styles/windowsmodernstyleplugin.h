#pragma once

// The style plug-in that creates WindowsModernStyle by its key. It is linked
// into the program statically; linking it imports it.

#include <QStringList>
#include <QStylePlugin>

class WindowsModernStylePlugin : public QStylePlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QStyleFactoryInterface_iid FILE "windowsmodernstyleplugin.json")

public:
    explicit WindowsModernStylePlugin(QObject *parent = nullptr);

    // The key list; the style factory reads the same list from the metadata.
    QStringList keys() const;
    // A new style, owned by the caller, when the key in lower case is
    // "windowsmodernstyle"; null for any other key.
    QStyle *create(const QString &key) override;
};
