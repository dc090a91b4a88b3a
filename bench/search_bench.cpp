// SPDX-License-Identifier: GPL-3.0-or-later
// The three searches on generated full-text books, through the search
// commands with the real text documents (libxml2) and fake dialogs and lists:
//
//   BM_BookSearch     a common word (thousands of hits) in 5 MB of text in
//                     2,000 documents with 100,000 phrases (goal: 200 ms)
//   BM_HeadingSearch  over 3,000 headings (goal: 5 ms)
//   BM_TextSearch     the current heading's phrases in a 2 MB document
//                     (goal: 50 ms)
//
// and, side by side on the first 500 KB of the book's text, the matching of
// the book search (BM_SliceBookSearch) against a literal implementation of
// the bracket walk as first described (BM_SliceLiteralWalk): the raw markup
// searched, and for every occurrence the phrase rows walked from the run's
// first row, each bracket looking its fragments up from the start of the
// text. The page cache is warm after the first iteration.
#include <benchmark/benchmark.h>

#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "book/booktables.h"
#include "book/nccreader.h"
#include "book/textcase.h"
#include "book_generator.h"
#include "desktop/html/htmltextdocuments.h"
#include "library/settings.h"
#include "navigation/phrasesearch.h"
#include "navigation/search.h"
#include "support/fakeplatform.h"
#include "support/simulatedplayer.h"
#include "support/simulatedtimers.h"
#include "support/virtualclock.h"
#include "ui/menumodel.h"
#include "ui/stringtable.h"

namespace korvin::bench {
namespace {

// The search commands over a book read into tables, with fakes around them.
struct SearchRig {
    explicit SearchRig(const std::string& folder)
    {
        NoProgress progress;
        NccReader reader(tables, folder);
        if (reader.read(progress) != NccReader::kRead)
            throw std::runtime_error("book not read");
        tables.phrases.setSelectionMark(0);
    }

    // Runs `command` with `term` typed; returns the count it announced.
    std::string run(void (Search::*command)(), const std::string& term)
    {
        dialogs.searchTerm = term;
        (search.*command)();
        const std::string message = boxes.shown.empty() ? std::string() : boxes.shown.back().text;
        boxes.shown.clear();
        return message;
    }

