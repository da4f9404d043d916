#pragma once

#include <programwriter.h>

#include <QString>

// One line for a cell whose characters the code page cannot hold:
// "WHERE: department 3 name: "€" cannot be written in CP1251; ...".
QString unencodableMessage(const QString &where, const tarvo::UnencodableCell &cell,
                           const QString &encoding);
