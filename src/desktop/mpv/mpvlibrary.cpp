// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/mpv/mpvlibrary.h"

#include <dlfcn.h>

namespace korvin {

struct MpvLibrary::Loaded {
    MpvFunctions functions{};
    bool complete = false;
    std::string error;
};

std::string MpvLibrary::defaultFileName()
{
    return "libmpv.so." + std::to_string(MPV_CLIENT_API_VERSION >> 16);
}

MpvLibrary::MpvLibrary(std::string fileName)
    : m_fileName(std::move(fileName))
{
}

MpvLibrary::~MpvLibrary()
{
    // A load still running holds the loader; it must end before this object.
    if (m_loaded.valid())
        m_loaded.wait();
}

std::shared_ptr<const MpvLibrary::Loaded> MpvLibrary::load(const std::string& fileName)
{
    auto loaded = std::make_shared<Loaded>();
    // Never closed (see the header): RTLD_NODELETE says so to the loader too.
    void* handle = ::dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) {
        const char* why = ::dlerror();
        loaded->error = why ? why : fileName + " cannot be loaded";
        return loaded;
    }
    MpvFunctions& f = loaded->functions;
    bool complete = true;
    const auto bind = [&](auto& function, const char* name) {
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(::dlsym(handle, name));
        if (!function) {
            complete = false;
            loaded->error += (loaded->error.empty() ? "" : ", ") + std::string(name) + " is missing";
        }
    };
    bind(f.create, "mpv_create");
    bind(f.initialize, "mpv_initialize");
    bind(f.setOptionString, "mpv_set_option_string");
    bind(f.terminateDestroy, "mpv_terminate_destroy");
    bind(f.setWakeupCallback, "mpv_set_wakeup_callback");
    bind(f.waitEvent, "mpv_wait_event");
    bind(f.commandAsync, "mpv_command_async");
    bind(f.getProperty, "mpv_get_property");
    bind(f.setProperty, "mpv_set_property");
    bind(f.setPropertyAsync, "mpv_set_property_async");
    loaded->complete = complete;
    return loaded;
}

void MpvLibrary::loadInBackground()
{
    std::call_once(m_started, [this] {
        m_loaded = std::async(std::launch::async, &MpvLibrary::load, m_fileName).share();
    });
}

const MpvFunctions* MpvLibrary::functions() const
{
    std::call_once(m_started, [this] {
        std::promise<std::shared_ptr<const Loaded>> now;
        now.set_value(load(m_fileName));
        m_loaded = now.get_future().share();
    });
    const auto& loaded = m_loaded.get();
    return loaded->complete ? &loaded->functions : nullptr;
}

std::string MpvLibrary::error() const
{
    functions();
    return m_loaded.get()->error;
}

}  // namespace korvin
