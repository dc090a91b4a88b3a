// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/smilreader.h"

#include "book/linecuts.h"
#include "book/linereader.h"
#include "book/textcase.h"
#include "book/textsearch.h"
#include "book/timetext.h"

namespace korvin {

namespace {

constexpr auto npos = std::string_view::npos;

// Times such as 0:03:25 get the second hour digit of 00:03:25; longer values
// (0:01:05.250) stay as they are.
std::string padded(std::string_view value)
{
    std::string text;
    text.reserve(value.size() + 1);
    if (value.size() < 8)
        text.push_back('0');
    text.append(value);
    return text;
}

// The class texts of a par line, in this order, so that a later one of the
// same line wins.
void takeSkipClass(std::string_view key, ReadingState& s)
{
    if (containsText(key, "sidebar-on")) {
        s.skipClass = "sidebar";
        s.features.sidebars = true;
    }
    if (containsText(key, "prodnote-on")) {
        s.skipClass = "prodnote";
        s.features.prodnotes = true;
    }
    if (containsText(key, "footnote-on")) {
        s.skipClass = "footnote";
        s.features.footnotes = true;
    }
    if (containsText(key, "pagenumber-on")) {
        s.skipClass = "pagenumber";
        s.features.pageNumbers = true;
    }
}

// The file name of a text tag's link: from `src` (where "src=" stands) on,
// after those five characters, every character up to the first "#" or the
// end of the line. `hash` is the first "#" from the tag on, which is mostly
// the one that ends the name.
std::string_view linkName(std::string_view line, std::size_t src, std::size_t hash)
{
    if (src == npos || src + 5 >= line.size())
        return {};
    const std::size_t start = src + 5;
    const std::size_t end = hash == npos || hash >= start ? hash : line.find('#', start);
    return line.substr(start, end == npos ? npos : end - start);
}

}  // namespace

// Which tags the reading looks for stand in a key line: the position of the
// first par, text and audio tag, and whether the others are there. One pass
// over the line's "<" finds them all; it gives the answers a search for each
// tag on its own would give.
//
// The "<" are found in the whole file: `nextTag` is the next "<" at or after
// the line, and is left at the first one after it. The search that ends a
// line's "<" so finds the next line's first one. Tag names are compared
// without their case.
struct SmilReader::Tags {
    enum : unsigned { kHead = 1, kHeadEnd = 2, kBody = 4, kBodyEnd = 8, kParEnd = 16 };
    unsigned seen = 0;
    std::size_t par = npos;
    std::size_t text = npos;
    std::size_t audio = npos;

