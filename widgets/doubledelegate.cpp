#include "doubledelegate.h"

#include "numbercheck.h"
#include "numbervalidators.h"

QString DoubleDelegate::normalized(const QString &text) const
{
    return tarvo::withDecimalPoint(text);
}

DoubleDelegate::DoubleDelegate(double minimum, double maximum, QObject *parent)
    : NumberDelegate(parent), validator(new CheckedDoubleValidator(this))
{
    if (minimum != maximum)
        validator->setRange(minimum, maximum, 0);
}
