#pragma once

// The new bytes of many files, kept until they are written: in memory up to
// 1 MiB, beyond that in an unnamed temporary file, so that a run over
// tens of thousands of files holds only where each one's bytes are.

#include <QByteArray>
#include <QString>

class Spool
{
public:
    Spool() = default;
    ~Spool();
    Spool(const Spool &) = delete;
    Spool &operator=(const Spool &) = delete;

    // Keeps `bytes`; `offset` receives where. False with `error` set when
    // the temporary file cannot take them.
    bool append(const QByteArray &bytes, qint64 *offset, QString *error);

    // The `size` bytes kept at `offset`.
    bool read(qint64 offset, qint64 size, QByteArray *bytes, QString *error);

private:
    bool spill(QString *error);

    QByteArray m_tail; // the bytes not yet in the file, which holds those before
    qint64 m_spilled = 0;
    int m_fd = -1;
};
