#include "themelibrary.h"

#include <QLibrary>

namespace {

struct ResolutionState
{
    bool resolved = false;
    ThemeFunctions functions;
    ThemeLibrary::Resolver resolver = &ThemeLibrary::resolveFromSystem;
};

ResolutionState &state()
{
    static ResolutionState resolution;
    return resolution;
}

} // namespace

void ThemeLibrary::ensureResolved()
{
    ResolutionState &s = state();
    if (s.resolved)
        return;
    s.resolved = true;
    s.functions = s.resolver();
}

bool ThemeLibrary::isResolved()
{
    return state().resolved;
}

ThemeFunctions ThemeLibrary::functions()
{
    return state().functions;
}

ThemeFunctions ThemeLibrary::resolveFromSystem()
{
    // The QLibrary object goes at once but does not unload the library, so the
    // function pointers stay valid for the life of the process.
    QLibrary library(QStringLiteral("uxtheme"));
    ThemeFunctions found;
    found.isAppThemed = reinterpret_cast<IsAppThemedFunction>(library.resolve("IsAppThemed"));
    found.getCurrentThemeName =
        reinterpret_cast<GetCurrentThemeNameFunction>(library.resolve("GetCurrentThemeName"));
    return found;
}

void ThemeLibrary::setResolverForTesting(Resolver resolver)
{
    ResolutionState &s = state();
    s.resolver = resolver ? resolver : &ThemeLibrary::resolveFromSystem;
    s.resolved = false;
    s.functions = ThemeFunctions();
}
