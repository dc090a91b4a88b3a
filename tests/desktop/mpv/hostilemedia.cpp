// SPDX-License-Identifier: GPL-3.0-or-later
#include "hostilemedia.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvin::test {

LoopbackListener::LoopbackListener()
{
    m_socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_socket < 0)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(m_socket, 16) != 0 ||
        ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(m_socket);
        m_socket = -1;
        return;
    }
    m_port = ntohs(address.sin_port);
}

LoopbackListener::~LoopbackListener()
{
    if (m_socket >= 0)
        ::close(m_socket);
}

int LoopbackListener::connectionsReceived()
{
    int count = 0;
    for (;;) {
        const int connection = ::accept4(m_socket, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            break;
        ::close(connection);
        ++count;
    }
    return count;
}

std::vector<HostileMedium> writeHostileMedia(const TempDir& folder, int port, const std::string& localWav)
{
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/a.mp3";
    const std::vector<std::pair<std::string, std::string>> files = {
        {"playlist.m3u", "#EXTM3U\n" + url + "\n"},
        {"playlist-named.mp3", "#EXTM3U\n#EXTINF:10,Chapter\n" + url + "\n"},
        {"bare-url.m3u", url + "\n"},
        {"local-playlist.mp3", "#EXTM3U\n" + localWav + "\n"},
        {"hls.m3u8", "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:10\n#EXTINF:10.0,\n"
                     "http://127.0.0.1:" +
                         std::to_string(port) + "/a.ts\n#EXT-X-ENDLIST\n"},
        {"edl.mp3", "# mpv EDL v0\n" + url + ",0,5\n"},
        {"edl-named.edl", "# mpv EDL v0\n" + url + "\n"},
        {"sheet.cue", "FILE \"" + url + "\" MP3\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"},
        {"shortcut.mp3", "[InternetShortcut]\nURL=" + url + "\n"},
        {"reference.mp3", "[Reference]\nRef1=" + url + "\n"},
        {"playlist.pls", "[playlist]\nFile1=" + url + "\nNumberOfEntries=1\nVersion=2\n"},
        {"concat.mp3", "ffconcat version 1.0\nfile '" + url + "'\n"},
    };
    std::vector<HostileMedium> media;
    for (const auto& [name, content] : files)
        media.push_back({name, folder.write(name, content).string()});
    return media;
}

}  // namespace korvin::test
