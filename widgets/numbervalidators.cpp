#include "numbervalidators.h"

#include "numbercheck.h"

QValidator::State CheckedIntValidator::validate(QString &input, int & /*pos*/) const
{
    return tarvo::isAcceptableInteger(input, bottom(), top()) ? Acceptable : Intermediate;
}

QValidator::State CheckedDoubleValidator::validate(QString &input, int & /*pos*/) const
{
    // A freshly made validator allows 1000 decimals: as good as any number.
    const int places = decimals() >= 1000 ? -1 : decimals();
    return tarvo::isAcceptableDecimal(input, bottom(), top(), places) ? Acceptable : Intermediate;
}
