// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/desktoppart.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace korvin {

namespace {

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string joined(const std::string& folder, const std::string& name)
{
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

}  // namespace

std::vector<std::string> DesktopPart::candidates(const std::string& programFolder,
                                                 const std::string& relativeLibraryFolder)
{
    if (programFolder.empty())
        return {};
    std::vector<std::string> places;
    if (!relativeLibraryFolder.empty())
        places.push_back(joined(joined(programFolder, relativeLibraryFolder), kFileName));
    places.push_back(joined(programFolder, kFileName));
    return places;
}

std::string DesktopPart::programFolder(const char* argv0)
{
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length > 0 && static_cast<std::size_t>(length) < path.size()) {
        path.resize(static_cast<std::size_t>(length));
        return folderOf(path);
    }
    // Without /proc the name the program was started by still tells its
    // folder when it is a path; a bare name found through PATH does not.
    if (argv0 && std::string(argv0).find('/') != std::string::npos)
        return folderOf(argv0);
    return {};
}

void DesktopPart::Closer::operator()(void* handle) const
{
    ::dlclose(handle);
}

DesktopPart::DesktopPart(const std::vector<std::string>& candidates)
{
    if (candidates.empty()) {
        m_error = "the program's own folder is unknown";
        return;
    }
    for (const std::string& place : candidates) {
        if (::access(place.c_str(), F_OK) != 0) {
            m_error += (m_error.empty() ? "" : "; ") + place + ": " + std::generic_category().message(errno);
            continue;
        }
        // RTLD_NODELETE keeps the code mapped after dlclose (see the header);
        // RTLD_LOCAL keeps the desktop's symbols away from anything loaded later.
        m_handle.reset(::dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE));
        if (!m_handle) {
            const char* why = ::dlerror();
            m_error = place + ": " + (why ? why : "cannot be loaded");
            return;
        }
        m_entry = reinterpret_cast<DesktopEntry>(::dlsym(m_handle.get(), kDesktopEntryName));
        if (!m_entry) {
            m_error = place + ": it has no " + kDesktopEntryName;
            m_handle.reset();
            return;
        }
        m_error.clear();
        return;
    }
}

DesktopPart::~DesktopPart() = default;

}  // namespace korvin
