#include "unencodablereport.h"

#include "cellnames.h"
#include "console.h"
#include "messages.h"

QString unencodableMessage(const QString &where, const tarvo::UnencodableCell &cell,
                           const QString &encoding)
{
    return Messages::tr("%1: %2: %3 cannot be written in %4; written as the replacement character")
        .arg(where, cellName(cell.table, cell.row, cell.column), console::quoted(cell.characters), encoding);
}
