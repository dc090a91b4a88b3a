// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/statefile.h"

#include <cerrno>
#include <cstdio>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "book/filedescriptor.h"

namespace korvin {

namespace {

// Closes a descriptor and removes the temporary file unless released.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string pattern)
        : m_path(std::move(pattern))
        , m_fd(mkstemp(m_path.data()))
    {
    }
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            close(m_fd);
        if (!m_kept)
            unlink(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    const std::string& path() const { return m_path; }
    bool closeFile()
    {
        const int fd = m_fd;
        m_fd = -1;
        return close(fd) == 0;
    }
    void keep() { m_kept = true; }

private:
    std::string m_path;
    int m_fd;
    bool m_kept = false;
};

bool writeAll(int fd, const std::string& contents)
{
    std::size_t written = 0;
    while (written < contents.size()) {
        const ssize_t n = write(fd, contents.data() + written, contents.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace

FileBytes readFileBytes(const std::string& path)
{
    FileBytes result;
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    const int fd = file.get();
    if (fd < 0) {
        result.status = errno == ENOENT ? FileBytes::Status::kMissing : FileBytes::Status::kUnreadable;
        return result;
    }
    struct stat info { };
    result.status = FileBytes::Status::kUnreadable;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return result;
    if (info.st_size > 0)
        result.bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.bytes.clear();
            return result;
        }
        if (n == 0)
            break;
        result.bytes.append(buffer, static_cast<std::size_t>(n));
    }
    result.status = FileBytes::Status::kRead;
    return result;
}

std::optional<std::vector<std::string>> readTextLines(const std::string& path)
{
    const FileBytes file = readFileBytes(path);
    if (file.status != FileBytes::Status::kRead)
        return std::nullopt;
    std::vector<std::string> lines;
    std::string_view rest(file.bytes);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    return lines;
}

bool writeFileAtomically(const std::string& path, const std::string& contents, const DurableCalls& calls)
{
    const auto sync = [&](int fd) { return calls.sync ? calls.sync(fd) : fsync(fd); };
    const auto rename = [&](const char* from, const char* to) {
        return calls.rename ? calls.rename(from, to) : std::rename(from, to);
    };
    TemporaryFile temporary(path + ".tmp-XXXXXX");
    if (!temporary.isOpen())
        return false;
    // The bytes must be on the disk before the name points to them: renamed
    // first, a crash could leave the new name on an empty file.
    if (!writeAll(temporary.fd(), contents) || sync(temporary.fd()) != 0)
        return false;
    fchmod(temporary.fd(), 0644);
    if (!temporary.closeFile())
        return false;
    if (rename(temporary.path().c_str(), path.c_str()) != 0)
        return false;
    temporary.keep();
    // Make the rename itself durable.
    const int folder = open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        sync(folder);
        close(folder);
    }
    return true;
}

}  // namespace korvin
