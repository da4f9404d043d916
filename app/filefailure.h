#pragma once

#include <QCoreApplication>
#include <QString>

// The text of a failed open or save: the editor's own first line, then why
// in the interface's language, then what the user can do about it.
class FileFailure
{
    Q_DECLARE_TR_FUNCTIONS(FileFailure)

public:
    enum class Operation { Open, Save };

    // `firstLine` is the editor's message; `reason` the file-format
    // library's explanation (a system error text in the process's locale,
    // or one of its own English texts). Empty parts are left out.
    static QString message(const QString &firstLine, const QString &reason, Operation operation);

    // The reason in the interface's language; unknown texts as they are.
    static QString translatedReason(const QString &reason);

    // True when the reason says that the folder or the file refused the
    // write (permissions, a read-only file or file system).
    static bool isRefusal(const QString &reason);
};
