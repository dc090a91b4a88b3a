// SPDX-License-Identifier: GPL-3.0-or-later
// The reading of a large book against the plain reading of its files' bytes.
//
//   BM_RawRead      every file of the book read from the page cache
//   BM_ReadingPass  the reader's pass over the same files into fresh tables
//
//   BM_ReadingPassNewTables  the same into new tables each time
//   BM_TableMemory  the growth of the process while one reading fills tables
//
// The passes report their ratio to the raw read (goal: at most 3) as the
// median of the ratios of a raw read and a pass made one after the other,
// by wall time and by CPU time of the thread, and the memory of the filled
// tables (goal: at most 100 MB).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "book/booktables.h"
#include "book/diskfilesource.h"
#include "book/nccreader.h"
#include "book_generator.h"
#include "passclock.h"

namespace korvin::bench {
namespace {

const GeneratedBook& book()
{
    static const GeneratedBook generated;
    return generated;
}

std::size_t readAllFiles()
{
    const GeneratedBook& b = book();
    const std::string folder = b.folder();
    const DiskFileSource files;
    // One buffer for all files, as the reader keeps one: the plainest way of
    // getting every byte into memory.
    std::string content;
    std::size_t bytes = 0;
    for (const auto& name : b.fileNames()) {
        files.read(folder, name, content);
        bytes += content.size();
        benchmark::DoNotOptimize(content.data());
    }
    return bytes;
}

long residentBytes()
{
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * 4096;
}

std::size_t tableBytes(const BookTables& tables)
{
    return tables.headings.memoryUsage() + tables.phrases.memoryUsage() + tables.pages.memoryUsage() +
           tables.groups.memoryUsage();
}

void BM_RawRead(benchmark::State& state)
{
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = readAllFiles();
    state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
    state.counters["files"] = static_cast<double>(book().fileNames().size());
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["ncc_MB"] = static_cast<double>(book().nccBytes()) / 1e6;
}

// The window's reset to no book, which comes before every reading.
void emptyTables(BookTables& tables)
{
    for (BookTable* table : {&tables.headings, &tables.phrases, &tables.pages, &tables.groups, &tables.bookmarks,
                             &tables.searchHits})
        table->deleteAllRows();
    tables.tree.deleteAll();
}

// One pass per iteration. `sameTables`: the tables the window keeps for the
// whole run, emptied before each pass as the window does (not timed);
// otherwise new tables for every pass, as for the very first book. Before
// each pass (not timed) the raw read runs once, so that the ratio compares
// the two under the same load of the machine.
void readingPass(benchmark::State& state, bool sameTables)
{
    const std::string folder = book().folder();
    NoProgress progress;
    std::vector<double> rawWall, rawCpu, passWall, passCpu, ratioWall, ratioCpu;
    std::size_t tables = 0;
    int phrases = 0;
    auto kept = std::make_unique<BookTables>();
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<BookTables> fresh;
        if (sameTables)
            emptyTables(*kept);
        else
            fresh = std::make_unique<BookTables>();
        BookTables& target = sameTables ? *kept : *fresh;
        const PassClock rawStart = PassClock::now();
        readAllFiles();
        const PassClock raw = PassClock::now() - rawStart;
        state.ResumeTiming();

        const PassClock start = PassClock::now();
        NccReader reader(target, folder);
        if (reader.read(progress) != NccReader::kRead)
            state.SkipWithError("book not read");
        const PassClock pass = PassClock::now() - start;

        state.PauseTiming();
        rawWall.push_back(raw.wall);
        rawCpu.push_back(raw.cpu);
        passWall.push_back(pass.wall);
        passCpu.push_back(pass.cpu);
        ratioWall.push_back(pass.wall / raw.wall);
        ratioCpu.push_back(pass.cpu / raw.cpu);
        tables = tableBytes(target);
        phrases = target.phrases.rowCount();
        fresh.reset();
        state.ResumeTiming();
    }
    state.counters["raw_ms"] = median(rawWall) * 1e3;
    state.counters["pass_ms"] = median(passWall) * 1e3;
    state.counters["ratio"] = median(ratioWall);
    state.counters["raw_cpu_ms"] = median(rawCpu) * 1e3;
    state.counters["pass_cpu_ms"] = median(passCpu) * 1e3;
    state.counters["cpu_ratio"] = median(ratioCpu);
    state.counters["table_MB"] = static_cast<double>(tables) / 1e6;
    state.counters["phrases"] = phrases;
}

void BM_ReadingPass(benchmark::State& state)
{
    readingPass(state, true);
}

void BM_ReadingPassNewTables(benchmark::State& state)
{
    readingPass(state, false);
}

// The growth of the process while one reading fills its tables, as the
// system sees it (allocator overhead included).
void BM_TableMemory(benchmark::State& state)
{
    const std::string folder = book().folder();
    NoProgress progress;
    long growth = 0;
    std::size_t tables = 0;
    for (auto _ : state) {
        const long before = residentBytes();
        auto filled = std::make_unique<BookTables>();
        NccReader reader(*filled, folder);
        reader.read(progress);
        growth = residentBytes() - before;
        tables = tableBytes(*filled);
    }
    state.counters["rss_growth_MB"] = static_cast<double>(growth) / 1e6;
    state.counters["table_MB"] = static_cast<double>(tables) / 1e6;
}

// First, while the heap is fresh: memory freed by earlier runs would hide
// the growth.
BENCHMARK(BM_TableMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadingPass)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_ReadingPassNewTables)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace
}  // namespace korvin::bench

BENCHMARK_MAIN();
