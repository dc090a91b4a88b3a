// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as one of the program's own state files, read by the reader
// the program uses for it. The first byte chooses the file (its value modulo 4:
// Settings.dl, which are read as Optionen.dl as well, Letztes.dl, AResume.dl,
// MResume.dl) and, with bit 4 set, has
// every line scrambled first, so that the fuzzer can write plain text that
// reads back as such. Saving the resume position and the bookmarks is checked
// against what the records read before say must come out.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "library/bookmarkfile.h"
#include "library/options.h"
#include "library/recordfile.h"
#include "library/resumefile.h"
#include "library/scrambler.h"
#include "library/settings.h"
#include "library/statefile.h"

namespace {

using namespace korvin;

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// A folder of its own for the files, on a memory file system when there is one.
const std::string& folder()
{
    static const std::string path = [] {
        std::string pattern = access("/dev/shm", W_OK) == 0 ? "/dev/shm/korvin-fuzz-XXXXXX" : "/tmp/korvin-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        return pattern + "/";
    }();
    return path;
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string scrambleLines(std::string_view bytes, const Scrambler& scrambler)
{
    std::string out;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        const bool cr = !line.empty() && line.back() == '\r';
        if (cr)
            line.remove_suffix(1);
        out += scrambler.scramble(line);
        if (cr)
            out += '\r';
        if (end == std::string_view::npos)
            break;
        out += '\n';
        bytes.remove_prefix(end + 1);
    }
    return out;
}

std::vector<std::string> fields(const RecordFile& file, std::size_t record, std::size_t count)
{
    std::vector<std::string> out;
    for (std::size_t f = 0; f < count; ++f)
        out.push_back(file.field(record, f));
    return out;
}

// The open book: the first record's own information when there is one (so that
// records of it are met), else a book of no record.
BookInfo openBook(const RecordFile& file, bool fromFile)
{
    if (!fromFile || file.recordCount() == 0)
        return BookInfo{"2001-01-01", "id", "Titel", "3", "0:01:00", ""};
    const auto f = fields(file, 0, 6);
    return BookInfo{f[0], f[1], f[2], f[4], f[5], f[3]};
}

void checkLines(const std::string& path, const Scrambler& scrambler)
{
    const auto lines = readTextLines(path);
    if (!lines)
        return;
    for (const std::string& line : *lines) {
        const std::string plain = scrambler.unscramble(line);
        // Copying records as they stand relies on this.
        check(scrambler.scramble(plain) == line);
        check(scrambler.unscramble(scrambler.scramble(line)) == line);
    }
}

// A CR at the end of a line is taken for part of its line end (one per reading).
std::string withoutTrailingCr(std::string text)
{
    while (!text.empty() && text.back() == '\r')
        text.pop_back();
    return text;
}

void settingsFile(const std::string& path, const Scrambler& scrambler)
{
    const SettingsFile file(path, scrambler);
    const std::optional<Settings> settings = file.read();
    if (!settings)
        return;
    check(settings->volume >= 0 && settings->volume <= 100);
    check(std::isfinite(settings->rate) && settings->rate >= 0.5 && settings->rate <= 3.0);
    // What is read, written and read again stays as it was.
    check(file.write(*settings));
    std::optional<Settings> again = file.read();
    check(again.has_value());
    check(std::fabs(again->rate - settings->rate) < 1e-6);
    again->rate = settings->rate;
    Settings expected = *settings;
    expected.style.colour = withoutTrailingCr(expected.style.colour);
    again->style.colour = withoutTrailingCr(again->style.colour);
    check(*again == expected);
}

// Whatever the file holds, the options read from it are written and read back as they were.
void optionsFile(const std::string& path, const std::string& bytes, const Scrambler& scrambler)
{
    writeFile(path, bytes);
    const OptionsFile file(path, scrambler);
    const Options options = file.read();
    check(file.write(options));
    check(file.read() == options);
}

void lastBookFile(const std::string& path, const Scrambler& scrambler)
{
    const auto lines = readTextLines(path);
    if (!lines || lines->empty())
        return;
    const std::string folder = scrambler.unscramble(lines->front());
    check(scrambler.scramble(folder) == lines->front());
}

void resumeFile(const std::string& path, const Scrambler& scrambler, bool bookFromFile)
{
    RecordFile before(path, ResumeFile::kFieldCount, scrambler);
    before.load();
    const BookInfo book = openBook(before, bookFromFile);
    const RecordFile::Key key = before.makeKey(bookRecordKey(book));
    const ResumeFile resume(path, scrambler);

    std::optional<ResumeRecord> first;
    for (std::size_t r = 0; r < before.recordCount() && !first; ++r)
        if (before.startsWith(r, key))
            first = ResumeRecord{before.field(r, 6), before.field(r, 7), before.field(r, 8)};
    check(resume.find(book) == first);

    const ResumeRecord place{"7", "12.250", "3"};
    check(resume.save(book, place));
    std::vector<std::vector<std::string>> expected;
    RecordFile::Fields own;
    for (const std::string& field : bookRecordKey(book))
        own.push_back(RecordFile::asOneLine(field));
    own.insert(own.end(), {place.heading, place.position, place.row});
    bool written = false;
    for (std::size_t r = 0; r < before.recordCount(); ++r) {
        if (before.startsWith(r, key)) {
            expected.push_back(own);
            written = true;
        } else if (!before.firstFieldEmpty(r)) {
            expected.push_back(fields(before, r, ResumeFile::kFieldCount));
        } else if (!written) {
            expected.push_back(own);
            written = true;
        }
    }
    if (!written)
        expected.push_back(own);

    RecordFile after(path, ResumeFile::kFieldCount, scrambler);
    check(after.load() == FileBytes::Status::kRead);
    check(after.recordCount() == expected.size());
    for (std::size_t r = 0; r < expected.size(); ++r)
        check(fields(after, r, ResumeFile::kFieldCount) == expected[r]);
    check(resume.find(book) == place);
}

void bookmarkFile(const std::string& path, const Scrambler& scrambler, bool bookFromFile)
{
    RecordFile before(path, BookmarkFile::kFieldCount, scrambler);
    before.load();
    const BookInfo book = openBook(before, bookFromFile);
    const RecordFile::Key key = before.makeKey(bookRecordKey(book));
    const BookmarkFile bookmarks(path, scrambler);

    std::vector<BookmarkRecord> own;
    std::vector<std::vector<std::string>> others;
    for (std::size_t r = 0; r < before.recordCount(); ++r) {
        if (before.startsWith(r, key))
            own.push_back({before.field(r, 6), before.field(r, 7), before.field(r, 8), before.field(r, 9)});
        else
            others.push_back(fields(before, r, BookmarkFile::kFieldCount));
    }
    std::vector<BookmarkRecord> loaded = bookmarks.load(book);
    check(loaded == own);

    // The listener deletes the first and sets one more.
    if (!loaded.empty())
        loaded.erase(loaded.begin());
    loaded.push_back({"Neu", "", "0", "0"});
    check(bookmarks.save(book, loaded));

    RecordFile after(path, BookmarkFile::kFieldCount, scrambler);
    check(after.load() == FileBytes::Status::kRead);
    check(after.recordCount() == loaded.size() + others.size());
    for (std::size_t r = 0; r < others.size(); ++r)
        check(fields(after, loaded.size() + r, BookmarkFile::kFieldCount) == others[r]);
    for (BookmarkRecord& mark : loaded)
        for (std::string* field : {&mark.titel, &mark.zeit, &mark.titelId, &mark.eventId})
            *field = RecordFile::asOneLine(*field);
    check(bookmarks.load(book) == loaded);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const Scrambler scrambler;
    const unsigned selector = data[0];
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string bytes = (selector & 4) != 0 ? scrambleLines(input, scrambler) : std::string(input);
    const bool bookFromFile = (selector & 8) == 0;

    static const char* const kNames[] = {"Settings.dl", "Letztes.dl", "AResume.dl", "MResume.dl"};
    const std::string path = folder() + kNames[selector % 4];
    writeFile(path, bytes);
    checkLines(path, scrambler);
    switch (selector % 4) {
    case 0:
        settingsFile(path, scrambler);
        optionsFile(folder() + "Optionen.dl", bytes, scrambler);
        break;
    case 1:
        lastBookFile(path, scrambler);
        break;
    case 2:
        resumeFile(path, scrambler, bookFromFile);
        break;
    default:
        bookmarkFile(path, scrambler, bookFromFile);
        break;
    }
    return 0;
}
