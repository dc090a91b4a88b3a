// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>
#include <string>

namespace korvin {

// The wait window (`CA_Mitteilung`): a small window without caption that shows
// one line ("Searching. Please wait...") while long work runs, so that the
// listener knows why nothing answers.
class WaitWindow {
public:
    // The work; `cancelled` turns true when the listener asked to stop (only
    // with Options::cancellable). Work that may be cancelled looks at it often
    // and returns soon after.
    using Work = std::function<void(const std::atomic<bool>& cancelled)>;

    struct Options {
        // On the UI thread the work holds the thread: nothing else runs until
        // it returns. On a worker thread the window stays responsive; the work
        // must then touch nothing the UI thread uses.
        bool onWorkerThread = false;
        // Escape asks the work to stop.
        bool cancellable = false;
    };

    virtual ~WaitWindow() = default;

    // Shows `text`, runs `work` once the window has been painted and offered
    // to the screen reader, closes the window and returns when the work has
    // returned. False when the listener cancelled, true otherwise. Called on
    // the UI thread.
    virtual bool run(const std::string& text, const Work& work, Options options) = 0;
};

}  // namespace korvin
