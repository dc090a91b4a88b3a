// SPDX-License-Identifier: GPL-3.0-or-later
// How quickly the libmpv player answers the two moves the playback engine makes
// all the time: a seek followed by play inside the open file (phrase and page
// jumps, winding), and opening another file at a position and playing it
// (a new heading, a bookmark, the resume position).
//
// A measurement ends when libmpv itself has reached the target and plays
// (MpvPlayer::isSettling() false, play state 3) - not when the player merely
// reports the target, which it does at once. The figures are the median and
// percentiles of the single moves, in milliseconds.
//
//   build/dev/bench/korvin_player_bench [--benchmark_filter=...]
//
// The media are generated once into <temp>/korvin-bench/ and reused.

#include "desktop/mpv/mpvlibrary.h"
#include "desktop/mpv/mpvplayer.h"
#include "support/audiofiles.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using korvin::MediaPlayer;
using korvin::MpvPlayer;

constexpr double kHourSeconds = 3600;
constexpr double kChapterSeconds = 300;

struct Media {
    fs::path file;
    double seconds;
};

// Generates `name` (an MP3 of `seconds` at 32 kbit/s mono) unless it is there.
fs::path cachedMp3(const std::string& name, double seconds)
{
    const fs::path folder = fs::temp_directory_path() / "korvin-bench";
    fs::create_directories(folder);
    const fs::path mp3 = folder / name;
    if (fs::exists(mp3) && fs::file_size(mp3) > 0)
        return mp3;
    std::fprintf(stderr, "generating %s (%.0f s of audio)...\n", mp3.c_str(), seconds);
    const fs::path wav = folder / (name + ".wav");
    // A tone that changes every second, so that no two seconds decode alike.
    std::vector<double> tones;
    for (int second = 0; second < static_cast<int>(seconds); ++second)
        tones.push_back(220.0 + 40.0 * (second % 11));
    korvin::test::writeToneSequenceWav(wav, tones, 1.0, 22050);
    const fs::path partial = folder / (name + ".part");
    const bool encoded = korvin::test::encodeMp3(wav, partial, 32);
    fs::remove(wav);
    if (!encoded)
        throw std::runtime_error("lame failed or is not installed");
    fs::rename(partial, mp3);
    return mp3;
}

// Runs the event loop until `done` holds; false after `timeoutMs`.
template <typename Condition>
bool runUntil(Condition done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QTimer guard;
    guard.setSingleShot(true);
    guard.start(timeoutMs);  // wakes the loop at the deadline at the latest
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

bool settledAndPlaying(const MpvPlayer& player)
{
    return player.openState() == MediaPlayer::kOpenStateMediaOpen && !player.isSettling() &&
           player.playState() == MediaPlayer::kPlaying;
}

void reportPercentiles(benchmark::State& state, std::vector<double> ms, double worstErrorMs)
{
    if (ms.empty())
        return;
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double fraction) {
        return ms[std::min(ms.size() - 1, static_cast<std::size_t>(fraction * static_cast<double>(ms.size())))];
    };
    state.counters["p50_ms"] = at(0.50);
    state.counters["p90_ms"] = at(0.90);
    state.counters["p99_ms"] = at(0.99);
    state.counters["max_ms"] = ms.back();
    state.counters["max_error_ms"] = worstErrorMs;
}

double elapsedMs(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

// Paused somewhere in the open file, then setPosition(t) + play() to a random t.
void seekAndPlay(benchmark::State& state, const fs::path& file)
{
    const korvin::MpvLibrary library;
    MpvPlayer player(library);
    player.setUrl(file.string());
    if (!runUntil([&] { return player.openState() == MediaPlayer::kOpenStateMediaOpen && !player.isSettling(); },
                  10000)) {
        state.SkipWithError("the file did not open");
        return;
    }
    const double length = player.duration();
    std::mt19937 random(1);
    std::uniform_real_distribution<double> anywhere(0.0, length - 10.0);
    std::vector<double> samples;
    double worstErrorMs = 0;
    for (auto _ : state) {
        player.pause();
        runUntil([] { return false; }, 20);  // let the pause land
        const double target = anywhere(random);
        const auto start = std::chrono::steady_clock::now();
        player.setPosition(target);
        player.play();
        if (!runUntil([&] { return settledAndPlaying(player); }, 5000)) {
            state.SkipWithError("the seek did not land");
            return;
        }
        const double ms = elapsedMs(start);
        worstErrorMs = std::max(worstErrorMs, std::abs(player.position() - target) * 1000);
        samples.push_back(ms);
        state.SetIterationTime(ms / 1000);
    }
    reportPercentiles(state, samples, worstErrorMs);
}

// setUrl(another file) + setPosition(t) + play(), alternating between files.
void loadAndPlay(benchmark::State& state, const std::vector<Media>& files, bool randomPosition)
{
    const korvin::MpvLibrary library;
    MpvPlayer player(library);
    std::mt19937 random(2);
    std::vector<double> samples;
    double worstErrorMs = 0;
    std::size_t next = 0;
    for (auto _ : state) {
        const Media& media = files[next++ % files.size()];
        const double target =
            randomPosition ? std::uniform_real_distribution<double>(0.0, media.seconds - 10)(random) : 0.0;
        const auto start = std::chrono::steady_clock::now();
        player.setUrl(media.file.string());
        player.setPosition(target);
        player.play();
        if (!runUntil([&] { return settledAndPlaying(player); }, 10000)) {
            state.SkipWithError("the file did not start");
            return;
        }
        const double ms = elapsedMs(start);
        worstErrorMs = std::max(worstErrorMs, std::abs(player.position() - target) * 1000);
        samples.push_back(ms);
        state.SetIterationTime(ms / 1000);
        runUntil([] { return false; }, 20);
    }
    reportPercentiles(state, samples, worstErrorMs);
}

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("KORVIN_MPV_OPTIONS"))
        qputenv("KORVIN_MPV_OPTIONS", "ao=null");
    benchmark::Initialize(&argc, argv);
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");

    std::vector<Media> chapters;
    Media hour;
    try {
        hour = {cachedMp3("hour-32k-mono.mp3", kHourSeconds), kHourSeconds};
        chapters = {{cachedMp3("chapter1-32k-mono.mp3", kChapterSeconds), kChapterSeconds},
                    {cachedMp3("chapter2-32k-mono.mp3", kChapterSeconds), kChapterSeconds}};
    } catch (const std::exception& error) {
        std::fprintf(stderr, "cannot make the media: %s\n", error.what());
        return 1;
    }

    benchmark::RegisterBenchmark("SeekAndPlay/OneHourMp3", [&](benchmark::State& state) { seekAndPlay(state, hour.file); })
        ->Iterations(200)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("LoadAndPlay/FiveMinuteMp3/FromStart",
                                 [&](benchmark::State& state) { loadAndPlay(state, chapters, false); })
        ->Iterations(100)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("LoadAndPlay/FiveMinuteMp3/AtAPosition",
                                 [&](benchmark::State& state) { loadAndPlay(state, chapters, true); })
        ->Iterations(100)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("LoadAndPlay/OneHourMp3/FromStart",
                                 [&](benchmark::State& state) { loadAndPlay(state, {hour}, false); })
        ->Iterations(100)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("LoadAndPlay/OneHourMp3/AtAPosition",
                                 [&](benchmark::State& state) { loadAndPlay(state, {hour}, true); })
        ->Iterations(100)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
