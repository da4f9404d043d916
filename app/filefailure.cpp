#include "filefailure.h"

#include "regularfile.h"

#include <QRegularExpression>

#include <cerrno>

namespace {

struct KnownReason
{
    int number; // 0 for the library's own texts
    const char *text;
};

// The system's reasons a user meets when a file is opened or saved, in the
// C library's English, and the library's own texts.
const KnownReason kReasons[] = {
    {ENOENT, QT_TRANSLATE_NOOP("FileFailure", "No such file or directory")},
    {EACCES, QT_TRANSLATE_NOOP("FileFailure", "Permission denied")},
    {EPERM, QT_TRANSLATE_NOOP("FileFailure", "Operation not permitted")},
    {EROFS, QT_TRANSLATE_NOOP("FileFailure", "Read-only file system")},
    {ENOSPC, QT_TRANSLATE_NOOP("FileFailure", "No space left on device")},
    {EDQUOT, QT_TRANSLATE_NOOP("FileFailure", "Disk quota exceeded")},
    {EIO, QT_TRANSLATE_NOOP("FileFailure", "Input/output error")},
    {EISDIR, QT_TRANSLATE_NOOP("FileFailure", "Is a directory")},
    {ENOTDIR, QT_TRANSLATE_NOOP("FileFailure", "Not a directory")},
    {ENAMETOOLONG, QT_TRANSLATE_NOOP("FileFailure", "File name too long")},
    {ELOOP, QT_TRANSLATE_NOOP("FileFailure", "Too many levels of symbolic links")},
    {EFBIG, QT_TRANSLATE_NOOP("FileFailure", "File too large")},
    {EMFILE, QT_TRANSLATE_NOOP("FileFailure", "Too many open files")},
    {ENFILE, QT_TRANSLATE_NOOP("FileFailure", "Too many open files in system")},
    {ETXTBSY, QT_TRANSLATE_NOOP("FileFailure", "Text file busy")},
    {EBUSY, QT_TRANSLATE_NOOP("FileFailure", "Device or resource busy")},
    {ENXIO, QT_TRANSLATE_NOOP("FileFailure", "No such device or address")},
    {ENOMEM, QT_TRANSLATE_NOOP("FileFailure", "Cannot allocate memory")},
    {ESTALE, QT_TRANSLATE_NOOP("FileFailure", "Stale file handle")},
    {0, QT_TRANSLATE_NOOP("FileFailure", "Not a regular file")},
    {0, QT_TRANSLATE_NOOP("FileFailure", "The file is read-only")},
    {0, QT_TRANSLATE_NOOP("FileFailure", "The file changed while it was being saved")},
    {0, QT_TRANSLATE_NOOP("FileFailure", "The file is too large to be rewritten in place")},
};

// The library's own texts that carry numbers, and what a user can do about
// each.
enum class Advice { Default, TooLarge, TryAgain };

struct PatternReason
{
    const char *pattern; // the English text, its numbers as (\d+)
    const char *text;    // its translation source, the numbers as %1, %2, %3
    Advice advice;
};

const PatternReason kPatternReasons[] = {
    {R"(it is (\d+) bytes, more than the (\d+) bytes \((\d+) MiB\) a program file may have)",
     QT_TRANSLATE_NOOP("FileFailure", "it is %1 bytes, more than the %2 bytes (%3 MiB) a program file may have"),
     Advice::TooLarge},
    {R"(it would be (\d+) bytes, more than the (\d+) bytes \((\d+) MiB\) a program file may have)",
     QT_TRANSLATE_NOOP("FileFailure", "it would be %1 bytes, more than the %2 bytes (%3 MiB) a program file may have"),
     Advice::TooLarge},
    {R"(it reads as more than the (\d+) bytes its size says \(a file of the system, or one being written\))",
     QT_TRANSLATE_NOOP("FileFailure",
                       "it reads as more than the %1 bytes its size says (a file of the system, or one being written)"),
     Advice::TryAgain},
    {R"(it reads as (\d+) bytes although its size says (\d+) \(a file of the system, or one being written\))",
     QT_TRANSLATE_NOOP("FileFailure",
                       "it reads as %1 bytes although its size says %2 (a file of the system, or one being written)"),
     Advice::TryAgain},
    {R"(it changed while it was read)", QT_TRANSLATE_NOOP("FileFailure", "it changed while it was read"),
     Advice::TryAgain},
};

// The entry of kPatternReasons that `reason` is, with its numbers.
const PatternReason *matchedPattern(const QString &reason, QStringList *numbers)
{
    for (const PatternReason &entry : kPatternReasons) {
        const QRegularExpression expression(QRegularExpression::anchoredPattern(QLatin1String(entry.pattern)));
        const QRegularExpressionMatch match = expression.match(reason);
        if (!match.hasMatch())
            continue;
        *numbers = match.capturedTexts().mid(1);
        return &entry;
    }
    return nullptr;
}

const char kNotPutBack[] = "; the previous contents could not be put back";

const KnownReason *known(const QString &reason)
{
    for (const KnownReason &entry : kReasons) {
        if (reason == QLatin1String(entry.text)
            || (entry.number != 0 && reason == tarvo::systemErrorText(entry.number)))
            return &entry;
    }
    return nullptr;
}

} // namespace

