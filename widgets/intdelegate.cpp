#include "intdelegate.h"

#include "numbervalidators.h"

IntDelegate::IntDelegate(int minimum, int maximum, QObject *parent)
    : NumberDelegate(parent), validator(new CheckedIntValidator(this))
{
    if (minimum != maximum)
        validator->setRange(minimum, maximum);
}
