#include "doubledelegate.h"

#include "numbervalidators.h"

DoubleDelegate::DoubleDelegate(double minimum, double maximum, QObject *parent)
    : NumberDelegate(parent), validator(new CheckedDoubleValidator(this))
{
    if (minimum != maximum)
        validator->setRange(minimum, maximum, 0);
}
