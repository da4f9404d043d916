#pragma once

// A JSON text may name a key twice in one object; parsers then keep one of
// the values without a word. tarvo-prg refuses such input instead.

#include <QByteArray>
#include <QString>
#include <QVariantList>

namespace tarvo {

struct DuplicateKey
{
    QVariantList path; // where the object is: keys (QString) and array indexes (int), from the root
    QString key;
};

// Finds the first key given twice in one object of `json`, which must be
// valid JSON. False when every key is given once.
bool findDuplicateKey(const QByteArray &json, DuplicateKey *found);

} // namespace tarvo
