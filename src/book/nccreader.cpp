// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/nccreader.h"

#include <charconv>
#include <cstdio>

#include "book/codepages.h"
#include "book/diskfilesource.h"
#include "book/filereadahead.h"
#include "book/linecuts.h"
#include "book/nccheadings.h"
#include "book/textcase.h"
#include "book/textnumbers.h"
#include "book/textsearch.h"

namespace korvin {

namespace {

constexpr auto npos = std::string_view::npos;
constexpr std::string_view kNccName = "ncc.html";
constexpr std::string_view kNoDate = "00-00-0000";

// The meta tests of the head, each on its own so that a line can set several
// values and a later line replaces an earlier value. Returns whether the line
// held "ncc:tocitems".
bool readBookInfo(std::string_view line, std::string_view key, BookInfo& info)
{
    if (const std::size_t at = findText(key, "dc:date"); at != npos)
        info.date = metaValue(line, at);
    if (const std::size_t at = findText(key, "dc:title"); at != npos)
        info.title = metaValue(line, at);
    if (const std::size_t at = findText(key, "dc:identifier"); at != npos)
        info.identifier = metaValue(line, at);
    if (const std::size_t at = findText(key, "ncc:identifier"); at != npos)
        info.identifier = metaValue(line, at);
    if (const std::size_t at = findText(key, "ncc:setinfo"); at != npos)
        info.setInfo = metaValue(line, at);
    bool tocItems = false;
    if (const std::size_t at = findText(key, "ncc:tocitems"); at != npos) {
        info.tocItems = metaValue(line, at);
        tocItems = true;
    }
    if (const std::size_t at = findText(key, "ncc:totaltime"); at != npos)
        info.totalTime = metaValue(line, at);
    return tocItems;
}

}  // namespace

NccReader::NccReader(BookTables& tables, std::string bookFolder)
    : NccReader(tables, std::move(bookFolder), Texts())
{
}

NccReader::NccReader(BookTables& tables, std::string bookFolder, Texts texts)
    : m_tables(tables)
    , m_folder(std::move(bookFolder))
    , m_texts(std::move(texts))
    , m_ownFiles(std::make_unique<DiskFileSource>())
    , m_files(*m_ownFiles)
    , m_smil(m_tables, m_state, m_folder)
{
}

NccReader::NccReader(BookTables& tables, std::string bookFolder, Texts texts, const FileSource& files)
    : m_tables(tables)
    , m_folder(std::move(bookFolder))
    , m_texts(std::move(texts))
    , m_files(files)
    , m_smil(m_tables, m_state, m_folder)
{
}

NccReader::~NccReader() = default;

NccReader::Result NccReader::read(ReadProgress& progress)
{
    m_info = {};
    m_credits = {};
    m_creators.clear();
    m_codePage = 0;
    m_state = {};
    m_decoder.reset();
    takeTocItems();
    emptyReadingTables(m_tables);

    if (!m_files.read(m_folder, kNccName, m_bytes))
        return kFailed;
    // Every line's key at once (see SmilReader::read).
    lowerCaseInto(m_bytes, m_keys);
    const std::string_view keys = m_keys;
    {
        // The SMIL files are read ahead, in the order of the headings that
        // name them, while the NCC and the file before are read; the thread
        // has stopped when the block ends, however it ends.
        const FileReadAhead smilFiles(m_files, m_folder, std::make_unique<NccSmilNames>(m_bytes, keys));
        LineReader lines(m_bytes);
        while (const auto line = lines.next()) {
            if (!line->empty()) {
                const auto at = static_cast<std::size_t>(line->data() - m_bytes.data());
                readLine(*line, keys.substr(at, line->size()), lines, smilFiles, progress);
            }
        }
    }
    if (m_info.date.empty())
        m_info.date = kNoDate;
    // The charset may be named after the title and the creators.
    m_credits.title = decodeText(m_info.title);
    for (const std::string_view creator : m_creators)
        m_credits.creators.push_back(decodeText(creator));
    m_creators.clear();
    return kRead;
}

void NccReader::readLine(std::string_view line, std::string_view key, LineReader& lines, const FileSource& smilFiles,
                         ReadProgress& progress)
{
    m_line = line;
    m_key = key;
    const NccLineTags tags(key);
    if (tags.link)
        countLink(progress);

    if (tags.head)
        m_state.inHead = true;
    if (tags.headEnd)
        m_state.inHead = false;
    if (tags.body)
        m_state.inBody = true;
    if (tags.bodyEnd)
        m_state.inBody = false;

    if (m_state.inHead)
        readMeta(progress);
    if (m_state.inBody) {
        if (opensHeading(m_line, tags.heading))
            readHeading(tags.heading, lines, smilFiles);
        // A heading may have joined lines: from here on m_key is the joined key.
        const bool joined = m_key.data() != key.data();
        if (const std::size_t at = findText(m_key, "class=\"page"); at != npos)
            readPage(at);
        if (const std::size_t at = joined ? findText(m_key, "<div") : tags.group; at != npos)
            readGroup(at);
    }
}

void NccReader::countLink(ReadProgress& progress)
{
    ++m_state.linkCounter;
    progress.setPosition(m_state.linkCounter);
    char digits[16];
    const char* end = std::to_chars(digits, digits + sizeof digits, m_state.linkCounter).ptr;
    m_state.statusText.assign(digits, static_cast<std::size_t>(end - digits));
    m_state.statusText += m_linkStatusEnd;
    progress.setStatus(m_state.statusText);
    // A link with a rel attribute leads to another volume; the phrases that
    // follow carry the class that enables the change of volume.
    if (findTextBy<4>(m_key, " rel=\"") != npos)
        m_state.skipClass = "change";
}

void NccReader::readMeta(ReadProgress& progress)
{
    if (readBookInfo(m_line, m_key, m_info)) {
        const int tocItems = takeTocItems();
        progress.setRange(0, tocItems);
        progress.setPosition(0);
        char text[96];
        std::snprintf(text, sizeof text,
                      m_texts.languageOffset == 0 ? "%i Einträge von %i gelesen..." : "%i entries of %i read...",
                      m_state.linkCounter, tocItems);
        m_state.statusText = text;
        progress.setStatus(m_state.statusText);
    }
    if (containsText(m_key, "ncc:charset"))
        m_codePage = codePageFromCharsetLine(m_line);
    if (const std::size_t at = findText(m_key, "dc:creator"); at != npos)
        m_creators.push_back(metaValue(m_line, at));
}

int NccReader::takeTocItems()
{
    // The end of every link's status text, made once.
    const int tocItems = toInteger(m_info.tocItems);
    m_linkStatusEnd = ' ';
    m_linkStatusEnd += m_texts.of;
    m_linkStatusEnd += ' ';
    m_linkStatusEnd += std::to_string(tocItems);
    return tocItems;
}

void NccReader::readHeading(std::size_t at, LineReader& lines, const FileSource& smilFiles)
{
    ReadingState& s = m_state;
    if (joinHeadingLines(m_line, m_key, lines, m_joined, m_joinedKey)) {
        m_line = m_joined;
        m_key = m_joinedKey;
    }

    int level = m_line[at + 2] - '0';
    // A heading that skips exactly one level is drawn one level higher.
    if (level == s.previousLevel + 2)
        --level;
    s.previousLevel = level;

    const int row = m_tables.headings.insertRow(s.headingCounter, std::string(1, static_cast<char>('0' + level)));
    std::string title = decodeText(headingTitle(m_line, m_key));

    const HeadingTree::Item parent = level == 1 ? HeadingTree::kNone : s.lastItemOfLevel[level - 1];
    const HeadingTree::Item item = m_tables.tree.insertItem(title, parent);
    if (level <= 5)
        s.lastItemOfLevel[level] = item;
    m_tables.tree.setItemData(item, s.headingCounter);
    s.headingIndexText = std::to_string(s.headingCounter);

    const std::string_view smilName = linkFileName(m_line, at);
    m_tables.headings.setText(row, col::heading::kTitel, std::move(title));
    m_tables.headings.setText(row, col::heading::kTreeId, s.headingIndexText);
    if (const auto cells = m_tables.headings.rowCells(row); !cells.empty())
        putText(cells[col::heading::kSmil], smilName);

    m_smil.read(smilFiles, smilName);
    ++s.headingCounter;
}

void NccReader::readPage(std::size_t at)
{
    ReadingState& s = m_state;
    s.features.pages = true;
    BookTable& pages = m_tables.pages;
    // The label stays as written: page labels are compared with what the
    // listener types, byte for byte.
    // The cells take the texts in place: a cell keeps its storage from the
    // last book.
    const auto row = pages.rowCells(pages.insertRow(s.pageCounter, std::string(linkLabel(m_line, at))));
    putText(row[col::page::kSmil], linkFileName(m_line, at));
    putText(row[col::page::kFragment], linkFragment(m_line, at));
    putText(row[col::page::kTitelId], s.headingIndexText);
    ++s.pageCounter;
}

void NccReader::readGroup(std::size_t at)
{
    ReadingState& s = m_state;
    s.features.groups = true;
    BookTable& groups = m_tables.groups;
    const auto row = groups.rowCells(groups.insertRow(s.groupCounter, decodeText(linkLabel(m_line, at))));
    putText(row[col::group::kSmil], linkFileName(m_line, at));
    putText(row[col::group::kFragment], linkFragment(m_line, at));
    putText(row[col::group::kTitelId], s.headingIndexText);
    ++s.groupCounter;
}

std::string NccReader::decodeText(std::string_view bytes)
{
    if (!m_decoder || m_decoder->codePage() != m_codePage)
        m_decoder.emplace(m_codePage);
    return m_decoder->decode(bytes);
}

std::optional<BookInfo> readHead(const std::string& bookFolder)
{
    return readHead(bookFolder, DiskFileSource());
}

std::optional<BookInfo> readHead(const std::string& bookFolder, const FileSource& files)
{
    std::string bytes;
    if (!files.read(bookFolder, kNccName, bytes))
        return std::nullopt;
    BookInfo info;
    std::string key;
    bool inHead = false;
    LineReader lines(bytes);
    while (const auto line = lines.next()) {
        if (line->empty())
            continue;
        lowerCaseInto(*line, key);
        if (containsText(key, "</head>"))
            break;
        if (containsText(key, "<head>"))
            inHead = true;
        if (inHead)
            readBookInfo(*line, key, info);
    }
    // The same default as the full reading, so that the two agree on a book
    // without a date when volumes are compared.
    if (info.date.empty())
        info.date = kNoDate;
    return info;
}

}  // namespace korvin
