// SPDX-License-Identifier: GPL-3.0-or-later
// The reading of a large DAISY 3 book (150,000 phrases) against the plain
// reading of its files' bytes.
//
//   BM_Daisy3RawRead/N      every file of the book read from the page cache
//   BM_Daisy3ReadingPass/N  the reader's pass over the same files into the
//                           tables the window keeps, emptied before each pass
//
// N is the number of headings per SMIL file: 1 as in the sample DAISY 3 book
// (the goal's book), 7 for books that keep a whole section in one file, whose
// raw read costs less (fewer files to open).
//
// The pass reports its ratio to the raw read (goal: at most 2.5) as the median
// of the ratios of a raw read and a pass made one after the other, by wall
// time and by CPU time of the thread.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "book/booktables.h"
#include "book/daisy3reader.h"
#include "book/diskfilesource.h"
#include "daisy3_generator.h"
#include "passclock.h"

namespace korvin::bench {
namespace {

const GeneratedDaisy3Book& book(std::int64_t headingsPerSmil)
{
    static const GeneratedDaisy3Book perHeading(1);
    static const GeneratedDaisy3Book perSection(7);
    return headingsPerSmil == 1 ? perHeading : perSection;
}

std::size_t readAllFiles(const GeneratedDaisy3Book& b)
{
    const std::string folder = b.folder();
    const DiskFileSource files;
    std::string content;
    std::size_t bytes = 0;
    for (const auto& name : b.fileNames()) {
        files.read(folder, name, content);
        bytes += content.size();
        benchmark::DoNotOptimize(content.data());
    }
    return bytes;
}

void BM_Daisy3RawRead(benchmark::State& state)
{
    const GeneratedDaisy3Book& b = book(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = readAllFiles(b);
    state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
    state.counters["files"] = static_cast<double>(b.fileNames().size());
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_Daisy3ReadingPass(benchmark::State& state)
{
    const GeneratedDaisy3Book& b = book(state.range(0));
    const std::string folder = b.folder();
    NoProgress progress;
    BookTables tables;
    std::vector<double> rawWall, passWall, ratioWall, rawCpu, passCpu, ratioCpu;
    for (auto _ : state) {
        state.PauseTiming();
        // The window's reset to no book, then the raw read under the same
        // load of the machine as the pass after it.
        for (BookTable* table : {&tables.headings, &tables.phrases, &tables.pages, &tables.groups})
            table->deleteAllRows();
        tables.tree.deleteAll();
        const PassClock rawStart = PassClock::now();
        readAllFiles(b);
        const PassClock raw = PassClock::now() - rawStart;
        state.ResumeTiming();

        const PassClock start = PassClock::now();
        Daisy3Reader reader(tables, folder, GeneratedDaisy3Book::kPackageName, "von");
        if (reader.read(progress) != Daisy3Reader::kRead)
            state.SkipWithError("book not read");
        const PassClock pass = PassClock::now() - start;

        state.PauseTiming();
        rawWall.push_back(raw.wall);
        passWall.push_back(pass.wall);
        ratioWall.push_back(pass.wall / raw.wall);
        rawCpu.push_back(raw.cpu);
        passCpu.push_back(pass.cpu);
        ratioCpu.push_back(pass.cpu / raw.cpu);
        state.ResumeTiming();
    }
    state.counters["raw_ms"] = median(rawWall) * 1e3;
    state.counters["pass_ms"] = median(passWall) * 1e3;
    state.counters["ratio"] = median(ratioWall);
    state.counters["raw_cpu_ms"] = median(rawCpu) * 1e3;
    state.counters["pass_cpu_ms"] = median(passCpu) * 1e3;
    state.counters["cpu_ratio"] = median(ratioCpu);
    state.counters["phrases"] = tables.phrases.rowCount();
    state.counters["headings"] = tables.headings.rowCount();
}

BENCHMARK(BM_Daisy3RawRead)->Arg(1)->Arg(7)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Daisy3ReadingPass)->Arg(1)->Arg(7)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace
}  // namespace korvin::bench

BENCHMARK_MAIN();
