#pragma once

// The language of tarvo-prg's messages. Its own texts go through Qt's
// translation mechanism (Messages::tr, context "TarvoPrg"); where the
// user's language has a catalogue, the system's reasons (strerror) come in
// that language too, otherwise both are English: a message never mixes two.

#include <QCoreApplication>
#include <QString>

class Messages
{
    Q_DECLARE_TR_FUNCTIONS(TarvoPrg)
};

namespace messages {

// Loads the catalogue of the user's language (tarvo-prg_LANG.qm) from the
// installed data folder or, in the build tree, from data/ beside the
// program, and puts the C library's messages in step. Call once, after
// the application object exists.
void setUpLanguage();

// True when a catalogue is in use.
bool translated();

// A reason that the file-format library gives in English ("Is a
// directory"), in the language of the messages.
QString reason(const QString &english);

} // namespace messages
