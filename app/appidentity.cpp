#include "appidentity.h"

#include <QApplication>
#include <QFont>

// Outside any namespace, as the resource macro requires.
static void initImageResources() { Q_INIT_RESOURCE(images); }

namespace identity {

QString buildDate() { return QStringLiteral(__DATE__); }
QString buildTime() { return QStringLiteral(__TIME__); }

void registerResources() { initImageResources(); }

void setUpApplication()
{
    // When no style answers to the key, the default style stays, silently.
    QApplication::setStyle(styleKey());
    QCoreApplication::setOrganizationName(organisationName());
    QCoreApplication::setApplicationName(applicationName());
    // Docks and task bars find the window's name and icon through it.
    QGuiApplication::setDesktopFileName(desktopFileName());
    QFont font(fontFamily(), fontPointSize, QFont::Normal, false);
    QApplication::setFont(font);
}

} // namespace identity
