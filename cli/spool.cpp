#include "spool.h"

#include <filecalls.h>
#include <regularfile.h>

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qsizetype kKeptInMemory = 1024 * 1024;

bool fail(QString *error, int cause)
{
    *error = tarvo::systemErrorText(cause);
    return false;
}

// An unnamed file in the temporary folder: it goes with the process,
// however that ends.
int openUnnamedFile()
{
    const QByteArray folder = QFile::encodeName(QDir::tempPath());
    int fd = tarvo::retryInterrupted([&] { return ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600); });
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return fd;
    QByteArray name = folder + "/tarvo-prg-XXXXXX";
    fd = tarvo::retryInterrupted([&] { return ::mkostemp(name.data(), O_CLOEXEC); });
    if (fd >= 0)
        ::unlink(name.constData());
    return fd;
}

} // namespace

Spool::~Spool()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool Spool::append(const QByteArray &bytes, qint64 *offset, QString *error)
{
    if (m_tail.size() + bytes.size() > kKeptInMemory && !m_tail.isEmpty() && !spill(error))
        return false;
    if (m_tail.capacity() < kKeptInMemory)
        m_tail.reserve(kKeptInMemory);
    *offset = m_spilled + m_tail.size();
    m_tail += bytes;
    return true;
}

bool Spool::spill(QString *error)
{
    if (m_fd < 0 && (m_fd = openUnnamedFile()) < 0)
        return fail(error, errno);
    if (!tarvo::writeAllAt(::pwrite, m_fd, m_tail.constData(), m_tail.size(), m_spilled))
        return fail(error, errno);
    m_spilled += m_tail.size();
    m_tail.truncate(0); // its room is used again
    return true;
}

bool Spool::read(qint64 offset, qint64 size, QByteArray *bytes, QString *error)
{
    if (offset >= m_spilled) {
        *bytes = m_tail.mid(qsizetype(offset - m_spilled), qsizetype(size));
        return true;
    }
    bytes->resize(qsizetype(size));
    return tarvo::readAllAt(::pread, m_fd, bytes->data(), size, offset) || fail(error, errno);
}
