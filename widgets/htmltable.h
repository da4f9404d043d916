#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The cells of the first table of an HTML text, row by row, each cell's text
// as it stands in the source: entities decoded, <br> a line break, other
// tags left out, line breaks of the source itself left out; TABs and spaces
// kept as they are. Empty where the text holds no table, or one this reading
// cannot take cell for cell (a table inside a cell, cells that span rows or
// columns, an entity it does not know).
QList<QStringList> htmlTableCells(const QString &html);
