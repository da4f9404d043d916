#pragma once

#include <QList>
#include <QString>

namespace tarvo {

// One cell of a table and the text it is to hold: what a table view asks
// of the document when the user types, pastes or deletes.
struct CellEdit
{
    int row;
    int column;
    QString text;
};

using CellEdits = QList<CellEdit>;

} // namespace tarvo
