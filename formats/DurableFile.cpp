#include "formats/DurableFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DurableFile {

int writeAll(int descriptor, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        // A short write is followed by another, which gives the system's reason when the
        // disk is full.
        const ssize_t written = ::write(descriptor, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        done += written;
    }
    if (::fsync(descriptor) != 0)
        return errno;
    struct stat file {};
    if (::fstat(descriptor, &file) != 0)
        return errno;
    return file.st_size == bytes.size() ? 0 : EIO;
}

int sync(const QByteArray &path)
{
    const int descriptor = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0)
        return errno;
    const int error = ::fsync(descriptor) == 0 ? 0 : errno;
    ::close(descriptor);
    return error;
}

mode_t permissionsFor(const QByteArray &target)
{
    struct stat existing {};
    if (::stat(target.constData(), &existing) == 0)
        return existing.st_mode & 07777;
    const mode_t mask = ::umask(0); // reading the umask means setting it: set back at once
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace DurableFile
