#pragma once

// Decides the current Windows colour theme from the answers of the theme
// library's two functions.

#include "themelibrary.h"
#include "windowstheme.h"

#include <QString>

// The theme that a theme file name and a colour scheme name stand for.
WindowsTheme themeFromNames(const QString &themeFile, const QString &colourName);

// Asks the given functions; a missing function or a failure answer is Classic.
WindowsTheme detectTheme(const ThemeFunctions &functions);
