// SPDX-License-Identifier: GPL-3.0-or-later
// A process killed at a random moment while it saves resume positions and
// bookmarks leaves each file complete: the old contents or the new, never a
// mix, never empty, never without another book's records.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <thread>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "library/recordfile.h"
#include "placewriter.h"
#include "support/tempdir.h"

extern char** environ;

namespace korvin {
namespace {

constexpr int kBooks = 40;
constexpr int kKills = 300;

using Saves = std::map<int, long long>;  // book -> the save its records carry

// Every book has exactly one resume record, in its first place, holding one save of it.
::testing::AssertionResult resumeFileIsWhole(const std::string& path, const Scrambler& scrambler, Saves& saves)
{
    RecordFile file(path, ResumeFile::kFieldCount, scrambler);
    if (file.load() != FileBytes::Status::kRead)
        return ::testing::AssertionFailure() << "AResume.dl cannot be read";
    if (file.recordCount() != kBooks)
        return ::testing::AssertionFailure() << "AResume.dl has " << file.recordCount() << " records";
    for (int b = 0; b < kBooks; ++b) {
        const auto record = static_cast<std::size_t>(b);
        const long long save = std::atoll(file.field(record, 8).c_str());
        if (!file.startsWith(record, file.makeKey(bookRecordKey(test::PlaceWriterSave::book(b)))) ||
            save % kBooks != b ||
            ResumeRecord{file.field(record, 6), file.field(record, 7), file.field(record, 8)} !=
                test::PlaceWriterSave::resume(save, kBooks))
            return ::testing::AssertionFailure() << "AResume.dl: record " << b << " is not whole";
        saves[b] = save;
    }
    return ::testing::AssertionSuccess();
}

// Every book's bookmarks are there, all from one save of it, whole and in order.
::testing::AssertionResult bookmarkFileIsWhole(const std::string& path, const Scrambler& scrambler, Saves& saves)
{
    RecordFile file(path, BookmarkFile::kFieldCount, scrambler);
    if (file.load() != FileBytes::Status::kRead)
        return ::testing::AssertionFailure() << "MResume.dl cannot be read";
    const BookmarkFile bookmarks(path, scrambler);
    std::size_t records = 0;
    for (int b = 0; b < kBooks; ++b) {
        const std::vector<BookmarkRecord> marks = bookmarks.load(test::PlaceWriterSave::book(b));
        if (marks.empty())
            return ::testing::AssertionFailure() << "MResume.dl lost the bookmarks of book " << b;
        const long long save = std::atoll(marks.front().zeit.c_str());
        if (save % kBooks != b || marks != test::PlaceWriterSave::bookmarks(save, kBooks))
            return ::testing::AssertionFailure() << "MResume.dl: the bookmarks of book " << b << " are not whole";
        saves[b] = save;
        records += marks.size();
    }
    if (records != file.recordCount())
        return ::testing::AssertionFailure() << "MResume.dl has records of no book";
    return ::testing::AssertionSuccess();
}

TEST(StateFileKill, AWriterKilledAtAnyMomentLeavesTheOldOrTheNewFile)
{
    test::TempDir home;
    const Scrambler scrambler;
    const ResumeFile resume(home.folder() + "AResume.dl", scrambler);
    const BookmarkFile bookmarks(home.folder() + "MResume.dl", scrambler);
    for (int b = 0; b < kBooks; ++b) {
        ASSERT_TRUE(resume.save(test::PlaceWriterSave::book(b), test::PlaceWriterSave::resume(b, kBooks)));
        ASSERT_TRUE(bookmarks.save(test::PlaceWriterSave::book(b), test::PlaceWriterSave::bookmarks(b, kBooks)));
    }

    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> delayMicroseconds(0, 15000);
    Saves resumeSaves;
    Saves bookmarkSaves;
    long long progress = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        // Each run goes on with later save numbers, so a file can only move forward.
        const std::string first = std::to_string((kill + 1) * 1000000LL);
        const std::string books = std::to_string(kBooks);
        const std::string folder = home.path().string();
        char* argv[] = {const_cast<char*>(KORVIN_PLACE_WRITER), const_cast<char*>(folder.c_str()),
                        const_cast<char*>(books.c_str()), const_cast<char*>(first.c_str()), nullptr};
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, started[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, started[0]);
        pid_t child = 0;
        const int spawned = posix_spawn(&child, KORVIN_PLACE_WRITER, &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(started[1]);
        ASSERT_EQ(spawned, 0);
        char begun = 0;
        const bool saving = ::read(started[0], &begun, 1) == 1;
        ::close(started[0]);
        ASSERT_TRUE(saving) << "the writer ended before it saved";
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself: " << status;

        Saves resumeNow;
        Saves bookmarksNow;
        ASSERT_TRUE(resumeFileIsWhole(home.folder() + "AResume.dl", scrambler, resumeNow)) << "after kill " << kill;
        ASSERT_TRUE(bookmarkFileIsWhole(home.folder() + "MResume.dl", scrambler, bookmarksNow))
            << "after kill " << kill;
        for (int b = 0; b < kBooks; ++b) {
            ASSERT_GE(resumeNow[b], resumeSaves[b]) << "an older resume record came back";
            ASSERT_GE(bookmarksNow[b], bookmarkSaves[b]) << "older bookmarks came back";
            progress += resumeNow[b] != resumeSaves[b];
        }
        resumeSaves = resumeNow;
        bookmarkSaves = bookmarksNow;
    }
    // The kills fell while the writer was at work, not only before it began.
    EXPECT_GT(progress, kKills / 4);
}

}  // namespace
}  // namespace korvin
