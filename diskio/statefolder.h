#pragma once

// The user's state folder, $XDG_STATE_HOME/tarvo (by default
// ~/.local/state/tarvo): where a save in place keeps its copy of the
// previous bytes, and where the editor keeps unsaved edits for recovery.
// What is kept there is trusted when it is read back (a copy is written
// over a program file, a recovery file names the file its edits belong
// to), so the folder is used only when it is this user's alone: a link, a
// folder of another user or one that others may write, or one that lies in
// a folder others may change, is refused, and the reason said. Nothing here
// ever changes the mode or owner of a folder it did not make.

#include <QString>

namespace tarvo {

// Where the state folder is: $XDG_STATE_HOME/tarvo where XDG_STATE_HOME is
// an absolute path, else HOME/.local/state/tarvo, HOME taken from the
// environment where it is an absolute path, else from the user database.
// Empty when this user has no home folder. Nothing is looked at or made.
QString stateFolderPath();

enum class StateFolderCheck {
    Usable,  // there, and this user's alone
    Missing, // not made yet (nothing can be kept in it)
    Refused, // not to be trusted; the reason says why
};

// Looks at the state folder at `folder` without making it: a folder (not a
// symbolic link) that this user owns and that nobody else may write, every
// folder above it (links followed) owned by this user or the system and
// writable by nobody else, unless sticky (as /tmp). `reason` (when given)
// says why it is missing or refused.
StateFolderCheck checkStateFolder(const QString &folder, QString *reason = nullptr);

// The state folder, made where it is missing (each missing part private to
// this user) and checked as above: its path, or an empty string with
// `reason` set when it cannot be made or is refused.
QString makeStateFolder(QString *reason);

} // namespace tarvo
