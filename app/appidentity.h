#pragma once

#include "tarvoversion.h"

#include <QLocale>
#include <QString>

// Process-wide identity of the program, one definition each.
namespace identity {

inline QString programTitle() { return QStringLiteral("TARVO VODI"); }
inline QString versionText() { return QStringLiteral("v " TARVO_VERSION); }
inline QString organisationName() { return QStringLiteral("Quorvel Labs"); }
inline QString applicationName() { return QStringLiteral("Tarvo"); }
inline QString styleKey() { return QStringLiteral("windowsmodernstyle"); }
// The desktop entry the running window belongs to, without ".desktop".
inline QString desktopFileName() { return QStringLiteral("org.quorvellabs.Tarvo"); }
inline QString translationStem() { return QStringLiteral("Tarvo_bg"); }
inline QString fontFamily() { return QStringLiteral("Verdana"); }
constexpr int fontPointSize = 8;
// The application font's family: fontFamily() where the system has it,
// else the family the system puts in its place. Needs the application object.
QString resolvedFontFamily();

// The date and time the program was built (TARVO_BUILD_EPOCH), the date
// in the words of `locale` ("8 December 2026"), the time as "22:40:05 UTC".
QString buildDate(const QLocale &locale);
QString buildTime();

// Start-up steps before the main window: the compiled-in images, the style,
// the names of the settings store and the application font. Needs the
// application object.
void registerResources();
void setUpApplication();

} // namespace identity
