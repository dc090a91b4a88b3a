// SPDX-License-Identifier: GPL-3.0-or-later
// The state files of a listener who has read many books: an AResume.dl of
// 10,000 books and an MResume.dl of 20,000 bookmarks over 2,000 books, in a
// fresh folder below the system's temporary folder (so on its disk: every save
// is flushed to it). Each figure is one whole operation as the program does it
// when a book is opened or left: read the file, find the book's records, and
// for a save write the whole file anew (temporary file, flush, rename).
//
//   build/bench/bench/korvin_statefiles_bench

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <stdlib.h>

#include "library/bookmarkfile.h"
#include "library/recordfile.h"
#include "library/resumefile.h"
#include "library/scrambler.h"

namespace {

using namespace korvin;

constexpr int kResumeBooks = 10000;
constexpr int kBookmarkBooks = 2000;
constexpr int kBookmarksPerBook = 10;

BookInfo book(int index)
{
    const std::string n = std::to_string(index);
    return BookInfo{"2019-0" + std::to_string(index % 9 + 1) + "-15",
                    "urn:isbn:978-3-" + n + "-0",
                    "Ein Hörbuch mit einem längeren Titel, Band " + n,
                    std::to_string(20 + index % 300),
                    "12:34:56",
                    "1 of 1"};
}

class StateFiles : public benchmark::Fixture {
public:
    void SetUp(benchmark::State&) override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvin-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("no temporary folder");
        m_folder = pattern;
        // Built in one write each: the files as years of listening leave them.
        {
            RecordFile file(m_folder + "/AResume.dl", ResumeFile::kFieldCount, m_scrambler);
            file.load();
            RecordFile::Writer next(file);
            for (int b = 0; b < kResumeBooks; ++b) {
                RecordFile::Fields fields = bookRecordKey(book(b));
                fields.insert(fields.end(), {std::to_string(b % 40), "1234.567", std::to_string(b % 900)});
                next.append(fields);
            }
            next.commit();
        }
        {
            RecordFile file(m_folder + "/MResume.dl", BookmarkFile::kFieldCount, m_scrambler);
            file.load();
            RecordFile::Writer next(file);
            for (int b = 0; b < kBookmarkBooks; ++b)
                for (int k = 0; k < kBookmarksPerBook; ++k) {
                    RecordFile::Fields fields = bookRecordKey(book(b));
                    fields.insert(fields.end(), {"Kapitel " + std::to_string(k) + ": Überschrift", "83.250000",
                                                 std::to_string(k * 3), std::to_string(k * 47)});
                    next.append(fields);
                }
            next.commit();
        }
    }
    void TearDown(benchmark::State&) override { std::filesystem::remove_all(m_folder); }

protected:
    ResumeFile resumeFile() const { return ResumeFile(m_folder + "/AResume.dl", m_scrambler); }
    BookmarkFile bookmarkFile() const { return BookmarkFile(m_folder + "/MResume.dl", m_scrambler); }

    Scrambler m_scrambler;
    std::string m_folder;
};

// A book in the middle of the file, and one read for the first time (appended).
BENCHMARK_DEFINE_F(StateFiles, SavePosition)(benchmark::State& state)
{
    const ResumeFile file = resumeFile();
    const BookInfo listened = book(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(file.save(listened, ResumeRecord{"12", "3456.789", "321"}));
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(m_folder + "/AResume.dl")) / 1e6;
}
BENCHMARK_REGISTER_F(StateFiles, SavePosition)->Arg(kResumeBooks / 2)->Arg(kResumeBooks)->Unit(benchmark::kMillisecond);

BENCHMARK_DEFINE_F(StateFiles, RestorePosition)(benchmark::State& state)
{
    const ResumeFile file = resumeFile();
    const BookInfo listened = book(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(file.find(listened));
}
BENCHMARK_REGISTER_F(StateFiles, RestorePosition)
    ->Arg(kResumeBooks - 1)
    ->Arg(kResumeBooks)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_DEFINE_F(StateFiles, LoadBookmarks)(benchmark::State& state)
{
    const BookmarkFile file = bookmarkFile();
    const BookInfo listened = book(kBookmarkBooks - 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(file.load(listened));
}
BENCHMARK_REGISTER_F(StateFiles, LoadBookmarks)->Unit(benchmark::kMillisecond);

BENCHMARK_DEFINE_F(StateFiles, SaveBookmarks)(benchmark::State& state)
{
    const BookmarkFile file = bookmarkFile();
    const BookInfo listened = book(kBookmarkBooks / 2);
    const std::vector<BookmarkRecord> marks = file.load(listened);
    for (auto _ : state)
        benchmark::DoNotOptimize(file.save(listened, marks));
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(m_folder + "/MResume.dl")) / 1e6;
}
BENCHMARK_REGISTER_F(StateFiles, SaveBookmarks)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
