// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/regularfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "book/filedescriptor.h"

namespace korvin {

bool readRegularFile(const std::string& path, std::string& bytes, std::size_t maxBytes)
{
    const auto refuse = [&bytes] {
        bytes.clear();
        return false;
    };
    // A NUL byte would end the name early and open another file.
    if (path.find('\0') != std::string::npos)
        return refuse();
    // Non-blocking, so that opening a named pipe returns at once; fstat then
    // turns it away.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!file.isOpen())
        return refuse();
    struct stat status { };
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return refuse();
    if (status.st_size < 0 || static_cast<unsigned long long>(status.st_size) > maxBytes)
        return refuse();

    // The size is a hint: a file that grows meanwhile is read on to its end,
    // up to the bound. One byte more than the size lets the end show at once.
    // Storage reused from the last file is read into as it is: only what it
    // lacks is added (and filled), so a reader of many files fills no byte
    // twice.
    const std::size_t expected = static_cast<std::size_t>(status.st_size) + 1;
    if (bytes.size() < expected)
        bytes.resize(expected);
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (bytes.size() > maxBytes)
                return refuse();
            bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
        }
        const ssize_t got = ::read(file.get(), bytes.data() + used, bytes.size() - used);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return refuse();
        }
        if (got == 0)
            break;
        used += static_cast<std::size_t>(got);
    }
    bytes.resize(used);
    return true;
}

}  // namespace korvin
