#pragma once

// Runs a piece of a test with the rights of an ordinary user, as operators
// have them: in a child process that has given up the super-user's rights
// (user and group "nobody") when the test runs as root, or directly when it
// already runs as an ordinary user.

#include <functional>

namespace faults {

// The user and group ids the child takes when the test runs as root.
constexpr unsigned kNobody = 65534;

bool runningAsRoot();

// The exit code of `work` (0 for success), or -1 when the child could not
// be started or give up its rights.
int runAsOrdinaryUser(const std::function<int()> &work);

} // namespace faults
