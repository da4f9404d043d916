#pragma once

// Names of document cells as an operator knows them, for messages:
// "parameter 5", "department 3 price", "header line 2", "comment",
// "payment 1 value".

#include <documentformat.h>

#include <QString>

QString cellName(tarvo::DocTable table, int row, int column);
