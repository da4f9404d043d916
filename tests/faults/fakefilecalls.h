#pragma once

// System calls for a save that fail once, where and how a test says: the
// disk that reports a lost write only when the data is finally written out
// (fsync, close), a rename that goes wrong, a folder that takes no new file.

#include "filecalls.h"

namespace faults {

enum class FailingCall { None, CreateFile, Write, Sync, Close, Rename, Truncate, ChangeOwner };

struct PlannedFailure
{
    FailingCall call = FailingCall::None;
    int error = 0;
    long long bytesFirst = 0; // Write: how many bytes go through before it fails
};

// The real calls, but for the one planned failure, which fires once.
const tarvo::FileCalls &failingCalls(const PlannedFailure &failure);

// True once the planned failure has fired.
bool failureFired();

} // namespace faults
