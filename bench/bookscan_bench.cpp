// SPDX-License-Identifier: GPL-3.0-or-later
// The walk of a drive for books, side by side with find(1) on the same tree:
// 100,000 folders holding 1,000 books (an ncc.html each) and 10 discs with a
// discinfo.html. The tree is made once below KORVIN_SCAN_TREE (default
// /tmp/korvin-scan-tree) and kept for later runs, since taking 100,000
// folders apart costs minutes on a disk; remove it by hand. Both walks run on
// a warm page cache: a first untimed run of each warms it.
//
//   build/bench/bench/korvin_bookscan_bench
//
// The figure to compare: BM_ScanForBooks against BM_Find (find ROOT -xdev
// \( -iname ncc.html -o -iname discinfo.html \)).

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "library/bookscan.h"

namespace {

namespace fs = std::filesystem;
using korvin::scanForBooks;

constexpr int kTop = 50;
constexpr int kMiddle = 40;
constexpr int kLeaves = 50;  // 50 * 40 * 50 = 100,000 folders below the middle level
constexpr int kBookEvery = 100;

void touch(const fs::path& file, const std::string& text = std::string())
{
    std::ofstream(file) << text;
}

std::string tree()
{
    const char* chosen = std::getenv("KORVIN_SCAN_TREE");
    const fs::path root = chosen && *chosen ? chosen : "/tmp/korvin-scan-tree";
    if (fs::exists(root / "complete"))
        return root.string();
    int folder = 0;
    for (int t = 0; t < kTop; ++t) {
        for (int m = 0; m < kMiddle; ++m) {
            for (int l = 0; l < kLeaves; ++l, ++folder) {
                const fs::path leaf = root / fs::path("Sammlung " + std::to_string(t)) /
                                      fs::path("Reihe").concat(std::to_string(m)) /
                                      fs::path("b").concat(std::to_string(l));
                fs::create_directories(leaf);
                if (folder % kBookEvery == 0)
                    touch(leaf / (folder % 3 == 0 ? "NCC.HTML" : "ncc.html"), "<h1><a href=\"a.smil\">Titel</a></h1>");
                else if (folder % 10000 == 5)
                    touch(leaf / "discinfo.html", "<a href=\"./b1/ncc.html\">x</a>\n<a href=\"./b2/ncc.html\">y</a>\n");
            }
        }
    }
    touch(root / "complete");
    return root.string();
}

void BM_ScanForBooks(benchmark::State& state)
{
    const std::string root = tree();
    const std::atomic<bool> cancelled{false};
    std::size_t found = scanForBooks(root, cancelled).size();
    for (auto _ : state) {
        found = scanForBooks(root, cancelled).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["books"] = static_cast<double>(found);
}
BENCHMARK(BM_ScanForBooks)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

void BM_Find(benchmark::State& state)
{
    const std::string command =
        "find '" + tree() + "' -xdev \\( -iname ncc.html -o -iname discinfo.html \\) > /dev/null";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("find failed");
    for (auto _ : state)
        benchmark::DoNotOptimize(std::system(command.c_str()));
}
BENCHMARK(BM_Find)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
