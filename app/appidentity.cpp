#include "appidentity.h"

#include "tarvobuildstamp.h"

#include <QApplication>
#include <QDateTime>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTimeZone>

// Outside any namespace, as the resource macro requires.
static void initImageResources() { Q_INIT_RESOURCE(images); }

namespace identity {

namespace {
QDateTime buildStamp() { return QDateTime::fromSecsSinceEpoch(TARVO_BUILD_EPOCH, QTimeZone::utc()); }
} // namespace

QString buildDate(const QLocale &locale) { return locale.toString(buildStamp().date(), QStringLiteral("d MMMM yyyy")); }
QString buildTime() { return buildStamp().time().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(" UTC"); }

QString resolvedFontFamily()
{
    // Where the family is missing, every font made from it (each size, the
    // bold headers) would go through the system's substitution again: ask
    // once which family stands in for it, and use that.
    if (QFontDatabase::hasFamily(fontFamily()))
        return fontFamily();
    const QString substitute = QFontInfo(QFont(fontFamily(), fontPointSize)).family();
    return substitute.isEmpty() ? fontFamily() : substitute;
}

void registerResources() { initImageResources(); }

void setUpApplication()
{
    // When no style answers to the key, the default style stays, silently.
    QApplication::setStyle(styleKey());
    QCoreApplication::setOrganizationName(organisationName());
    QCoreApplication::setApplicationName(applicationName());
    // Docks and task bars find the window's name and icon through it.
    QGuiApplication::setDesktopFileName(desktopFileName());
    QFont font(resolvedFontFamily(), fontPointSize, QFont::Normal, false);
    QApplication::setFont(font);
}

} // namespace identity
