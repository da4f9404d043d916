#pragma once

#include <QTextCodec>

namespace tarvo {

// ISO/IEC 8859-11, Latin/Thai, by its own table: the codec registry knows
// the name only as an alias of Windows code page 874, which differs from it
// in 17 bytes (0x80 is the euro sign there, a C1 control here). Bytes
// 0xDB to 0xDE and 0xFC to 0xFF are no characters.
class Iso885911Codec : public QTextCodec
{
public:
    // The codec's number; the registry numbers no codec of this name.
    static constexpr int kMib = -885911;

    // The one codec of the process, registered on first use (before any
    // lookup of its name, which would otherwise find code page 874).
    static QTextCodec *instance();

    QByteArray name() const override;
    QList<QByteArray> aliases() const override;
    int mibEnum() const override;

protected:
    QString convertToUnicode(const char *in, int length, ConverterState *state) const override;
    QByteArray convertFromUnicode(const QChar *in, int length, ConverterState *state) const override;

private:
    Iso885911Codec() = default;
};

} // namespace tarvo
