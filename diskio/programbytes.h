#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

struct stat;

namespace tarvo {

struct FileFingerprint;

// No program file is read beyond this size. A real one holds 200 bytes to
// 15 KB; the limit leaves room for any file a person or a device could
// mean as one, and keeps every read short in time and memory.
constexpr qint64 kMaxProgramFileBytes = 4 * 1024 * 1024;

// "the 4194304 bytes (4 MiB) a program file may have", for messages.
QString programFileLimitText();

// The call that reads from a descriptor: ::read unless a test hands in one
// that fails.
using ReadCall = ssize_t (*)(int fd, void *buffer, size_t size);

// Reads the whole regular file `path` into `bytes` in one go (symbolic
// links followed; a directory, FIFO, socket or device is refused without
// waiting on it). False, with `error` saying why and `bytes` untouched, when
// the file cannot be opened, is larger than kMaxProgramFileBytes (refused
// before reading, the message giving both sizes), a read fails (one
// interrupted by a signal is made again), or the file does not read as the
// size it says it has or changes while it is read (files of procfs and
// sysfs, a file being written).
// `asRead`, when given, receives what stat says of the file as it was read.
bool readProgramBytes(const QString &path, QByteArray *bytes, QString *error, ReadCall readCall = nullptr,
                      FileFingerprint *asRead = nullptr);

class InterruptedSaves;

// readProgramBytes for one of many files whose folders `looked` has listed
// (tarvo-prg check): an interrupted save is looked for, the slow way, only
// where the listing saw a sign of one.
bool readProgramBytes(const QString &path, const InterruptedSaves &looked, QByteArray *bytes, QString *error);

// The same for a regular file already open for reading (the descriptor of
// its save lock: tarvo-prg set reads each file under its lock without
// opening it again), whose status `before` was taken once it was locked.
// Interrupted saves are not looked for: the caller has.
bool readOpenProgramFile(int fd, const struct stat &before, QByteArray *bytes, QString *error,
                         FileFingerprint *asRead = nullptr);

// Reads an open stream (standard input, a pipe) to its end into `bytes`.
// More than kMaxProgramFileBytes is an error, as is a failed read.
bool readProgramStream(int fd, QByteArray *bytes, QString *error, ReadCall read = nullptr);

// Reads an open stream to its end, or until it has given more than `limit`
// bytes (`bytes` then holds limit + 1 of them), with read(2): a read that
// a signal interrupts is made again, a failed one is an error (false,
// `error` set), never the end.
bool readStream(int fd, qint64 limit, QByteArray *bytes, QString *error, ReadCall read = nullptr);

} // namespace tarvo