    test::VirtualClock clock;
    test::SimulatedPlayer player{clock};
    test::SimulatedTimers timers{clock};
    test::FakeTitleCue titleCue;
    test::FakeHtmlView textView;
    test::FakeListBox list;
    test::FakeMessageBoxes boxes;
    test::FakeDialogs dialogs;
    test::FakeWaitWindow wait;
    test::FakeWindow window;
    test::FakeMenuBar menuBar;
    HtmlTextDocuments documents;
    BookTables tables;
    MenuModel menu = MenuModel::builtIn();
    StringTable strings = StringTable::builtIn();
    PlaybackState playback;
    Settings settings;
    std::string term;
    bool textSearchMode = false;
    int languageOffset = 0;
    PlaybackEngine engine{playback, settings, tables, menu, {player, titleCue, timers, textView, menuBar}, {}, {}};
    Search search{{playback, term, textSearchMode, languageOffset},
                  {tables, menu, strings, engine},
                  {player, menuBar, list, boxes, dialogs, wait, window, textView, documents},
                  {},
                  {}};
};

BookShape fullText()
{
    BookShape shape;
    shape.headings = 2000;
    shape.parsPerHeading = 50;
    shape.documents = 2000;
    shape.textBytes = 5'000'000;
    return shape;
}

BookShape oneLargeDocument()
{
    BookShape shape;
    shape.headings = 40;
    shape.parsPerHeading = 400;
    shape.documents = 1;
    shape.textBytes = 2'000'000;
    return shape;
}

const GeneratedBook& fullTextBook()
{
    static const GeneratedBook book(fullText());
    return book;
}

SearchRig& rigOf(const GeneratedBook& book)
{
    static std::map<const GeneratedBook*, std::unique_ptr<SearchRig>> rigs;
    auto& rig = rigs[&book];
    if (!rig)
        rig = std::make_unique<SearchRig>(book.folder());
    return *rig;
}

void BM_BookSearch(benchmark::State& state)
{
    SearchRig& rig = rigOf(fullTextBook());
    std::string message;
    for (auto _ : state)
        message = rig.run(&Search::searchBook, "Vertrag");
    state.SetLabel(message);
    state.counters["lines"] = rig.list.count();
    state.counters["phrases"] = rig.tables.phrases.rowCount();
    state.counters["documents"] = static_cast<double>(fullTextBook().documentNames().size());
    state.counters["text_MB"] = static_cast<double>(fullTextBook().textBytes()) / 1e6;
    state.counters["files_MB"] = static_cast<double>(fullTextBook().documentBytes()) / 1e6;
}

void BM_HeadingSearch(benchmark::State& state)
{
    static const GeneratedBook book;  // 3,000 headings
    SearchRig& rig = rigOf(book);
    std::string message;
    for (auto _ : state)
        message = rig.run(&Search::searchHeadings, "Dinge");
    state.SetLabel(message);
    state.counters["headings"] = rig.tables.headings.rowCount();
}

void BM_TextSearch(benchmark::State& state)
{
    static const GeneratedBook book(oneLargeDocument());
    SearchRig& rig = rigOf(book);
    rig.textView.navigate(book.folder() + book.documentNames().front());
    std::string message;
    for (auto _ : state)
        message = rig.run(&Search::searchText, "Vertrag");
    state.SetLabel(message);
    state.counters["text_MB"] = static_cast<double>(book.textBytes()) / 1e6;
    state.counters["file_MB"] = static_cast<double>(book.documentBytes()) / 1e6;
}

// ---------------------------------------------------------------------------
// The first 500 KB of text, both ways

constexpr std::size_t kSliceBytes = 500'000;

const BookTables& slice()
{
    static const BookTables rows = [] {
        const GeneratedBook& book = fullTextBook();
        const std::size_t documents = std::max<std::size_t>(
            1, kSliceBytes * book.documentNames().size() / std::max<std::size_t>(book.textBytes(), 1));
        const std::string last = book.folder() + book.documentNames()[documents - 1];
        const BookTable& phrases = rigOf(book).tables.phrases;
        BookTables cut;
        for (int row = 0; row < phrases.rowCount() && phrases.text(row, col::phrase::kDokument) <= last; ++row) {
            const int copy = cut.phrases.insertRow(row, phrases.text(row, 0));
            for (int column = 1; column < phrases.columnCount(); ++column)
                cut.phrases.setText(copy, column, phrases.text(row, column));
        }
        return cut;
    }();
    return rows;
}

void BM_SliceBookSearch(benchmark::State& state)
{
    HtmlTextDocuments documents;
    PhraseSearch search(slice().phrases, documents, {});
    PhraseHits hits;
    for (auto _ : state)
        hits = search.searchBook("vertrag");
    state.counters["occurrences"] = static_cast<double>(hits.occurrences);
    state.counters["lines"] = static_cast<double>(hits.phrases.size());
    state.counters["phrases"] = slice().phrases.rowCount();
}

// The book search as first described, step by step.
void BM_SliceLiteralWalk(benchmark::State& state)
{
    const BookTable& phrases = slice().phrases;
    const std::string term = "vertrag";
    long long count = 0;
    int lines = 0;
    for (auto _ : state) {
        count = 0;
        lines = 0;
        std::string lastDocument;
        std::string lastRow;
        bool anyRecorded = false;
        for (int i = 0; i < phrases.rowCount(); ++i) {
            const std::string& document = phrases.text(i, col::phrase::kDokument);
            if (document != lastDocument && !document.empty() && document.find("ncc.html") == std::string::npos &&
                document.find("NCC.HTML") == std::string::npos) {
                std::ifstream file(document);
                if (file) {
                    std::string html;
                    for (std::string line; std::getline(file, line);) {
                        if (!line.empty() && line.back() == '\r')
                            line.pop_back();
                        html += line;
                    }
                    html = lowerCase(html);
                    for (std::size_t k = html.find(term, 1); k != std::string::npos; k = html.find(term, k + 1)) {
                        const long long at = static_cast<long long>(k);
                        std::string left;
                        for (int j = i; j + 1 < phrases.rowCount(); ++j) {
                            const std::string& right = phrases.text(j + 1, col::phrase::kDokFragment);
                            if (right == left)
                                continue;
                            const std::size_t s = left.empty() ? 0 : html.find(left);
                            const std::size_t u = html.find(right);
                            const long long begin = s == std::string::npos ? -1 : static_cast<long long>(s);
                            const long long end = u == std::string::npos ? -1 : static_cast<long long>(u);
                            if (begin <= at && at <= end) {
                                ++count;
                                const std::string row = std::to_string(j);
                                if (!anyRecorded || row != lastRow) {
                                    ++lines;
                                    lastRow = row;
                                    anyRecorded = true;
                                }
                                break;
                            }
                            left = right;
                        }
                    }
                }
            }
            lastDocument = document;
        }
    }
    state.counters["occurrences"] = static_cast<double>(count);
    state.counters["lines"] = lines;
    state.counters["phrases"] = phrases.rowCount();
}

BENCHMARK(BM_BookSearch)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_HeadingSearch)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_TextSearch)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SliceBookSearch)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SliceLiteralWalk)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace korvin::bench

BENCHMARK_MAIN();
