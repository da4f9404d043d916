#include "recordscan.h"

#include <array>

namespace tarvo {

namespace {

bool isTrimmed(char c) { return c == '\n' || c == '\r' || c == '\t' || c == ' '; }

// The table a record letter opens, or -1.
int tableOfLetter(char letter)
{
    static const std::array<signed char, 256> tables = [] {
        std::array<signed char, 256> made;
        made.fill(-1);
        for (int t = 0; t < kTableCount; ++t)
            made[static_cast<unsigned char>(tableFormat(tableAt(t)).letter)] = static_cast<signed char>(t);
        return made;
    }();
    return tables[static_cast<unsigned char>(letter)];
}

// A numeral of one to nine ASCII digits (leading zeros allowed), so that it
// cannot overflow; false for anything else.
bool plainNumeral(QByteArrayView field, quint32 *number)
{
    if (field.isEmpty() || field.size() > 9)
        return false;
    quint32 value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + quint32(c - '0');
    }
    *number = value;
    return true;
}

} // namespace

RecordBytes scanRecordBytes(QByteArrayView line)
{
    RecordBytes scanned;
    const char *begin = line.data();
    const char *end = begin + line.size();
    while (begin < end && isTrimmed(*begin))
        ++begin;
    while (end > begin && isTrimmed(end[-1]))
        --end;
    if (begin == end)
        return scanned;
    if (end - begin >= 2 && begin[0] == '"' && begin[1] == ';') {
        scanned.verdict = ByteVerdict::Comment;
        return scanned;
    }
    scanned.verdict = ByteVerdict::NeedsText;

    // Field 0 must be a single letter, followed by a TAB and the number.
    if (end - begin < 3 || begin[1] != '\t')
        return scanned;
    const int table = tableOfLetter(begin[0]);
    if (table < 0)
        return scanned;

    // Only the first fields can mean anything; a field beyond the last TAB
    // is empty. Fields are short: a plain loop beats a call per field.
    int count = 0;
    const char *start = begin;
    for (const char *p = begin; p < end; ++p) {
        if (*p != '\t')
            continue;
        scanned.m_fields[count++] = {start, p - start};
        start = p + 1;
        if (count == kMaxRecordFields - 1)
            break;
    }
    // The last field runs to the next TAB or to the end of the line.
    const char *stop = start;
    while (stop < end && *stop != '\t')
        ++stop;
    scanned.m_fields[count++] = {start, stop - start};
    scanned.fieldCount = count;

    const TableFormat &format = tableFormat(tableAt(table));
    quint32 number = 0;
    if (!plainNumeral(scanned.field(1), &number) || number < format.firstNumber
        || number - format.firstNumber >= quint32(format.rows))
        return scanned;
    scanned.verdict = ByteVerdict::Record;
    scanned.table = format.table;
    scanned.number = number;
    scanned.row = int(number - format.firstNumber);
    return scanned;
}

} // namespace tarvo
