// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <mpv/client.h>

#include <future>
#include <memory>
#include <string>

namespace korvin {

// The functions of libmpv the player and the title cue call.
struct MpvFunctions {
    decltype(&::mpv_create) create;
    decltype(&::mpv_initialize) initialize;
    decltype(&::mpv_set_option_string) setOptionString;
    decltype(&::mpv_terminate_destroy) terminateDestroy;
    decltype(&::mpv_set_wakeup_callback) setWakeupCallback;
    decltype(&::mpv_wait_event) waitEvent;
    decltype(&::mpv_command_async) commandAsync;
    decltype(&::mpv_get_property) getProperty;
    decltype(&::mpv_set_property) setProperty;
    decltype(&::mpv_set_property_async) setPropertyAsync;
};

// libmpv, loaded when it is first needed rather than with the program: it
// brings two hundred libraries whose loading would hold up the window by a
// multiple of the window's own start. loadInBackground() loads it on a thread
// of its own meanwhile; functions() waits for that load, or loads it there and
// then.
//
// Thread: functions() and loadInBackground() may be called from any thread.
// The library stays loaded until the process ends (its own threads and those of
// the libraries below it must not lose their code).
class MpvLibrary {
public:
    // The file of the libmpv whose header the program was built with
    // ("libmpv.so.2" for client API 2.x).
    static std::string defaultFileName();

    explicit MpvLibrary(std::string fileName = defaultFileName());
    ~MpvLibrary();
    MpvLibrary(const MpvLibrary&) = delete;
    MpvLibrary& operator=(const MpvLibrary&) = delete;

    // Starts loading on a thread of its own unless the load has begun.
    void loadInBackground();
    // The functions, null when libmpv cannot be loaded (why is in error()).
    const MpvFunctions* functions() const;
    std::string error() const;

private:
    struct Loaded;
    static std::shared_ptr<const Loaded> load(const std::string& fileName);

    std::string m_fileName;
    mutable std::once_flag m_started;
    mutable std::shared_future<std::shared_ptr<const Loaded>> m_loaded;
};

}  // namespace korvin
