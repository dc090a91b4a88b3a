// SPDX-License-Identifier: GPL-3.0-or-later
// What a listener waits for, measured through the main window's controller with
// the real libmpv player (ao=null unless KORVIN_MPV_OPTIONS says otherwise) on
// the large generated book:
//  * a jump to a phrase (a link in the text naming it) until the player plays at
//    that phrase's clip begin, within the file that is playing and into another
//    heading's file;
//  * Open until the first sound (the title cue begins) and until the book itself
//    plays. The reading dialog's one-second start timer is not part of it: the
//    dialog here runs the reading at once;
//  * the same for the book zipped into a 200 MB archive (audio stored, as zip
//    tools store MP3s; the text deflated), read from the archive and its first
//    audio file unpacked into the private cache (goal: the first sound within 1 s).
// Figures are the median and percentiles of single moves in milliseconds.
//
//   build/bench/bench/korvin_engine_bench
//
// The audio of the first headings and the zipped book are generated once into
// <temp>/korvin-bench/.

#include "app/maincontroller.h"
#include "book_generator.h"
#include "desktop/mpv/mpvlibrary.h"
#include "desktop/mpv/mpvplayer.h"
#include "desktop/zip/zipbookarchives.h"
#include "support/audiofiles.h"
#include "support/fakeplatform.h"
#include "support/tempdir.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <zip.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;
using namespace korvin;
using Clock = std::chrono::steady_clock;

constexpr int kAudioHeadings = 4;
constexpr double kChapterSeconds = 150;  // 50 phrases of 3 s per heading