QString FileFailure::translatedReason(const QString &reason)
{
    QString main = reason;
    const bool notPutBack = main.endsWith(QLatin1String(kNotPutBack));
    if (notPutBack)
        main.chop(qsizetype(sizeof kNotPutBack - 1));
    const KnownReason *entry = known(main);
    QString text = entry ? tr(entry->text) : main;
    QStringList numbers;
    if (const PatternReason *pattern = entry ? nullptr : matchedPattern(main, &numbers)) {
        text = tr(pattern->text);
        for (const QString &number : std::as_const(numbers))
            text = text.arg(number);
    }
    if (notPutBack)
        text += QLatin1Char('\n') + tr("The previous contents of the file could not be put back.");
    return text;
}

bool FileFailure::isRefusal(const QString &reason)
{
    const KnownReason *entry = known(reason);
    if (!entry)
        return false;
    return entry->number == EACCES || entry->number == EPERM || entry->number == EROFS
        || QLatin1String(entry->text) == QLatin1String("The file is read-only");
}

QString FileFailure::message(const QString &firstLine, const QString &reason, Operation operation)
{
    QString text = firstLine;
    if (!reason.isEmpty())
        text += QLatin1Char('\n') + tr("Reason: %1").arg(translatedReason(reason));
    QStringList numbers;
    const PatternReason *pattern = matchedPattern(reason, &numbers);
    if (pattern && pattern->advice == Advice::TooLarge) {
        text += QStringLiteral("\n\n")
            + (operation == Operation::Save
                   ? tr("Your changes are still in the window; shorten the longest texts of the document, then "
                        "save again.")
                   : tr("A program file of the device holds a few kilobytes: this file is none."));
        return text;
    }
    if (pattern && pattern->advice == Advice::TryAgain) {
        text += QStringLiteral("\n\n")
            + (operation == Operation::Save ? tr("Your changes are still in the window; try again.")
                                            : tr("Wait until no other program writes the file, then open it again."));
        return text;
    }
    if (operation == Operation::Save) {
        const KnownReason *entry = known(reason);
        if (isRefusal(reason))
            text += QStringLiteral("\n\n")
                + tr("The folder or the file does not allow saving here. Choose File \u25B8 Save As to save "
                     "the document in another folder or under another name.");
        else if (entry && (entry->number == ENOSPC || entry->number == EDQUOT))
            text += QStringLiteral("\n\n")
                + tr("Free some space, or choose File \u25B8 Save As to save the document on another disk.");
        else
            text += QStringLiteral("\n\n") + tr("Your changes are still in the window; try again, or choose "
                                              "File \u25B8 Save As to save them elsewhere.");
    } else if (!reason.isEmpty()) {
        text += QStringLiteral("\n\n") + tr("Check the file's name and that you may read it, then open it again.");
    }
    return text;
}
