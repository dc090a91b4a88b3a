// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a book. The input is cut at every byte 0x01 into up to
// nine pieces, held in memory, and read twice: as a DAISY 2.02 book (the NCC
// "ncc.html" and the SMIL files "1.smil" to "8.smil") and as a DAISY 3 book
// (the package "book.opf", the navigation file "book.ncx" and the SMIL 2 files
// "2.smil" to "8.smil"). The dump writes each, the head reader reads the NCC's
// head. Besides the sanitizers, the tables' invariants are checked.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "book/bookreader.h"
#include "book/bookreference.h"
#include "book/booktables.h"
#include "book/clockvalue.h"
#include "book/dumpbook.h"
#include "book/memoryfilesource.h"
#include "book/nccreader.h"
#include "book/textcase.h"
#include "book/textdecoder.h"
#include "book/timetext.h"
#include "book/xmlscanner.h"
#include "book/xmltext.h"

namespace {

using namespace korvin;

class CheckedProgress : public ReadProgress {
public:
    void setRange(int minimum, int maximum) override
    {
        if (minimum != 0)
            __builtin_trap();
        (void)maximum;
    }
    void setPosition(int position) override
    {
        if (position < 0)
            __builtin_trap();
    }
    void setStatus(const std::string& text) override
    {
        if (text.empty())
            __builtin_trap();
    }
};

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// What every reading must leave, whatever the bytes.
void checkTables(const BookTables& tables, const BookInfo& info)
{
    const BookTable& headings = tables.headings;
    check(tables.tree.count() == headings.rowCount());
    for (int row = 0; row < headings.rowCount(); ++row) {
        check(headings.text(row, col::heading::kTreeId) == std::to_string(row));
        check(tables.tree.itemData(row) == row);
        check(tables.tree.itemText(row) == headings.text(row, col::heading::kTitel));
        const std::string& level = headings.text(row, col::heading::kEbene);
        check(level.size() == 1 && level[0] >= '1' && level[0] <= '6');
        check(isValidUtf8(headings.text(row, col::heading::kTitel)));
        check(headings.text(row, col::heading::kTitel).size() <= TextDecoder::kMaxBytes);
    }
    for (int row = 0; row < tables.phrases.rowCount(); ++row) {
        const int heading = tables.phrases.integer(row, col::phrase::kTreeId);
        check(heading >= 0 && heading < headings.rowCount());
        check(tables.phrases.text(row, col::phrase::kDokument).rfind("/b/", 0) == 0 ||
              tables.phrases.text(row, col::phrase::kDokument).empty());
    }
    for (int row = 0; row < tables.groups.rowCount(); ++row)
        check(isValidUtf8(tables.groups.text(row, col::group::kGruppe)));
    check(!info.date.empty());
    for (int item = tables.tree.firstItem(); item != HeadingTree::kNone; item = tables.tree.nextInOrder(item))
        check(tables.tree.depth(item) < 6);
}

// The same pieces as a DAISY 3 book; what the tables hold must serve the
// engine as a DAISY 2.02 book's do.
void readDaisy3(const std::vector<std::string_view>& pieces)
{
    const std::string folder = "/b/";
    MemoryFileSource files;
    files.add(folder + "book.opf", std::string(pieces[0]));
    if (pieces.size() > 1)
        files.add(folder + "book.ncx", std::string(pieces[1]));
    for (std::size_t i = 2; i < pieces.size(); ++i)
        files.add(folder + std::to_string(i) + ".smil", std::string(pieces[i]));

    BookTables tables;
    BookReader reader(tables, folder, BookStart{BookFormat::kDaisy3, "book.opf"}, NccReader::Texts{200, "of"}, files);
    CheckedProgress progress;
    check(reader.read(progress) == BookReader::kRead);
    checkTables(tables, reader.info());
    // A heading's phrases stand together, in the order of the headings.
    for (int row = 1; row < tables.phrases.rowCount(); ++row)
        check(tables.phrases.integer(row - 1, col::phrase::kTreeId) <= tables.phrases.integer(row, col::phrase::kTreeId));
    for (const BookTable* table : {&tables.pages, &tables.groups}) {
        for (int row = 0; row < table->rowCount(); ++row) {
            const std::string& heading = table->text(row, col::page::kTitelId);
            check(heading.empty() || (table->integer(row, col::page::kTitelId) >= 0 &&
                                      table->integer(row, col::page::kTitelId) < tables.headings.rowCount()));
            check(isValidUtf8(table->text(row, 0)));
        }
    }
    std::ostringstream dump;
    writeBookDump(dump, tables, reader.info(), reader.codePage(), reader.features());
    check(dump.str().rfind("[book]\n", 0) == 0);

    // The scanner alone, to its end, on the first piece.
    XmlScanner scanner(pieces[0]);
    for (XmlScanner::Token token = scanner.next(); token != XmlScanner::Token::kEnd && token != XmlScanner::Token::kError;
         token = scanner.next())
        check(scanner.depth() <= XmlScanner::kMaxDepth);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t cut = input.find('\x01', start);
        pieces.push_back(input.substr(start, cut == std::string_view::npos ? std::string_view::npos : cut - start));
        if (cut == std::string_view::npos || pieces.size() == 9)
            break;
        start = cut + 1;
    }

    const std::string folder = "/b/";
    MemoryFileSource files;
    files.add(folder + "ncc.html", std::string(pieces[0]));
    for (std::size_t i = 1; i < pieces.size(); ++i)
        files.add(folder + std::to_string(i) + ".smil", std::string(pieces[i]));

    BookTables tables;
    NccReader reader(tables, folder, NccReader::Texts{200, "of"}, files);
    CheckedProgress progress;
    check(reader.read(progress) == NccReader::kRead);
    checkTables(tables, reader.info());

    std::ostringstream dump;
    writeBookDump(dump, tables, reader.info(), reader.codePage(), reader.features());
    check(dump.str().rfind("[book]\n", 0) == 0);

    const auto head = readHead(folder, files);
    check(head.has_value());

    readDaisy3(pieces);

    // The small units on the same bytes.
    const std::string lower = lowerCase(input);
    check(lower.size() == input.size());
    const double seconds = parseTime(pieces[0].substr(0, 64));
    check(seconds >= 0 && seconds == seconds);
    check(!formatTime(seconds).empty());
    if (const auto clock = parseClockValue(pieces[0].substr(0, 64))) {
        check(*clock >= 0 && *clock <= kMaxMicroseconds);
        check(parseClockValue(secondsText(*clock)) == *clock);
    }
    // A reference never leaves the book folder.
    if (const auto reference = resolveReference("smil/a.smil", pieces[0].substr(0, 256))) {
        const std::string& file = reference->file;
        check(!file.empty() && file.front() != '/' && file.find('\0') == std::string::npos);
        for (std::size_t start = 0; start <= file.size();) {
            const std::size_t slash = std::min(file.find('/', start), file.size());
            const std::string_view step = std::string_view(file).substr(start, slash - start);
            check(step != ".." && step != "." && !step.empty());
            start = slash + 1;
        }
    }
    const std::string text = xmlText(pieces[0]);
    check(text.size() <= pieces[0].size());
    return 0;
}
