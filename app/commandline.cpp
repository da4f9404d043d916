#include "commandline.h"

#include "appidentity.h"
#include "datafiles.h"
#include "filefailure.h"

#include <regularfile.h>
#include <terminal.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cerrno>
#include <cstdio>

namespace commandline {

namespace {

QString text(const char *source)
{
    return QCoreApplication::translate("CommandLine", source);
}

// `message` in the terminal's character set; false, with errno saying why,
// when it could not be written.
bool print(FILE *stream, const QString &message)
{
    return terminal::write(stream, terminal::encode(message));
}

// The parser with its options; its texts in the language of the
// translation installed when it is made.
void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(identity::programTitle() + QLatin1Char(' ') + identity::versionText());
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, text(QT_TRANSLATE_NOOP("CommandLine", "Show this help and exit."))});
    parser.addOption({{QStringLiteral("v"), QStringLiteral("version")}, text(QT_TRANSLATE_NOOP("CommandLine", "Show the version and exit."))});
    parser.addPositionalArgument(text(QT_TRANSLATE_NOOP("CommandLine", "FILE")), text(QT_TRANSLATE_NOOP("CommandLine", "A program file (.prg) to open.")), text(QT_TRANSLATE_NOOP("CommandLine", "[FILE]")));
}

// The toolkit's own options (it reads them itself), those followed by a value.
const char *const kToolkitOptionsWithValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                               "qwindowgeometry", "qwindowtitle", "qwindowicon", "style",
                                               "stylesheet", "session", "display", "name", "geometry",
                                               "title", "visual", "qmljsdebugger"};
const char *const kToolkitFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// The arguments without the toolkit's options.
QStringList withoutToolkitOptions(const QStringList &arguments)
{
    QStringList kept;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (i == 0 || !argument.startsWith(QLatin1Char('-')) || argument.startsWith(QLatin1String("--"))) {
            kept << argument;
            if (argument == QLatin1String("--")) {
                kept << arguments.mid(i + 1);
                break;
            }
            continue;
        }
        const QString option = argument.mid(1).section(QLatin1Char('='), 0, 0);
        bool toolkit = false;
        for (const char *name : kToolkitOptionsWithValue) {
            if (option == QLatin1String(name)) {
                toolkit = true;
                if (!argument.contains(QLatin1Char('=')))
                    ++i; // its value
            }
        }
        for (const char *name : kToolkitFlags)
            toolkit = toolkit || option == QLatin1String(name);
        if (!toolkit)
            kept << argument;
    }
    return kept;
}

} // namespace

Request parse(const QStringList &arguments)
{
    Request request;
    QCommandLineParser parser;
    describe(parser);
    const bool parsed = parser.parse(withoutToolkitOptions(arguments));
    const QStringList files = parsed ? parser.positionalArguments() : QStringList();
    if (parsed && !parser.isSet(QStringLiteral("help")) && !parser.isSet(QStringLiteral("version"))
        && files.size() <= 1) {
        if (!files.isEmpty())
            request.file = QFileInfo(files.constFirst()).absoluteFilePath();
        return request;
    }
    request.exitNow = true;
    // Texts in the user's language need the translation, and it an
    // application object; no display is needed for either.
    QCoreApplication *application = nullptr;
    int argc = 1;
    char name[] = "tarvo";
    char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        application = new QCoreApplication(argc, argv);
    // The locale's language where the editor has a translation for it
    // (Bulgarian), otherwise English; "Usage:" and "Options:" in the same.
    QTranslator translator;
    QTranslator toolkitTranslator;
    const QString stem = identity::translationStem();
    const QString folder = datafiles::folderHolding({stem + QStringLiteral(".qm"), stem});
    const QString prefix = stem.section(QLatin1Char('_'), 0, 0);
    if (!folder.isEmpty() && translator.load(QLocale(), prefix, QStringLiteral("_"), folder)) {
        if (toolkitTranslator.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&toolkitTranslator);
        QCoreApplication::installTranslator(&translator);
    }
    QCommandLineParser translated;
    describe(translated);
    if (parsed && (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("version")))) {
        const QString output = parser.isSet(QStringLiteral("help"))
                                   ? translated.helpText()
                                   : QStringLiteral("tarvo %1\n").arg(QStringLiteral(TARVO_VERSION));
        // Output that was lost is no success: a script would take it for one.
        if (!print(stdout, output)) {
            const QString reason = FileFailure::translatedReason(tarvo::systemErrorText(errno));
            print(stderr, QStringLiteral("tarvo: %1\n")
                              .arg(text(QT_TRANSLATE_NOOP("CommandLine", "cannot write standard output: %1")).arg(reason)));
            request.exitCode = 3;
        }
    } else {
        const QString error = parsed ? text(QT_TRANSLATE_NOOP("CommandLine", "Only one file can be opened at a time.")) : parser.errorText();
        print(stderr, QStringLiteral("tarvo: %1\n%2\n").arg(error, text(QT_TRANSLATE_NOOP("CommandLine", "Try 'tarvo --help'."))));
        request.exitCode = 2;
    }
    QCoreApplication::removeTranslator(&translator);
    QCoreApplication::removeTranslator(&toolkitTranslator);
    delete application;
    return request;
}

} // namespace commandline
