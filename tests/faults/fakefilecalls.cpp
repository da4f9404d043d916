#include "fakefilecalls.h"

#include <cerrno>
#include <fcntl.h>

namespace faults {

namespace {

PlannedFailure g_plan;
bool g_fired = false;
long long g_written = 0;

bool fires(FailingCall call)
{
    if (g_fired || g_plan.call != call)
        return false;
    g_fired = true;
    errno = g_plan.error;
    return true;
}

const tarvo::FileCalls &real() { return tarvo::FileCalls::system(); }

int openFile(const char *path, int flags, mode_t mode)
{
    const bool creates = (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE;
    if (creates && fires(FailingCall::CreateFile))
        return -1;
    return real().open(path, flags, mode);
}

ssize_t writeAt(int fd, const void *data, size_t size, off_t offset)
{
    if (!g_fired && g_plan.call == FailingCall::Write) {
        const long long room = g_plan.bytesFirst - g_written;
        if (room <= 0) {
            fires(FailingCall::Write);
            return -1;
        }
        if (size > size_t(room))
            size = size_t(room);
    }
    const ssize_t put = real().pwrite(fd, data, size, offset);
    if (put > 0)
        g_written += put;
    return put;
}

int sync(int fd) { return fires(FailingCall::Sync) ? -1 : real().fsync(fd); }

int closeFile(int fd)
{
    if (fires(FailingCall::Close)) {
        real().close(fd); // the descriptor goes all the same, as close() does
        errno = g_plan.error;
        return -1;
    }
    return real().close(fd);
}

int renameFile(const char *from, const char *to) { return fires(FailingCall::Rename) ? -1 : real().rename(from, to); }
int changeOwner(int fd, uid_t owner, gid_t group)
{
    return fires(FailingCall::ChangeOwner) ? -1 : real().fchown(fd, owner, group);
}
int truncateFile(int fd, off_t length) { return fires(FailingCall::Truncate) ? -1 : real().ftruncate(fd, length); }

} // namespace

const tarvo::FileCalls &failingCalls(const PlannedFailure &failure)
{
    g_plan = failure;
    g_fired = false;
    g_written = 0;
    static tarvo::FileCalls calls = [] {
        tarvo::FileCalls c = tarvo::FileCalls::system();
        c.open = openFile;
        c.pwrite = writeAt;
        c.fsync = sync;
        c.close = closeFile;
        c.rename = renameFile;
        c.fchown = changeOwner;
        c.ftruncate = truncateFile;
        return c;
    }();
    return calls;
}

bool failureFired() { return g_fired; }

} // namespace faults
