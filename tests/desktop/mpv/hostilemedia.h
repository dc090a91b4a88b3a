// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/tempdir.h"

#include <string>
#include <vector>

namespace korvin::test {

// A TCP socket listening on 127.0.0.1 at a port of the system's choice. It
// never accepts by itself: connections wait in its queue, where
// connectionsReceived() counts them.
class LoopbackListener {
public:
    LoopbackListener();
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    bool isListening() const { return m_socket >= 0; }
    int port() const { return m_port; }
    // Connections made since the last call (accepted and closed here).
    int connectionsReceived();

private:
    int m_socket = -1;
    int m_port = 0;
};

// "Audio" files a stranger's book may hold that name other media: playlists,
// an mpv EDL, a cue sheet, shortcuts. Each names the listener's address (and
// one names a local WAV); a player that follows any of them reaches out.
struct HostileMedium {
    std::string name;  // what the case is called in a failure message
    std::string path;
};
std::vector<HostileMedium> writeHostileMedia(const TempDir& folder, int port, const std::string& localWav);

}  // namespace korvin::test
