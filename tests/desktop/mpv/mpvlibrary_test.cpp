// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/mpv/mpvlibrary.h"

#include "desktop/mpv/mpvhandle.h"
#include "desktop/mpv/mpvplayer.h"
#include "desktop/mpv/mpvtitlecue.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace korvin {
namespace {

bool everyFunctionBound(const MpvFunctions& f)
{
    return f.create && f.initialize && f.setOptionString && f.terminateDestroy && f.setWakeupCallback &&
           f.waitEvent && f.commandAsync && f.getProperty && f.setProperty && f.setPropertyAsync;
}

TEST(MpvLibrary, LoadsLibmpvWhenFirstAskedOrInTheBackground)
{
    struct Case {
        const char* name;
        bool background;
    };
    for (const Case c : {Case{"at the first call", false}, Case{"in the background", true}}) {
        SCOPED_TRACE(c.name);
        MpvLibrary library;
        if (c.background)
            library.loadInBackground();
        const MpvFunctions* functions = library.functions();
        ASSERT_NE(functions, nullptr) << library.error();
        EXPECT_TRUE(everyFunctionBound(*functions));
        EXPECT_EQ(library.functions(), functions);  // loaded once
        library.loadInBackground();                 // nothing more to load
        EXPECT_EQ(library.functions(), functions);
    }
}

TEST(MpvLibrary, AMissingLibmpvLeavesThePlayersWithoutSound)
{
    MpvLibrary library("libkorvin-no-such-mpv.so.2");
    library.loadInBackground();
    EXPECT_EQ(library.functions(), nullptr);
    EXPECT_NE(library.error().find("libkorvin-no-such-mpv.so.2"), std::string::npos) << library.error();
    EXPECT_FALSE(MpvHandle::create(library, {}));

    // The player fails its files as it does when libmpv refuses to start:
    // afterwards, from the event loop.
    MpvPlayer player(library);
    EXPECT_FALSE(player.isAvailable());
    int errors = 0;
    player.setErrorHandler([&errors] { ++errors; });
    player.setUrl("/book/a.mp3");
    EXPECT_EQ(errors, 0);
    const QDeadlineTimer deadline(5000);
    while (errors == 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(player.openState(), MediaPlayer::kOpenStateClosed);

    MpvTitleCue cue(library);
    cue.playRange("/book/a.mp3", 1000);  // silent, and returns
}

}  // namespace
}  // namespace korvin
