#include "book/smilreader.h"

#include "book/linecuts.h"
#include "book/linereader.h"
#include "book/textcase.h"
#include "book/timetext.h"

namespace korvin {

namespace {

constexpr auto npos = std::string_view::npos;

// Times such as 0:03:25 get the second hour digit of 00:03:25; longer values
// (0:01:05.250) stay as they are.
std::string padded(std::string_view value)
{
    std::string text;
    if (value.size() < 8)
        text = "0";
    text += value;
    return text;
}

bool contains(std::string_view text, std::string_view part)
{
    return text.find(part) != npos;
}

}  // namespace

SmilReader::SmilReader(BookTables& tables, ReadingState& state, const std::string& bookFolder, const FileSource& files)
    : m_tables(tables)
    , m_state(state)
    , m_folder(bookFolder)
    , m_files(files)
{
}

bool SmilReader::read(std::string_view name)
{
    const auto bytes = m_files.read(m_folder, name);
    if (!bytes)
        return false;
    m_state.elapsedText.clear();
    LineReader lines(*bytes);
    while (const auto line = lines.next()) {
        if (!line->empty())
            readLine(*line);
    }
    finishFile();
    return true;
}

void SmilReader::readLine(std::string_view line)
{
    lowerCaseInto(line, m_key);
    const std::string_view key = m_key;
    if (contains(key, "<head>"))
        m_state.inSmilHead = true;
    if (contains(key, "</head>"))
        m_state.inSmilHead = false;
    if (contains(key, "<body>"))
        m_state.inSmilBody = true;
    if (contains(key, "</body>"))
        m_state.inSmilBody = false;

    if (m_state.inSmilHead)
        readHeadLine(line);
    if (m_state.inSmilBody) {
        if (contains(key, "</par>"))
            m_state.skipClass.clear();
        if (const std::size_t at = key.find("<par"); at != npos)
            readParLine(line, at);
        if (const std::size_t at = key.find("<text"); at != npos)
            readTextLine(line, at);
        if (const std::size_t at = key.find("<audio"); at != npos)
            readAudioLine(line, at);
    }
}

void SmilReader::readHeadLine(std::string_view line)
{
    const std::string_view key = m_key;
    if (const std::size_t at = key.find("timeinthissmil"); at != npos)
        m_state.timeText = padded(metaValue(line, at));
    if (const std::size_t at = key.find("time-in-this-smil"); at != npos)
        m_state.timeText = padded(metaValue(line, at));
    if (const std::size_t at = key.find("totalelapsedtime"); at != npos)
        m_state.elapsedText = padded(metaValue(line, at));
    if (const std::size_t at = key.find("total-elapsed-time"); at != npos)
        m_state.elapsedText = padded(metaValue(line, at));
}

void SmilReader::readParLine(std::string_view line, std::size_t at)
{
    ReadingState& s = m_state;
    const std::string_view key = m_key;
    ++s.phraseCounter;
    s.firstClipPending = true;
    s.parId = cutAfter(line, at, "id=", 4, '"');
    // In this order, so that a later class text of the same line wins.
    if (contains(key, "sidebar-on")) {
        s.skipClass = "sidebar";
        s.features.sidebars = true;
    }
    if (contains(key, "prodnote-on")) {
        s.skipClass = "prodnote";
        s.features.prodnotes = true;
    }
    if (contains(key, "footnote-on")) {
        s.skipClass = "footnote";
        s.features.footnotes = true;
    }
    if (contains(key, "pagenumber-on")) {
        s.skipClass = "pagenumber";
        s.features.pageNumbers = true;
    }
    BookTable& phrases = m_tables.phrases;
    const int row = phrases.insertRow(s.phraseCounter, s.headingIndexText);
    phrases.setText(row, col::kParId, s.parId);
    phrases.setText(row, col::kSkip, s.skipClass);
}

void SmilReader::readTextLine(std::string_view line, std::size_t at)
{
    ReadingState& s = m_state;
    const std::string_view name = cutAfter(line, at, "src=", 5, '#');
    if (!s.features.textDocuments && !contains(name, "ncc.html") && !contains(name, "NCC.HTML"))
        s.features.textDocuments = true;
    s.document.assign(m_folder).append(name);
    s.fragment = linkFragment(line, at);
    s.textId = cutAfter(line, at, "id=", 4, '"');
    BookTable& phrases = m_tables.phrases;
    phrases.setText(s.phraseCounter, col::kDokument, s.document);
    phrases.setText(s.phraseCounter, col::kDokFragment, s.fragment);
    phrases.setText(s.phraseCounter, col::kTextId, s.textId);
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
        phrases.setText(s.phraseCounter, col::kAudio, s.audio);
        phrases.setText(s.phraseCounter, col::kPhrBeg, s.clipBegin);
        phrases.setText(s.phraseCounter, col::kPhrEnd, s.clipEnd);
        s.firstClipPending = false;
        return;
    }
    // A clip before the reading's first par has no par to belong to.
    if (s.phraseCounter < 0)
        return;
    // A further clip of the same par: a row of its own with the par's values.
    ++s.phraseCounter;
    const int row = phrases.insertRow(s.phraseCounter, s.headingIndexText);
    phrases.setText(row, col::kParId, s.parId);
    phrases.setText(row, col::kDokument, s.document);
    phrases.setText(row, col::kDokFragment, s.fragment);
    phrases.setText(row, col::kTextId, s.textId);
    phrases.setText(row, col::kAudio, s.audio);
    phrases.setText(row, col::kPhrBeg, s.clipBegin);
    phrases.setText(row, col::kPhrEnd, s.clipEnd);
    phrases.setText(row, col::kSkip, s.skipClass);
}

void SmilReader::finishFile()
{
    ReadingState& s = m_state;
    if (s.elapsedText.empty()) {
        if (s.headingCounter == 0) {
            s.elapsedText = "00:00:00";
        } else {
            // A previous heading without a SMIL file has an empty time, which
            // reads as 0 seconds.
            s.elapsedSum += parseTime(m_tables.headings.text(s.headingCounter - 1, col::kZeit));
            s.elapsedText = formatTime(s.elapsedSum);
        }
    }
    m_tables.headings.setText(s.headingCounter, col::kZeit, s.timeText);
    m_tables.headings.setText(s.headingCounter, col::kZeitVerg, s.elapsedText);
}

}  // namespace korvin
