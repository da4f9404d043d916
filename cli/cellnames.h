#pragma once

// Names of document cells as an operator knows them, rows counted from 1:
// in messages "parameter 5", "department 3 price", "header line 2",
// "comment", "payment 1 value"; as keys for set and diff "param.5",
// "department.3.price", "header.2", "comment", "payment.1.value".

#include <documentformat.h>

#include <QString>

QString cellName(tarvo::DocTable table, int row, int column);

// How messages name a whole row: "department 3", "comment".
QString rowName(tarvo::DocTable table, int row);

QString cellKey(tarvo::DocTable table, int row, int column);

// Why the editor's cell of that kind would refuse `text` ("is not a
// decimal number"); empty when it takes it. An empty text is always taken.
QString refusalOf(tarvo::CellKind kind, QStringView text);

struct CellAddress
{
    tarvo::DocTable table = tarvo::DocTable::Params;
    int row = -1;
    int column = -1;
};

// The cell a key names; false, with `why` telling the user, for a key that
// names none.
bool cellForKey(const QString &key, CellAddress *cell, QString *why);