    Tags(std::string_view bytes, std::size_t start, std::string_view line, std::size_t& nextTag)
    {
        const std::size_t end = start + line.size();
        while (nextTag < end) {
            const std::size_t at = nextTag - start;
            nextTag = bytes.find('<', nextTag + 1);
            if (at + 1 >= line.size())
                break;
            switch (asciiLower(line[at + 1])) {
            case 'h':
                if (hasTextAtIgnoringCase(line, at + 1, "head>"))
                    seen |= kHead;
                break;
            case 'b':
                if (hasTextAtIgnoringCase(line, at + 1, "body>"))
                    seen |= kBody;
                break;
            case 'p':
                if (par == npos && hasTextAtIgnoringCase(line, at + 1, "par"))
                    par = at;
                break;
            case 't':
                if (text == npos && hasTextAtIgnoringCase(line, at + 1, "text"))
                    text = at;
                break;
            case 'a':
                if (audio == npos && hasTextAtIgnoringCase(line, at + 1, "audio"))
                    audio = at;
                break;
            case '/':
                if (hasTextAtIgnoringCase(line, at + 1, "/head>"))
                    seen |= kHeadEnd;
                else if (hasTextAtIgnoringCase(line, at + 1, "/body>"))
                    seen |= kBodyEnd;
                else if (hasTextAtIgnoringCase(line, at + 1, "/par>"))
                    seen |= kParEnd;
                break;
            default: break;
            }
        }
    }
};

SmilReader::SmilReader(BookTables& tables, ReadingState& state, const std::string& bookFolder)
    : m_tables(tables)
    , m_state(state)
    , m_folder(bookFolder)
{
}

bool SmilReader::read(const FileSource& files, std::string_view name)
{
    if (!files.read(m_folder, name, m_bytes))
        return false;
    m_state.elapsedText.clear();
    // The tags are told without lower-casing the file; the few lines that
    // need their lower case for more (the head's, a par's with a class) get
    // it on their own.
    const std::string_view bytes = m_bytes;
    std::size_t nextTag = bytes.find('<');
    LineReader lines(bytes);
    while (const auto line = lines.next()) {
        if (line->empty())
            continue;
        const auto start = static_cast<std::size_t>(line->data() - bytes.data());
        readLine(*line, Tags(bytes, start, *line, nextTag));
    }
    finishFile();
    return true;
}

inline void SmilReader::readLine(std::string_view line, const Tags& tags)
{
    if (tags.seen & Tags::kHead)
        m_state.inSmilHead = true;
    if (tags.seen & Tags::kHeadEnd)
        m_state.inSmilHead = false;
    if (tags.seen & Tags::kBody)
        m_state.inSmilBody = true;
    if (tags.seen & Tags::kBodyEnd)
        m_state.inSmilBody = false;

    if (m_state.inSmilHead)
        readHeadLine(line);
    if (m_state.inSmilBody) {
        if (tags.seen & Tags::kParEnd)
            m_state.skipClass.clear();
        if (tags.par != npos)
            readParLine(line, tags.par);
        if (tags.text != npos)
            readTextLine(line, tags.text);
        if (tags.audio != npos)
            readAudioLine(line, tags.audio);
    }
}

void SmilReader::readHeadLine(std::string_view line)
{
    lowerCaseInto(line, m_key);
    const std::string_view key = m_key;
    // Each of the four names holds "time"; most head lines hold none.
    if (!containsText(key, "time"))
        return;
    if (const std::size_t at = findText(key, "timeinthissmil"); at != npos)
        m_state.timeText = padded(metaValue(line, at));
    if (const std::size_t at = findText(key, "time-in-this-smil"); at != npos)
        m_state.timeText = padded(metaValue(line, at));
    if (const std::size_t at = findText(key, "totalelapsedtime"); at != npos)
        m_state.elapsedText = padded(metaValue(line, at));
    if (const std::size_t at = findText(key, "total-elapsed-time"); at != npos)
        m_state.elapsedText = padded(metaValue(line, at));
}

void SmilReader::readParLine(std::string_view line, std::size_t at)
{
    ReadingState& s = m_state;
    ++s.phraseCounter;
    s.firstClipPending = true;
    s.parId = cutAfter(line, at, "id=", 4, '"');
    // Most pars have no class text, which one search for their common end shows.
    if (findTextIgnoringCase(line, "-on") != npos) {
        lowerCaseInto(line, m_key);
        takeSkipClass(m_key, s);
    }
    const auto row = newPhraseRow();
    putText(row[col::phrase::kParId], s.parId.view());
    putText(row[col::phrase::kSkip], s.skipClass);
}

std::span<std::string> SmilReader::newPhraseRow()
{
    BookTable& phrases = m_tables.phrases;
    // The rows are made in order, so the row is normally appended.
    if (m_state.phraseCounter == phrases.rowCount())
        return phrases.appendRow(m_state.headingIndexText);
    return phrases.rowCells(phrases.insertRow(m_state.phraseCounter, m_state.headingIndexText));
}

void SmilReader::readTextLine(std::string_view line, std::size_t at)
{
    ReadingState& s = m_state;
    const std::size_t src = findText(line, "src=", at);
    const std::size_t hash = line.find('#', at);
    const std::string_view name = linkName(line, src, hash);
    if (!s.features.textDocuments && !containsText(name, "ncc.html") && !containsText(name, "NCC.HTML"))
        s.features.textDocuments = true;
    // The pars of a file mostly point into one document.
    if (s.document.size() != m_folder.size() + name.size() ||
        std::string_view(s.document).substr(m_folder.size()) != name)
        s.document.assign(m_folder).append(name);
    s.fragment = hash == npos ? std::string_view() : valueUpTo(line, hash + 1, '"');
    s.textId = cutAfter(line, at, "id=", 4, '"');
    // Before the reading's first par there is no row to write to.
    const auto row = m_tables.phrases.rowCells(s.phraseCounter);
    if (row.empty())
        return;
    putText(row[col::phrase::kDokument], s.document);
    putText(row[col::phrase::kDokFragment], s.fragment.view());
    putText(row[col::phrase::kTextId], s.textId.view());
}

void SmilReader::readAudioLine(std::string_view line, std::size_t at)
{
    ReadingState& s = m_state;
    s.audio = cutAfter(line, at, "src=", 5, '"');
    s.features.audio = true;
    // "clip-begin=\"npt=" is 16 characters, "clip-end=\"npt=" 14; the value
    // ends at the "s" of the seconds.
    s.clipBegin = cutAfter(line, at, "clip-begin", 16, 's');
    s.clipEnd = cutAfter(line, at, "clip-end", 14, 's');

    BookTable& phrases = m_tables.phrases;
    if (s.firstClipPending) {
        s.firstClipPending = false;
        const auto row = phrases.rowCells(s.phraseCounter);
        if (row.empty())
            return;
        putText(row[col::phrase::kAudio], s.audio.view());
        putText(row[col::phrase::kPhrBeg], s.clipBegin.view());
        putText(row[col::phrase::kPhrEnd], s.clipEnd.view());
        return;
    }
    // A clip before the reading's first par has no par to belong to.
    if (s.phraseCounter < 0)
        return;
    // A further clip of the same par: a row of its own with the par's values.
    ++s.phraseCounter;
    const auto row = newPhraseRow();
    putText(row[col::phrase::kParId], s.parId.view());
    putText(row[col::phrase::kDokument], s.document);
    putText(row[col::phrase::kDokFragment], s.fragment.view());
    putText(row[col::phrase::kTextId], s.textId.view());
    putText(row[col::phrase::kAudio], s.audio.view());
    putText(row[col::phrase::kPhrBeg], s.clipBegin.view());
    putText(row[col::phrase::kPhrEnd], s.clipEnd.view());
    putText(row[col::phrase::kSkip], s.skipClass);
}

void SmilReader::finishFile()
{
    ReadingState& s = m_state;
    // The next file is read into the same buffer.
    for (CutValue* value : {&s.parId, &s.fragment, &s.textId, &s.audio, &s.clipBegin, &s.clipEnd})
        value->keep();
    if (s.elapsedText.empty()) {
        if (s.headingCounter == 0) {
            s.elapsedText = "00:00:00";
        } else {
            // A previous heading without a SMIL file has an empty time, which
            // reads as 0 seconds.
            s.elapsedSum += parseTime(m_tables.headings.text(s.headingCounter - 1, col::heading::kZeit));
            s.elapsedText = formatTime(s.elapsedSum);
        }
    }
    m_tables.headings.setText(s.headingCounter, col::heading::kZeit, s.timeText);
    m_tables.headings.setText(s.headingCounter, col::heading::kZeitVerg, s.elapsedText);
}

}  // namespace korvin
