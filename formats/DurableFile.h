#pragma once

#include <QByteArray>

#include <sys/types.h>

// Writing a file so that a full disk or a failing device is always noticed: every write
// and the sync are checked, never only the last step. Plain system calls and Qt Core
// only, so that the stand-in converter uses the same code.
namespace DurableFile {

// Writes every byte to the descriptor and has them on disk (fsync), then checks the
// file's size. 0, or the system's error number of the first failure.
int writeAll(int descriptor, const QByteArray &bytes);

// Has a file's bytes on disk. 0, or the system's error number.
int sync(const QByteArray &path);

// The permissions of a file written in place of target: target's own, or for a new
// file what the user's umask leaves.
mode_t permissionsFor(const QByteArray &target);

} // namespace DurableFile
