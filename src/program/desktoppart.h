// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/desktopentry.h"

namespace korvin {

// The desktop part, loaded from the first of its places that holds it.
//
// The library stays in memory until the process ends, also after the object
// is gone: Qt and the libraries below it keep threads and exit handlers that
// must not lose their code.
class DesktopPart {
public:
    // The file name of the desktop part.
    static constexpr const char* kFileName = "korvin-desktop.so";

    // The places to look, in order, for a program whose executable is in
    // `programFolder`: the package's private library folder
    // (`relativeLibraryFolder`, relative to the program's folder), then the
    // program's own folder (a build tree).
    static std::vector<std::string> candidates(const std::string& programFolder,
                                               const std::string& relativeLibraryFolder);

    // The folder of the running program's executable (from /proc/self/exe,
    // else from `argv0` when it names a path); empty when neither tells.
    static std::string programFolder(const char* argv0);

    // Loads the first candidate that exists. On failure entry() is null and
    // error() says why, naming every place tried.
    explicit DesktopPart(const std::vector<std::string>& candidates);
    ~DesktopPart();
    DesktopPart(const DesktopPart&) = delete;
    DesktopPart& operator=(const DesktopPart&) = delete;

    DesktopEntry entry() const { return m_entry; }
    const std::string& error() const { return m_error; }

private:
    struct Closer {
        void operator()(void* handle) const;
    };

    std::unique_ptr<void, Closer> m_handle;
    DesktopEntry m_entry = nullptr;
    std::string m_error;
};

}  // namespace korvin
