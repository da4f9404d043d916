#pragma once

#include "documentformat.h"

#include <QByteArrayView>

namespace tarvo {

// What a look at the bytes of a line decided.
enum class ByteVerdict {
    Empty,     // nothing but white space
    Comment,   // begins with a double quote and a semicolon
    Record,    // a record of one of the five tables with a plain number in range
    NeedsText, // anything else: decode the line and read it as text
};

// A line taken apart on its bytes. For a Record, `table` and `row` say what
// it sets and `fields` hold its first fields (letter, number, values), each
// still in the bytes of the file.
struct RecordBytes
{
    ByteVerdict verdict = ByteVerdict::Empty;
    DocTable table = DocTable::Params;
    int row = -1;
    quint32 number = 0;
    int fieldCount = 0;

    QByteArrayView field(int i) const
    {
        return i < fieldCount ? QByteArrayView(m_fields[i].data, m_fields[i].size) : QByteArrayView();
    }

    // Left unset beyond fieldCount: a record is scanned for every line of a
    // file, and clearing them would cost more than reading them.
    struct Span
    {
        const char *data;
        qsizetype size;
    };
    Span m_fields[kMaxRecordFields];
};

// Takes apart the bytes of one line (CR bytes already dropped, its LF left
// off or not) of a file in a code page whose bytes below 0x80 are the ASCII
// characters. Decides only what such bytes decide alike in every such code
// page: an empty line, a comment, and a record whose field 0 is one of the
// five letters and whose field 1 is a numeral of up to nine digits naming
// a row of that table. Everything else, unknown letters, numbers out of
// range and numbers with signs or spaces included, is NeedsText, for the
// reader's text path to judge and to word its messages. Allocates nothing.
RecordBytes scanRecordBytes(QByteArrayView line);

} // namespace tarvo
