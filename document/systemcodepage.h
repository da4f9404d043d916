#pragma once

// What "System" in the encoding list stands for. A fiscal device reads a
// single-byte code page: where the platform's own encoding is one, that is
// "System"; where it is multi-byte (UTF-8 on today's Linux desktops), it is
// the Windows code page of the user's language, as on the platform where
// "System" is a Windows code page.

#include <QByteArray>
#include <QLocale>

class QTextCodec;

namespace tarvo {

// The name of the Windows code page of `language`: CP1251 for the Cyrillic
// languages, CP1250 for those of Central Europe, CP1253 Greek, CP1254
// Turkish, CP1255 Hebrew, CP1256 Arabic, CP1257 Baltic, CP1258 Vietnamese,
// CP1252 for any other. The C locale, which names no language, takes
// CP1251: the code page of this program's own files and language.
QByteArray windowsCodePageOf(QLocale::Language language);

// True when `codec` writes some characters as more than one byte.
bool isMultiByte(const QTextCodec *codec);

// The user's language as the environment says it (LC_ALL, LC_MESSAGES,
// LANG, in that order; the C locale where none is set), or as it said it
// when keepUserLanguage() was called.
QLocale::Language userLanguage();

// Remembers the user's language as the environment says it now. The
// programs call it first thing, before they hand the toolkit a locale it
// can take (see terminal::takeLocale), which may name another where the
// system lacks the user's own: "System" still follows the language asked
// for. The one thing of the process this library keeps.
void keepUserLanguage();

// The codec that "System" stands for in this process. Never null.
QTextCodec *systemCodec();

} // namespace tarvo
