#include "library/statefile.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvin {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

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

std::optional<std::vector<std::string>> readTextLines(const std::string& path)
{
    File file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return std::nullopt;
    std::vector<std::string> lines;
    std::string line;
    bool pending = false;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        for (std::size_t i = 0; i < n; ++i) {
            if (buffer[i] == '\n') {
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                lines.push_back(std::move(line));
                line.clear();
                pending = false;
            } else {
                line += buffer[i];
                pending = true;
            }
        }
    }
    if (std::ferror(file.get()))
        return std::nullopt;
    if (pending) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

bool writeFileAtomically(const std::string& path, const std::string& contents)
{
    TemporaryFile temporary(path + ".tmp-XXXXXX");
    if (!temporary.isOpen())
        return false;
    if (!writeAll(temporary.fd(), contents) || fsync(temporary.fd()) != 0)
        return false;
    fchmod(temporary.fd(), 0644);
    if (!temporary.closeFile())
        return false;
    if (std::rename(temporary.path().c_str(), path.c_str()) != 0)
        return false;
    temporary.keep();
    // Make the rename itself durable.
    const int folder = open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return true;
}

}  // namespace korvin
