#include "desktop/mpv/mpvhandle.h"

#include <gtest/gtest.h>

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
    const MpvHandle handle = MpvHandle::create({});
    EXPECT_TRUE(handle);
}

}  // namespace
}  // namespace korvin
