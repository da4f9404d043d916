#pragma once

#include <QDoubleValidator>
#include <QIntValidator>

// Validators that judge a whole committed text by the same rules as the
// command-line checker: Acceptable or not, nothing locale-dependent.

class CheckedIntValidator : public QIntValidator
{
    Q_OBJECT
public:
    using QIntValidator::QIntValidator;
    State validate(QString &input, int &pos) const override;
};

class CheckedDoubleValidator : public QDoubleValidator
{
    Q_OBJECT
public:
    using QDoubleValidator::QDoubleValidator;
    State validate(QString &input, int &pos) const override;
};
