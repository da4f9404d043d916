#include "ordinaryuser.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace faults {

bool runningAsRoot() { return ::geteuid() == 0; }

int runAsOrdinaryUser(const std::function<int()> &work)
{
    if (!runningAsRoot())
        return work();
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(255);
        ::_exit(work() & 0xff);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}

} // namespace faults
