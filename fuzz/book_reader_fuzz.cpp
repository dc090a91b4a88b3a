// Arbitrary bytes as a book. The input is cut at every byte 0x01 into the
// NCC ("ncc.html") and up to eight SMIL files ("1.smil" to "8.smil"), held in
// memory; the reader reads the book, the dump writes it, the head reader reads
// its head. Besides the sanitizers, the tables' invariants are checked.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "book/booktables.h"
#include "book/dumpbook.h"
#include "book/memoryfilesource.h"
#include "book/nccreader.h"
#include "book/textcase.h"
#include "book/textdecoder.h"
#include "book/timetext.h"

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
void checkTables(const BookTables& tables, const NccReader& reader)
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
    check(!reader.info().date.empty());
    for (int item = tables.tree.firstItem(); item != HeadingTree::kNone; item = tables.tree.nextInOrder(item))
        check(tables.tree.depth(item) < 6);
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
    checkTables(tables, reader);

    std::ostringstream dump;
    writeBookDump(dump, tables, reader.info(), reader.codePage(), reader.features());
    check(dump.str().rfind("[book]\n", 0) == 0);

    const auto head = readHead(folder, files);
    check(head.has_value());

    // The small units on the same bytes.
    const std::string lower = lowerCase(input);
    check(lower.size() == input.size());
    const double seconds = parseTime(pieces[0].substr(0, 64));
    check(seconds >= 0 && seconds == seconds);
    check(!formatTime(seconds).empty());
    return 0;
}
