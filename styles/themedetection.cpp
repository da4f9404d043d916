#include "themedetection.h"

namespace {

constexpr int NameCapacity = 256;

// A wide-character buffer up to its terminating zero, never past its end.
QString fromWideBuffer(const wchar_t *buffer, int capacity)
{
    int length = 0;
    while (length < capacity && buffer[length] != 0)
        ++length;
    return QString::fromWCharArray(buffer, length);
}

} // namespace

WindowsTheme themeFromNames(const QString &themeFile, const QString &colourName)
{
    if (themeFile.endsWith(QLatin1String("Luna.msstyles"), Qt::CaseSensitive)) {
        if (colourName == QLatin1String("HomeStead"))
            return WindowsTheme::Olive;
        if (colourName == QLatin1String("Metallic"))
            return WindowsTheme::Silver;
        return WindowsTheme::Blue;
    }
    if (themeFile.endsWith(QLatin1String("Aero.msstyles"), Qt::CaseSensitive))
        return WindowsTheme::Blue;
    return WindowsTheme::Classic;
}

WindowsTheme detectTheme(const ThemeFunctions &functions)
{
    if (!functions.isAppThemed || !functions.isAppThemed())
        return WindowsTheme::Classic;
    if (!functions.getCurrentThemeName)
        return WindowsTheme::Classic;

    wchar_t themeFile[NameCapacity] = {};
    wchar_t colourName[NameCapacity] = {};
    if (functions.getCurrentThemeName(themeFile, NameCapacity, colourName, NameCapacity, nullptr, 0) != 0)
        return WindowsTheme::Classic;

    return themeFromNames(fromWideBuffer(themeFile, NameCapacity), fromWideBuffer(colourName, NameCapacity));
}
