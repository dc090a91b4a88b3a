// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct mpv_handle;
struct mpv_node;

namespace korvin {

class MpvLibrary;
struct MpvFunctions;

// One libmpv instance set up for audio alone: no video, no terminal output, no
// configuration files, scripts or key bindings of the user's mpv, idle between
// files, exact (hr-) seeks, speed changes that keep the pitch. It reads local
// files only: it follows no playlist, EDL, cue sheet or other reference inside
// a file and opens no network protocol, whatever the options given. Audio goes to the
// desktop's default output unless the environment says otherwise.
//
// libmpv refuses to start unless LC_NUMERIC is "C". QApplication sets the locale
// from the environment, so main() sets LC_NUMERIC back to "C" right after creating
// it (tests do the same after their QCoreApplication).
//
// Owns the instance: the destructor stops it and waits for its threads.
class MpvHandle {
public:
    using Option = std::pair<std::string, std::string>;
    using Options = std::vector<Option>;

    // Creates and initialises an instance with the shared defaults, then
    // `roleOptions`, then the options of KORVIN_MPV_OPTIONS, then the options
    // that keep it local (which nothing overrides). Empty (false) when
    // libmpv cannot be loaded or refuses; options libmpv does not know are
    // passed over. Loads `library` first if it has not been loaded.
    static MpvHandle create(const MpvLibrary& library, const Options& roleOptions);

    // Parses "name=value,name=value" (a bare name means "yes"); empty items are
    // skipped. Values cannot contain commas.
    static Options parseOptions(std::string_view text);

    // The name libmpv is to open for `path`: a path that does not start with "/"
    // gets "./" in front, so that "-", "av://x" and the like are read as files and
    // never as standard input or a protocol.
    static std::string fileArgument(const std::string& path);

    // The playlist entry id in the result of a "loadfile" command; -1 when absent.
    static std::int64_t loadedEntryId(const mpv_node& result);

    // Seconds as libmpv expects them in commands ("12.345"), whatever the locale.
    static std::string formatSeconds(double seconds);

    MpvHandle() = default;

    mpv_handle* get() const { return m_handle.get(); }
    explicit operator bool() const { return m_handle != nullptr; }
    // libmpv's functions; valid while the handle is (operator bool).
    const MpvFunctions& api() const { return *m_api; }

private:
    struct Destroy {
        Destroy()
            : api(nullptr)
        {
        }
        explicit Destroy(const MpvFunctions* functions)
            : api(functions)
        {
        }
        void operator()(mpv_handle* handle) const;
        const MpvFunctions* api;
    };
    const MpvFunctions* m_api = nullptr;
    std::unique_ptr<mpv_handle, Destroy> m_handle;
};

}  // namespace korvin
