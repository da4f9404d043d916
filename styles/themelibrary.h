#pragma once

// The two functions of the Windows theme library "uxtheme" that tell whether
// visual themes are on and which theme file and colour scheme are current.
// They are looked up once per process; where the library does not exist
// (any platform but Windows) both stay null.

#include <QtGlobal>

#ifdef Q_OS_WIN
#define TARVO_THEME_API __stdcall
#else
#define TARVO_THEME_API
#endif

// BOOL IsAppThemed(void)
using IsAppThemedFunction = int(TARVO_THEME_API *)();
// HRESULT GetCurrentThemeName(LPWSTR file, int fileCapacity, LPWSTR colour,
//                             int colourCapacity, LPWSTR size, int sizeCapacity)
using GetCurrentThemeNameFunction = long(TARVO_THEME_API *)(wchar_t *themeFile, int themeFileCapacity,
                                                            wchar_t *colourName, int colourNameCapacity,
                                                            wchar_t *sizeName, int sizeNameCapacity);

struct ThemeFunctions
{
    IsAppThemedFunction isAppThemed = nullptr;
    GetCurrentThemeNameFunction getCurrentThemeName = nullptr;
};

class ThemeLibrary
{
public:
    using Resolver = ThemeFunctions (*)();

    // Runs the resolver on the first call in the process; later calls do nothing.
    static void ensureResolved();
    static bool isResolved();
    // The resolved functions; both null before the resolution has run.
    static ThemeFunctions functions();

    // The real resolver: loads "uxtheme" by name and looks up both functions.
    static ThemeFunctions resolveFromSystem();

    // Replaces the resolver and forgets an earlier resolution, so that the
    // next ensureResolved() runs the new one. For tests only.
    static void setResolverForTesting(Resolver resolver);
};