double elapsedMs(Clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

template <typename Condition>
bool runUntil(Condition done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QTimer guard;
    guard.setSingleShot(true);
    guard.start(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// The main window's timers on QTimer.
class QtTimers final : public Timers {
public:
    std::function<void(int)> handler;

    void setTimer(int id, int milliseconds) override
    {
        auto& timer = m_timers[id];
        if (!timer) {
            timer = std::make_unique<QTimer>();
            QObject::connect(timer.get(), &QTimer::timeout, [this, id] {
                if (handler)
                    handler(id);
            });
        }
        timer->start(milliseconds);
    }
    void killTimer(int id) override
    {
        if (auto it = m_timers.find(id); it != m_timers.end())
            it->second->stop();
    }
    bool isRunning(int id) const override
    {
        const auto it = m_timers.find(id);
        return it != m_timers.end() && it->second->isActive();
    }

private:
    std::map<int, std::unique_ptr<QTimer>> m_timers;
};

// Records when the first sound would begin instead of blocking for it.
class CueClock final : public TitleCuePlayer {
public:
    void playRange(const std::string&, int) override { calledAt = Clock::now(); }
    Clock::time_point calledAt{};
};

// The large book with real audio for its first headings.
const bench::GeneratedBook& largeBook()
{
    static const auto book = [] {
        auto generated = std::make_unique<bench::GeneratedBook>();
        const fs::path cache = fs::temp_directory_path() / "korvin-bench" / "chapter150.mp3";
        fs::create_directories(cache.parent_path());
        if (!fs::exists(cache)) {
            const fs::path wav = cache.string() + ".wav";
            std::vector<double> tones;
            for (int second = 0; second < static_cast<int>(kChapterSeconds) + 1; ++second)
                tones.push_back(220.0 + 40.0 * (second % 11));
            test::writeToneSequenceWav(wav, tones, 1.0, 22050);
            const bool encoded = test::encodeMp3(wav, cache.string() + ".part", 32);
            fs::remove(wav);
            if (!encoded)
                throw std::runtime_error("lame failed or is not installed");
            fs::rename(cache.string() + ".part", cache);
        }
        for (int h = 0; h < kAudioHeadings; ++h) {
            char name[32];
            std::snprintf(name, sizeof name, "kapitel%05d.mp3", h);
            fs::copy_file(cache, generated->folder() + name, fs::copy_options::overwrite_existing);
        }
        return generated;
    }();
    return *book;
}

// The large book in a zip archive of about 200 MB: the headings after the
// first few play copies of their audio until the archive is that large.
const std::string& zippedLargeBook()
{
    static const std::string path = [] {
        const auto& book = largeBook();
        const fs::path zip = fs::temp_directory_path() / "korvin-bench" / "large-book-200mb.zip";
        if (fs::exists(zip))
            return zip.string();
        const fs::path partial = zip.string() + ".part";
        int error = 0;
        zip_t* archive = zip_open(partial.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        if (!archive)
            throw std::runtime_error("cannot write " + partial.string());
        const auto add = [&](const std::string& name, const fs::path& file, bool store) {
            zip_source_t* source = zip_source_file(archive, file.c_str(), 0, -1);
            const zip_int64_t index = source ? zip_file_add(archive, ("Buch/" + name).c_str(), source, 0) : -1;
            if (index < 0)
                throw std::runtime_error("cannot add " + name);
            zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), store ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                     1);
        };
        for (const std::string& name : book.fileNames())
            add(name, book.folder() + name, false);
        const std::uintmax_t audioBytes = fs::file_size(book.folder() + "kapitel00000.mp3");
        std::uintmax_t total = 0;
        for (int h = 0; total < (std::uintmax_t{200} << 20); ++h) {
            char name[32];
            std::snprintf(name, sizeof name, "kapitel%05d.mp3", h);
            add(name, book.folder() + (h < kAudioHeadings ? name : "kapitel00000.mp3"), true);
            total += audioBytes;
        }
        if (zip_close(archive) != 0)
            throw std::runtime_error("cannot write " + partial.string());
        fs::rename(partial, zip);
        return zip.string();
    }();
    return path;
}

// The controller on the real player, everything else faked.
struct Session {
    MpvLibrary library;
    MpvPlayer player{library};
    CueClock cue;
    test::FakeHtmlView view;
    QtTimers timers;
    test::FakeListBox groups, bookmarks, results;
    test::FakeMessageBoxes boxes;
    test::FakeDialogs dialogs;
    test::FakeWindow window;
    test::FakeMenuBar menuBar;
    test::FakeWaitWindow wait;
    test::FakeTextDocuments documents;
    test::TempDir home;
    ZipBookArchives archives{home.path().string() + "/unpacked"};
    std::unique_ptr<MainController> main;

    Session()
    {
        main = std::make_unique<MainController>(
            PlatformServices{player, cue, view, timers, groups, bookmarks, results, boxes, dialogs, window, menuBar,
                             wait, documents, archives},
            Folders{home.path().string(), KORVIN_SOURCE_DIR "/resources"});
        timers.handler = [this](int id) { main->timer(id); };
        main->initialise();
    }

    bool playingAt(double seconds) const
    {
        return player.openState() == MediaPlayer::kOpenStateMediaOpen && !player.isSettling() &&
               player.playState() == MediaPlayer::kPlaying && std::abs(player.position() - seconds) < 0.1;
    }
};

void report(benchmark::State& state, std::vector<double> ms)
{
    if (ms.empty())
        return;
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double f) { return ms[std::min(ms.size() - 1, static_cast<std::size_t>(f * ms.size()))]; };
    state.counters["p50_ms"] = at(0.5);
    state.counters["p90_ms"] = at(0.9);
    state.counters["max_ms"] = ms.back();
}

// Jumps by link to a random phrase of heading 0 (`otherFile` false) or,
// alternately, of headings 1 and 2 (their own files).
void jumpToPhrase(benchmark::State& state, bool otherFile)
{
    const auto& book = largeBook();
    Session session;
    session.dialogs.nccFile = book.folder() + "ncc.html";
    session.main->command(32774);
    if (!runUntil([&] { return session.playingAt(0.0); }, 10000)) {
        state.SkipWithError("the book did not start");
        return;
    }
    BookTable& phrases = session.main->tables().phrases;
    std::mt19937 random(7);
    std::vector<double> latencies;
    int heading = 0;
    for (auto _ : state) {
        if (otherFile)
            heading = heading == 1 ? 2 : 1;
        int row;
        do
            row = heading * 50 + static_cast<int>(random() % 50);
        while (row == phrases.selectedRow());
        const std::string smil = session.main->tables().headings.text(heading, col::heading::kSmil);
        const double begin = phrases.real(row, col::phrase::kPhrBeg);
        const auto start = Clock::now();
        session.view.activateLink(book.folder() + smil + "#" + phrases.text(row, col::phrase::kParId));
        if (!runUntil([&] { return session.playingAt(begin); }, 5000)) {
            state.SkipWithError("the phrase did not play");
            return;
        }
        const double ms = elapsedMs(start);
        state.SetIterationTime(ms / 1000.0);
        latencies.push_back(ms);
    }
    report(state, latencies);
}

void openToFirstSound(benchmark::State& state, bool zipped)
{
    const std::string chosen = zipped ? zippedLargeBook() : largeBook().folder() + "ncc.html";
    std::vector<double> toCue;
    std::vector<double> toBook;
    for (auto _ : state) {
        Session session;
        session.dialogs.nccFile = chosen;
        const auto start = Clock::now();
        session.main->command(32774);
        const double cue = std::chrono::duration<double, std::milli>(session.cue.calledAt - start).count();
        if (!runUntil([&] { return session.playingAt(0.0); }, 10000)) {
            state.SkipWithError("the book did not start");
            return;
        }
        const double playing = elapsedMs(start);
        state.SetIterationTime(playing / 1000.0);
        toCue.push_back(cue);
        toBook.push_back(playing);
    }
    std::sort(toCue.begin(), toCue.end());
    std::sort(toBook.begin(), toBook.end());
    state.counters["cue_p50_ms"] = toCue[toCue.size() / 2];
    state.counters["playing_p50_ms"] = toBook[toBook.size() / 2];
    state.counters["playing_max_ms"] = toBook.back();
}

}  // namespace

BENCHMARK_CAPTURE(jumpToPhrase, same_file, false)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(60);
BENCHMARK_CAPTURE(jumpToPhrase, other_file, true)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(60);
BENCHMARK_CAPTURE(openToFirstSound, folder, false)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(openToFirstSound, zip_200mb, true)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("KORVIN_MPV_OPTIONS"))
        qputenv("KORVIN_MPV_OPTIONS", "ao=null");
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
