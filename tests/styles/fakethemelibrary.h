#pragma once

// Stand-ins for the Windows theme library's two functions, answering what a
// test tells them, so that theme detection can be tested on any platform.

#include "themelibrary.h"

#include <QString>

namespace fakethemelibrary {

struct Answers
{
    int appThemed = 1;
    long themeNameResult = 0; // 0 is success
    QString themeFile = QStringLiteral("C:\\WINDOWS\\resources\\Themes\\Luna\\Luna.msstyles");
    QString colourName = QStringLiteral("NormalColor");
    // What the last call of GetCurrentThemeName was given.
    int themeFileCapacity = -1;
    int colourNameCapacity = -1;
    bool sizeBufferGiven = true;
    int sizeCapacity = -1;
};

inline Answers &answers()
{
    static Answers current;
    return current;
}

inline int resolverCalls = 0;

inline int TARVO_THEME_API isAppThemed()
{
    return answers().appThemed;
}

inline void copyToBuffer(const QString &text, wchar_t *buffer, int capacity)
{
    const int length = qMin(int(text.size()), capacity - 1);
    text.left(length).toWCharArray(buffer);
    buffer[length] = 0;
}

inline long TARVO_THEME_API getCurrentThemeName(wchar_t *themeFile, int themeFileCapacity, wchar_t *colourName,
                                                int colourNameCapacity, wchar_t *sizeName, int sizeNameCapacity)
{
    Answers &a = answers();
    a.themeFileCapacity = themeFileCapacity;
    a.colourNameCapacity = colourNameCapacity;
    a.sizeBufferGiven = sizeName != nullptr;
    a.sizeCapacity = sizeNameCapacity;
    if (a.themeNameResult != 0)
        return a.themeNameResult;
    copyToBuffer(a.themeFile, themeFile, themeFileCapacity);
    copyToBuffer(a.colourName, colourName, colourNameCapacity);
    return 0;
}

// A resolver that finds both functions and counts its calls.
inline ThemeFunctions resolveBoth()
{
    ++resolverCalls;
    ThemeFunctions functions;
    functions.isAppThemed = &isAppThemed;
    functions.getCurrentThemeName = &getCurrentThemeName;
    return functions;
}

// Makes the next style that is created see Luna in its default colours (Blue).
inline void useLunaBlue()
{
    answers() = Answers();
    ThemeLibrary::setResolverForTesting(&resolveBoth);
}

} // namespace fakethemelibrary
