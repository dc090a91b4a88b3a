// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/mpv/mpvhandle.h"

#include <mpv/client.h>

#include "desktop/mpv/mpvlibrary.h"

#include <QtGlobal>

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace korvin {

namespace {

// What every instance of the program needs, whatever it plays.
const MpvHandle::Options& sharedDefaults()
{
    static const MpvHandle::Options options = {
        {"config", "no"},
        {"terminal", "no"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"load-scripts", "no"},
        {"osc", "no"},
        {"ytdl", "no"},
        {"load-stats-overlay", "no"},
        {"load-osd-console", "no"},
        {"load-auto-profiles", "no"},
        {"resume-playback", "no"},
        {"save-position-on-quit", "no"},
        {"vid", "no"},
        {"sid", "no"},
        {"audio-display", "no"},
        {"audio-file-auto", "no"},
        {"sub-auto", "no"},
        {"cover-art-auto", "no"},
        {"idle", "yes"},
        {"hr-seek", "yes"},
        {"audio-pitch-correction", "yes"},
        // Otherwise the end of a file is announced (and the position jumps to it)
        // as soon as the last audio has been decoded, while a good part of a
        // second is still to be heard.
        {"gapless-audio", "no"},
        {"volume-max", "100"},
        {"audio-client-name", "korvin"},
    };
    return options;
}

// A book is a stranger's folder: whatever its "audio" files say, libmpv
// opens the one local file it is given and nothing else. A playlist, an EDL,
// a cue sheet or a stream manifest would otherwise lead it to the addresses
// inside, local or remote. Applied after every other option, so that neither
// a role nor the environment can lift them.
const MpvHandle::Options& localOnly()
{
    static const MpvHandle::Options options = {
        {"access-references", "no"},
        {"load-unsafe-playlists", "no"},
        {"ordered-chapters", "no"},
        {"demuxer-lavf-o", "protocol_whitelist=file"},
        {"config", "no"},
        {"load-scripts", "no"},
        {"ytdl", "no"},
        {"terminal", "no"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"input-ipc-server", ""},
        {"osc", "no"},
    };
    return options;
}

void applyOptions(const MpvFunctions& api, mpv_handle* handle, const MpvHandle::Options& options)
{
    for (const auto& [name, value] : options) {
        if (api.setOptionString(handle, name.c_str(), value.c_str()) < 0)
            qWarning("libmpv does not accept the option %s=%s", name.c_str(), value.c_str());
    }
}

}  // namespace

void MpvHandle::Destroy::operator()(mpv_handle* handle) const
{
    api->terminateDestroy(handle);
}

MpvHandle MpvHandle::create(const MpvLibrary& library, const Options& roleOptions)
{
    MpvHandle result;
    const MpvFunctions* api = library.functions();
    if (!api)
        return result;
    // mpv_create() itself checks the locale and returns null when it is wrong.
    result.m_handle = std::unique_ptr<mpv_handle, Destroy>(api->create(), Destroy{api});
    if (!result.m_handle)
        return result;
    result.m_api = api;
    applyOptions(*api, result.get(), sharedDefaults());
    applyOptions(*api, result.get(), roleOptions);
    if (const char* extra = std::getenv("KORVIN_MPV_OPTIONS"))
        applyOptions(*api, result.get(), parseOptions(extra));
    applyOptions(*api, result.get(), localOnly());
    if (api->initialize(result.get()) < 0)
        result.m_handle.reset();
    return result;
}

MpvHandle::Options MpvHandle::parseOptions(std::string_view text)
{
    Options options;
    while (!text.empty()) {
        const auto comma = text.find(',');
        std::string_view item = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        while (!item.empty() && item.front() == ' ')
            item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ')
            item.remove_suffix(1);
        if (item.empty())
            continue;
        const auto equals = item.find('=');
        if (equals == std::string_view::npos)
            options.emplace_back(std::string(item), "yes");
        else if (equals > 0)
            options.emplace_back(std::string(item.substr(0, equals)), std::string(item.substr(equals + 1)));
    }
    return options;
}

std::string MpvHandle::fileArgument(const std::string& path)
{
    if (path.empty() || path.front() == '/')
        return path;
    return "./" + path;
}

std::int64_t MpvHandle::loadedEntryId(const mpv_node& result)
{
    if (result.format != MPV_FORMAT_NODE_MAP || !result.u.list)
        return -1;
    const mpv_node_list& map = *result.u.list;
    for (int i = 0; i < map.num; ++i) {
        if (std::string_view(map.keys[i]) == "playlist_entry_id" && map.values[i].format == MPV_FORMAT_INT64)
            return map.values[i].u.int64;
    }
    return -1;
}

std::string MpvHandle::formatSeconds(double seconds)
{
    if (!std::isfinite(seconds))
        seconds = 0;
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, seconds, std::chars_format::fixed, 6);
    return std::string(text, result.ptr);
}

}  // namespace korvin
