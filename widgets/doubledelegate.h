#pragma once

#include "numberdelegate.h"

class QDoubleValidator;

// Cell editor for decimal numbers, plain or scientific. Equal bounds mean
// any number; otherwise the number must lie within [minimum, maximum] and
// have no digits after the decimal point.
class DoubleDelegate : public NumberDelegate
{
    Q_OBJECT

public:
    DoubleDelegate(double minimum, double maximum, QObject *parent = nullptr);

protected:
    const QValidator *checkValidator() const override { return validator; }
    // A decimal comma is a decimal point.
    QString normalized(const QString &text) const override;

private:
    QDoubleValidator *validator;
};
