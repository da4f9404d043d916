#pragma once

#include "numberdelegate.h"

class QIntValidator;

// Cell editor for whole numbers. Equal bounds mean any signed 32-bit
// number; otherwise the number must lie within [minimum, maximum].
class IntDelegate : public NumberDelegate
{
    Q_OBJECT

public:
    IntDelegate(int minimum, int maximum, QObject *parent = nullptr);

protected:
    const QValidator *checkValidator() const override { return validator; }

private:
    QIntValidator *validator;
};
