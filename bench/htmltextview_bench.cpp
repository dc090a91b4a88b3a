// SPDX-License-Identifier: GPL-3.0-or-later
// Figures for the text view on a long book text: loading it until it is shown,
// and one move of the phrase highlight as the highlighter makes it.
#include "desktop/html/htmltextview.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <ctime>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace korvin {
namespace {

constexpr int kParagraphs = 15000;
const std::string kClose = "</SPAN>";

// A book's text file of about 2 MB: 15,000 sentences, each in a paragraph
// with an id and a link to its place in a SMIL file, a heading every 300.
std::string bookText()
{
    static constexpr std::array<const char*, 24> kWords = {
        "the",   "listener", "reads", "a",     "book",  "with",  "care",   "and",
        "every", "phrase",   "moves", "along", "while", "audio", "plays",  "in",
        "time",  "of",       "day",   "night", "quiet", "rooms", "bright", "words"};
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                       "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>Long book</title>"
                       "<style>p.sentence { color: #202020 } h1 { font-size: 175% }</style></head><body>\n";
    unsigned seed = 1;
    // Appended piece by piece: chains of + trip a false -Wrestrict in GCC 12.
    for (int i = 0; i < kParagraphs; ++i) {
        const std::string number = std::to_string(i);
        const std::string smil = "speechgen" + std::to_string(1000 + i / 300) + ".smil";
        if (i % 300 == 0) {
            text += "<h1 id=\"h";
            text += number;
            text += "\"><a href=\"";
            text += smil;
            text += "#h\">Chapter ";
            text += std::to_string(i / 300 + 1);
            text += "</a></h1>\n";
        }
        text += "<p class=\"sentence\" id=\"p";
        text += number;
        text += "\"><a href=\"";
        text += smil;
        text += "#tcp";
        text += number;
        text += "\">";
        for (int w = 0; w < 11; ++w) {
            seed = seed * 1103515245u + 12345u;
            text += kWords[(seed >> 16) % kWords.size()];
            text += w == 10 ? "." : " ";
        }
        text += "</a></p>\n";
    }
    return text + "</body></html>\n";
}

class Book {
public:
    Book()
    {
        m_path = m_dir.path() + "/content.html";
        std::ofstream(m_path.toStdString(), std::ios::binary) << bookText();
    }
    std::string path() const { return m_path.toStdString(); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

const Book& book()
{
    static const Book instance;
    return instance;
}

// The time since `since` in seconds: the wall clock, or with
// KORVIN_BENCH_CLOCK=thread the CPU time of this thread, which other work on a
// busy machine disturbs less.
double now()
{
    static const bool threadClock = qgetenv("KORVIN_BENCH_CLOCK") == "thread";
    if (threadClock) {
        timespec time{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double seconds(double since)
{
    return now() - since;
}

// One highlight move: the old span out of element A, a new one around the
// content of B, B scrolled into view and centred.
void moveHighlight(HtmlTextView& view, const std::string& from, const std::string& to, const std::string& open)
{
    if (!from.empty()) {
        std::string markup = *view.elementInnerHtml(from);
        const std::size_t at = markup.find(open);
        if (at != std::string::npos) {
            markup.erase(at, open.size());
            const std::size_t close = markup.find(kClose, at);
            if (close != std::string::npos)
                markup.erase(close, kClose.size());
        }
        view.setElementInnerHtml(from, markup);
    }
    view.setElementInnerHtml(to, open + *view.elementInnerHtml(to) + kClose);
    view.scrollIntoView(to);
    const int viewHeight = view.viewHeight();
    const int height = view.bodyScrollHeight();
    const int top = view.scrollTop();
    view.setScrollTop(height - top > viewHeight ? top - viewHeight / 2 : height);
}

void loadUntilShown(benchmark::State& state, HtmlTextView& view)
{
    const std::string path = book().path();
    for (auto _ : state) {
        const double start = now();
        view.navigate(path);
        view.viewport()->repaint();
        state.SetIterationTime(seconds(start));
        QApplication::processEvents();
    }
    state.counters["characters"] = view.document()->characterCount();
}

// The first highlight after loading, while the text is still being laid out.
void firstHighlightAfterLoading(benchmark::State& state, HtmlTextView& view)
{
    const std::string path = book().path();
    for (auto _ : state) {
        view.navigate(path);
        QApplication::processEvents();
        const double start = now();
        moveHighlight(view, "", "p2", "<SPAN style=\"BACKGROUND-COLOR: #ff8000\">");
        view.viewport()->repaint();
        state.SetIterationTime(seconds(start));
    }
}

// A search term marked all through the text (and taken out again), as the
// term marking does it: the body's outer markup with spans around every
// occurrence set as the body's content.
// The text as it is after a while: laid out to its end in the background.
void loadAndLayOut(HtmlTextView& view)
{
    view.navigate(book().path());
    view.document()->documentLayout()->documentSize();
    QApplication::processEvents();
}

void termMarking(benchmark::State& state, HtmlTextView& view)
{
    loadAndLayOut(view);
    const std::string term = "phrase";
    const std::string open = "<span style=\"BACKGROUND-COLOR: #ff8000\">";
    const std::string original = *view.bodyInnerHtml();
    int marks = 0;
    for (auto _ : state) {
        // The marked markup is made in one pass; only the view's part is timed.
        const std::string outer = *view.bodyOuterHtml();
        std::string markup;
        markup.reserve(outer.size() * 2);
        marks = 0;
        std::size_t from = 0;
        for (std::size_t at = outer.find(term, 1); at != std::string::npos; at = outer.find(term, at + term.size())) {
            markup.append(outer, from, at - from);
            markup += open;
            markup += term;
            markup += kClose;
            from = at + term.size();
            ++marks;
        }
        markup.append(outer, from);
        const double start = now();
        view.setBodyInnerHtml(markup);
        view.viewport()->repaint();
        state.SetIterationTime(seconds(start));
        view.setBodyInnerHtml(original);
    }
    state.counters["marks"] = marks;
}

void highlightMove(benchmark::State& state, HtmlTextView& view, const std::string& open)
{
    loadAndLayOut(view);
    int next = 1000;
    std::string previous;
    std::vector<double> times;
    for (auto _ : state) {
        std::string id = "p";
        id += std::to_string(next);
        next = next + 7 < kParagraphs ? next + 7 : 1000;
        const double start = now();
        moveHighlight(view, previous, id, open);
        view.viewport()->repaint();
        times.push_back(seconds(start));
        state.SetIterationTime(times.back());
        previous = id;
    }
    std::sort(times.begin(), times.end());
    if (!times.empty()) {
        state.counters["median_ms"] = times[times.size() / 2] * 1000;
        state.counters["p90_ms"] = times[times.size() * 9 / 10] * 1000;
        state.counters["max_ms"] = times.back() * 1000;
    }
}

}  // namespace
}  // namespace korvin

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    korvin::HtmlTextView view;
    view.resize(900, 700);
    view.show();
    benchmark::RegisterBenchmark("loadUntilShown", [&](benchmark::State& s) { korvin::loadUntilShown(s, view); })
        ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(15)->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("firstHighlightAfterLoading",
                                 [&](benchmark::State& s) { korvin::firstHighlightAfterLoading(s, view); })
        ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("termMarking", [&](benchmark::State& s) { korvin::termMarking(s, view); })
        ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);
    for (const auto& [name, open] : {std::pair<const char*, const char*>{"bold", "<SPAN style=\"FONT-WEIGHT: bold\">"},
                                     {"italic", "<SPAN style=\"FONT-STYLE: italic\">"},
                                     {"background", "<SPAN style=\"BACKGROUND-COLOR: #ff8000\">"},
                                     {"textColour", "<SPAN style=\"COLOR: #ffffff\">"}}) {
        const std::string markup = open;
        benchmark::RegisterBenchmark((std::string("highlightMove/") + name).c_str(),
                                     [&view, markup](benchmark::State& s) { korvin::highlightMove(s, view, markup); })
            ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200)->Repetitions(1);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
