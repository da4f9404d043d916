#pragma once

// A small tmpfs mounted over a folder for the length of one test, for the
// faults that only a real file system shows: a full disk, a read-only one.
// Mounting needs privileges that a CI container may not grant; then
// mounted() is false and the test says so and skips.

#include <QString>

namespace faults {

class ScratchMount
{
public:
    // Mounts a tmpfs of `kilobytes` over `folder` (which must exist).
    ScratchMount(const QString &folder, int kilobytes);
    ~ScratchMount();

    ScratchMount(const ScratchMount &) = delete;
    ScratchMount &operator=(const ScratchMount &) = delete;

    bool mounted() const { return m_mounted; }
    QString error() const { return m_error; }

    // Makes the mounted file system read-only. False when that fails.
    bool makeReadOnly();

private:
    QString m_folder;
    bool m_mounted = false;
    QString m_error;
};

} // namespace faults
