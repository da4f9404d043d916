#pragma once

// A write-only device that takes `limit` bytes and then refuses every
// further byte, as a disk that fills up does.

#include <QByteArray>
#include <QIODevice>

namespace faults {

class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(qint64 limit) : m_limit(limit) {}

    const QByteArray &taken() const { return m_taken; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 room = m_limit - m_taken.size();
        if (room <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 count = qMin(room, size);
        m_taken.append(data, count);
        return count;
    }

private:
    qint64 m_limit;
    QByteArray m_taken;
};

} // namespace faults
