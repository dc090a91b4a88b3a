// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/bookscan.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string_view>
#include <utility>

#include "book/archivedbook.h"
#include "book/bookformat.h"
#include "book/linereader.h"
#include "book/textcase.h"

namespace korvin {

namespace {

// Folders held open at once: a deep tree is walked with this many
// descriptors, the folders above them opened again from the root when the
// walk comes back to them.
constexpr std::size_t kMaxOpenFolders = 64;
// A disc's list of books is a small page; a larger file is read this far.
constexpr std::size_t kMaxDiscInfoBytes = std::size_t{1} << 20;
constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;

class Descriptor {
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd)
    {
    }
    Descriptor(Descriptor&& other) noexcept
        : m_fd(std::exchange(other.m_fd, -1))
    {
    }
    Descriptor& operator=(Descriptor&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { reset(); }

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

enum class Kind { kFolder, kBookFile, kZip, kDiscInfo };

struct Entry {
    std::string name;
    Kind kind;
};

struct Frame {
    std::string path;  // without a trailing "/", except the root "/"
    std::string name;  // within the folder above
    dev_t device = 0;
    ino_t inode = 0;
    Descriptor fd;
    std::vector<Entry> entries;
    std::size_t next = 0;
};

bool isName(std::string_view name, std::string_view wanted)
{
    return name.size() == wanted.size() && strncasecmp(name.data(), wanted.data(), wanted.size()) == 0;
}

std::string join(const std::string& folder, std::string_view name)
{
    std::string path = folder;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    return path;
}

class Walk {
public:
    explicit Walk(const std::atomic<bool>& cancelled)
        : m_cancelled(cancelled)
    {
    }

    std::vector<std::string> run(std::string root);

private:
    bool enter(Frame& frame);
    int openedFd(std::size_t index);
    bool reopen(std::size_t index);
    void keepDescriptorsBounded();
    void readEntries(Frame& frame);
    void readDiscInfo(std::size_t index, const std::string& name);

    const std::atomic<bool>& m_cancelled;
    dev_t m_device = 0;
    std::vector<Frame> m_stack;
    std::size_t m_firstOpen = 0;  // the open frames are the top of the stack from here
    ListedFolders m_listed;
};

std::vector<std::string> Walk::run(std::string root)
{
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    // The root may itself be a link (a home folder often is); everything
    // below it is taken as it is.
    Descriptor fd(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!fd.isOpen() || ::fstat(fd.get(), &info) != 0)
        return {};
    m_device = info.st_dev;
    Frame frame{root, root, info.st_dev, info.st_ino, std::move(fd), {}, 0};
    readEntries(frame);
    m_stack.push_back(std::move(frame));

    while (!m_stack.empty() && !m_cancelled.load(std::memory_order_relaxed)) {
        const std::size_t top = m_stack.size() - 1;
        Frame& current = m_stack[top];
        if (current.next == current.entries.size()) {
            m_stack.pop_back();
            if (m_firstOpen > m_stack.size())
                m_firstOpen = m_stack.size();
            continue;
        }
        Entry entry = std::move(current.entries[current.next++]);
        switch (entry.kind) {
        case Kind::kBookFile:
            m_listed.add(current.path);
            break;
        case Kind::kZip:
            m_listed.add(join(current.path, entry.name));
            break;
        case Kind::kDiscInfo:
            readDiscInfo(top, entry.name);
            break;
        case Kind::kFolder: {
            const int parent = openedFd(top);
            if (parent < 0)
                break;
            Frame child;
            child.fd = Descriptor(::openat(parent, entry.name.c_str(), kFolderFlags));
            child.path = join(m_stack[top].path, entry.name);
            child.name = std::move(entry.name);
            if (enter(child)) {
                m_stack.push_back(std::move(child));
                keepDescriptorsBounded();
            }
            break;
        }
        }
    }
    return m_listed.take();
}

// Takes a folder just opened: on this volume and readable, its entries read.
bool Walk::enter(Frame& frame)
{
    struct stat info {};
    if (!frame.fd.isOpen() || ::fstat(frame.fd.get(), &info) != 0 || info.st_dev != m_device)
        return false;
    frame.device = info.st_dev;
    frame.inode = info.st_ino;
    readEntries(frame);
    return true;
}

void Walk::readEntries(Frame& frame)
{
    alignas(8) char buffer[32768];
    for (;;) {
        const ssize_t size = ::getdents64(frame.fd.get(), buffer, sizeof buffer);
        if (size <= 0)
            break;
        for (ssize_t at = 0; at < size;) {
            const auto* dirent = reinterpret_cast<const struct dirent64*>(buffer + at);
            at += dirent->d_reclen;
            const std::string_view name(dirent->d_name);
            if (name == "." || name == "..")
                continue;
            unsigned char type = dirent->d_type;
            if (type == DT_UNKNOWN) {
                struct stat info {};
                if (::fstatat(frame.fd.get(), dirent->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
                    continue;
                type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_LNK;
            }
            if (type == DT_DIR)
                frame.entries.push_back(Entry{std::string(name), Kind::kFolder});
            else if (type == DT_REG && (isName(name, "ncc.html") || isPackageFileName(name)))
                frame.entries.push_back(Entry{std::string(name), Kind::kBookFile});
            else if (type == DT_REG && isZipFileName(name))
                frame.entries.push_back(Entry{std::string(name), Kind::kZip});
            else if (type == DT_REG && isName(name, "discinfo.html"))
                frame.entries.push_back(Entry{std::string(name), Kind::kDiscInfo});
        }
    }
    // A zip file beside a book's own files is part of that book, whichever
    // the file system lists first.
    const auto isBook = [](const Entry& e) { return e.kind == Kind::kBookFile; };
    if (std::any_of(frame.entries.begin(), frame.entries.end(), isBook))
        frame.entries.erase(std::remove_if(frame.entries.begin(), frame.entries.end(),
                                           [](const Entry& e) { return e.kind == Kind::kZip; }),
                            frame.entries.end());
}

int Walk::openedFd(std::size_t index)
{
    if (!m_stack[index].fd.isOpen() && !reopen(index))
        return -1;
    return m_stack[index].fd.get();
}

// Opens the folders from the root down to `index` again, each by name below
// the one above and checked to be the folder it was; keeps the lowest few open.
bool Walk::reopen(std::size_t index)
{
    const std::size_t keepFrom = index + 1 > kMaxOpenFolders ? index + 1 - kMaxOpenFolders : 0;
    Descriptor above;
    for (std::size_t k = 0; k <= index; ++k) {
        Frame& frame = m_stack[k];
        if (!frame.fd.isOpen()) {
            Descriptor fd(k == 0 ? ::open(frame.path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK)
                                 : ::openat(k - 1 >= keepFrom ? m_stack[k - 1].fd.get() : above.get(),
                                            frame.name.c_str(), kFolderFlags));
            struct stat info {};
            if (!fd.isOpen() || ::fstat(fd.get(), &info) != 0 || info.st_dev != frame.device ||
                info.st_ino != frame.inode)
                return false;
            if (k >= keepFrom)
                frame.fd = std::move(fd);
            else
                above = std::move(fd);
        } else if (k < keepFrom) {
            above = std::move(frame.fd);
        }
    }
    m_firstOpen = keepFrom;
    return true;
}

void Walk::keepDescriptorsBounded()
{
    while (m_stack.size() - m_firstOpen > kMaxOpenFolders)
        m_stack[m_firstOpen++].fd.reset();
}

void Walk::readDiscInfo(std::size_t index, const std::string& name)
{
    const int folderFd = openedFd(index);
    if (folderFd < 0)
        return;
    const Descriptor file(::openat(folderFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!file.isOpen() || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return;
    std::string bytes(kMaxDiscInfoBytes, '\0');
    std::size_t size = 0;
    while (size < bytes.size()) {
        const ssize_t n = ::read(file.get(), bytes.data() + size, bytes.size() - size);
        if (n <= 0)
            break;
        size += static_cast<std::size_t>(n);
    }
    bytes.resize(size);

    const std::string folder = m_stack[index].path;
    std::string key;
    LineReader lines(bytes);
    while (const auto line = lines.next()) {
        if (m_cancelled.load(std::memory_order_relaxed))
            return;
        lowerCaseInto(*line, key);
        const std::size_t at = key.find("<a href=");
        if (at == std::string::npos)
            continue;
        // The link is what follows `".` up to `">`; a link that does not
        // begin with a full stop is empty and names the disc's own folder.
        std::string link;
        if (const std::size_t quote = line->find("\".", at); quote != std::string_view::npos) {
            const std::string_view rest = line->substr(quote + 2);
            link = rest.substr(0, rest.find("\">"));
        }
        // Discs made on Windows separate the parts with backslashes.
        std::replace(link.begin(), link.end(), '\\', '/');
        const std::string linkKey = lowerCase(link);
        if (const std::size_t ncc = linkKey.find("/ncc.html"); ncc != std::string::npos)
            link.resize(ncc);

        // Each part is opened below the one before, never through a link and
        // never off the volume; ".." is not followed at all.
        Descriptor here(::dup(m_stack[index].fd.get()));
        std::string path = folder;
        bool inside = here.isOpen();
        std::size_t from = 0;
        while (inside && from <= link.size()) {
            const std::size_t slash = std::min(link.find('/', from), link.size());
            const std::string part(link.substr(from, slash - from));
            from = slash + 1;
            if (part.empty() || part == ".")
                continue;
            struct stat partInfo {};
            Descriptor next(part == ".." ? -1 : ::openat(here.get(), part.c_str(), kFolderFlags));
            inside = next.isOpen() && ::fstat(next.get(), &partInfo) == 0 && partInfo.st_dev == m_device;
            here = std::move(next);
            path = join(path, part);
        }
        if (inside)
            m_listed.add(path);
    }
}

}  // namespace

bool ListedFolders::add(const std::string& folder)
{
    if (folder.empty() || m_sorted.count(folder) > 0)
        return false;
    // Everything inside `folder` sorts as one run from its prefix on.
    const std::string prefix = folder.back() == '/' ? folder : folder + '/';
    const auto inside = m_sorted.lower_bound(prefix);
    if (inside != m_sorted.end() && inside->compare(0, prefix.size(), prefix) == 0)
        return false;
    m_sorted.insert(folder);
    m_inOrder.push_back(folder);
    return true;
}

std::vector<std::string> scanForBooks(const std::string& root, const std::atomic<bool>& cancelled)
{
    return Walk(cancelled).run(root);
}

}  // namespace korvin
