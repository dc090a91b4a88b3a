// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/mpv/mpvhandle.h"

#include <mpv/client.h>

#include "desktop/mpv/mpvlibrary.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace korvin {
namespace {

TEST(MpvHandle, ParsesCommaSeparatedNameValuePairs)
{
    const MpvHandle::Options expected = {{"ao", "null"}, {"audio-buffer", "0.1"}, {"gapless-audio", "yes"}};
    EXPECT_EQ(MpvHandle::parseOptions("ao=null,audio-buffer=0.1,gapless-audio"), expected);
    EXPECT_EQ(MpvHandle::parseOptions(" ao=null , ,audio-buffer=0.1,, gapless-audio "), expected);
}

TEST(MpvHandle, ParsesNothingFromEmptyOrNamelessItems)
{
    EXPECT_TRUE(MpvHandle::parseOptions("").empty());
    EXPECT_TRUE(MpvHandle::parseOptions(",,").empty());
    EXPECT_TRUE(MpvHandle::parseOptions("=null").empty());
    EXPECT_EQ(MpvHandle::parseOptions("ao="), (MpvHandle::Options{{"ao", ""}}));
}

TEST(MpvHandle, HandsRelativePathsToLibmpvAsFiles)
{
    EXPECT_EQ(MpvHandle::fileArgument("/book/a.mp3"), "/book/a.mp3");
    EXPECT_EQ(MpvHandle::fileArgument("a.mp3"), "./a.mp3");
    EXPECT_EQ(MpvHandle::fileArgument("-"), "./-");
    EXPECT_EQ(MpvHandle::fileArgument("av://lavfi:sine"), "./av://lavfi:sine");
    EXPECT_EQ(MpvHandle::fileArgument(""), "");
}

TEST(MpvHandle, FormatsSecondsWithAPointWhateverTheLocale)
{
    EXPECT_EQ(MpvHandle::formatSeconds(12.5), "12.500000");
    EXPECT_EQ(MpvHandle::formatSeconds(0), "0.000000");
    EXPECT_EQ(MpvHandle::formatSeconds(3600.000001), "3600.000001");
}

TEST(MpvHandle, StartsAnInstance)
{
    const MpvLibrary library;
    const MpvHandle handle = MpvHandle::create(library, {});
    EXPECT_TRUE(handle);
}

TEST(MpvHandle, NeitherRoleNorEnvironmentLiftsTheLocalOnlyOptions)
{
    const char* before = std::getenv("KORVIN_MPV_OPTIONS");
    const std::string saved = before ? before : "";
    ::setenv("KORVIN_MPV_OPTIONS", (saved + ",access-references=yes,ytdl=yes").c_str(), 1);
    const MpvLibrary library;
    const MpvHandle handle =
        MpvHandle::create(library, {{"load-scripts", "yes"}, {"demuxer-lavf-o", "protocol_whitelist=http"}});
    if (before)
        ::setenv("KORVIN_MPV_OPTIONS", saved.c_str(), 1);
    else
        ::unsetenv("KORVIN_MPV_OPTIONS");
    ASSERT_TRUE(handle);
    const auto property = [&](const char* name) {
        const std::unique_ptr<char, decltype(&mpv_free)> value(mpv_get_property_string(handle.get(), name), &mpv_free);
        return value ? std::string(value.get()) : std::string("(none)");
    };
    EXPECT_EQ(property("access-references"), "no");
    EXPECT_EQ(property("ytdl"), "no");
    EXPECT_EQ(property("load-scripts"), "no");
    EXPECT_EQ(property("demuxer-lavf-o"), "protocol_whitelist=file");
}

}  // namespace
}  // namespace korvin
