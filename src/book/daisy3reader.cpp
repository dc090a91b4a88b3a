// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/daisy3reader.h"

#include <algorithm>
#include <array>
#include <limits>

#include "book/clockvalue.h"
#include "book/diskfilesource.h"
#include "book/navigationfile.h"
#include "book/packagefile.h"
#include "book/smil2reader.h"
#include "book/smilphrasewriter.h"

namespace korvin {

namespace {

constexpr std::string_view kNoDate = "00-00-0000";

// A total time in any clock form, written as a time text the information
// messages read: "0:34:32.580" gives "00:34:32.580", "2072.58s" the same.
// What is no clock value stays as written.
std::string totalTimeText(const std::string& written, std::int64_t computed)
{
    if (written.empty())
        return clockText(computed);
    const auto value = parseClockValue(written);
    return value ? clockText(*value) : written;
}

class TableWriting {
public:
    TableWriting(BookTables& tables, const PackageFile& package, const NavigationFile& navigation,
                 const SmilPhraseWriter& writer)
        : m_tables(tables)
        , m_package(package)
        , m_navigation(navigation)
        , m_writer(writer)
    {
    }

    void headings()
    {
        const std::vector<SmilPhraseWriter::HeadingSpan> spans = m_writer.headingSpans();
        const std::size_t first = m_writer.hasTitleHeading() ? 1 : 0;
        std::array<HeadingTree::Item, 7> lastItemOfLevel;
        lastItemOfLevel.fill(HeadingTree::kNone);
        for (std::size_t i = 0; i < spans.size(); ++i) {
            const SmilPhraseWriter::HeadingSpan& span = spans[i];
            int level = 1;
            std::string title;
            std::string smil;
            if (i < first) {
                title = m_navigation.docTitle.empty() ? m_package.title : m_navigation.docTitle;
                smil = span.smilFile;
            } else {
                const NavigationHeading& heading = m_navigation.headings[i - first];
                level = heading.level;
                title = heading.title;
                if (heading.target)
                    smil = heading.target->file;
            }
            const int row = m_tables.headings.insertRow(static_cast<int>(i), std::string(1, static_cast<char>('0' + level)));
            const HeadingTree::Item parent = level == 1 ? HeadingTree::kNone : lastItemOfLevel[level - 1];
            const HeadingTree::Item item = m_tables.tree.insertItem(title, parent);
            lastItemOfLevel[level] = item;
            m_tables.tree.setItemData(item, static_cast<long>(i));

            BookTable& headings = m_tables.headings;
            headings.setText(row, col::heading::kTitel, std::move(title));
            headings.setText(row, col::heading::kSmil, std::move(smil));
            if (span.firstRow >= 0) {
                headings.setText(row, col::heading::kZeit, clockText(span.duration));
                headings.setText(row, col::heading::kZeitVerg, clockText(span.before));
            }
            headings.setText(row, col::heading::kTreeId, std::to_string(i));
        }
    }

    void pages()
    {
        for (std::size_t i = 0; i < m_navigation.pages.size(); ++i) {
            const NavigationItem& page = m_navigation.pages[i];
            const Place place = placeOf(page.target, m_writer.pageRow(i), false);
            const int row = m_tables.pages.insertRow(static_cast<int>(i), page.label);
            m_tables.pages.setText(row, col::page::kSmil, place.smil);
            m_tables.pages.setText(row, col::page::kFragment, place.fragment);
            m_tables.pages.setText(row, col::page::kTitelId, place.heading);
        }
    }

    // Several lists (notes, then sidebars) are merged into the order of the
    // book, which the next and previous group commands follow.
    void groups()
    {
        std::vector<std::size_t> order(m_navigation.groups.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        const auto rank = [this](std::size_t group) {
            const int row = m_writer.groupRow(group);
            return row < 0 ? std::numeric_limits<int>::max() : row;
        };
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return rank(a) < rank(b); });
        BookTable& groups = m_tables.groups;
        int next = groups.rowCount();
        for (const std::size_t i : order) {
            const NavigationItem& group = m_navigation.groups[i];
            const Place place = placeOf(group.target, m_writer.groupRow(i), true);
            const int row = groups.insertRow(next++, group.label);
            groups.setText(row, col::group::kSmil, place.smil);
            groups.setText(row, col::group::kFragment, place.fragment);
            groups.setText(row, col::group::kTitelId, place.heading);
        }
    }

private:
    struct Place {
        std::string smil;
        std::string fragment;
        std::string heading;
    };

    // Where a page or group row points. The page and group commands find
    // their phrase among the phrases of the headings whose SMIL file the row
    // names, by its par or text id; so a row that was met names the SMIL file
    // of the heading that holds its phrase, and the phrase's own id (a group
    // its text id, which is what the group command compares). A row whose
    // target was never met keeps what the navigation file wrote.
    Place placeOf(const NavigationTarget& target, int phraseRow, bool byTextId) const
    {
        Place place;
        if (phraseRow < 0) {
            if (target) {
                place.smil = target->file;
                place.fragment = target->fragment;
            }
            return place;
        }
        const BookTable& phrases = m_tables.phrases;
        const int heading = phrases.integer(phraseRow, col::phrase::kTreeId);
        place.smil = m_tables.headings.text(heading, col::heading::kSmil);
        const std::string& parId = phrases.text(phraseRow, col::phrase::kParId);
        const std::string& textId = phrases.text(phraseRow, col::phrase::kTextId);
        if (byTextId)
            place.fragment = textId.empty() ? parId : textId;
        else
            place.fragment = parId.empty() ? textId : parId;
        place.heading = std::to_string(heading);
        return place;
    }

    BookTables& m_tables;
    const PackageFile& m_package;
    const NavigationFile& m_navigation;
    const SmilPhraseWriter& m_writer;
};

}  // namespace

Daisy3Reader::Daisy3Reader(BookTables& tables, std::string bookFolder, std::string packageName, std::string of,
                           const FileSource& files)
    : m_tables(tables)
    , m_folder(std::move(bookFolder))
    , m_packageName(std::move(packageName))
    , m_of(std::move(of))
    , m_files(files)
{
}

Daisy3Reader::Daisy3Reader(BookTables& tables, std::string bookFolder, std::string packageName, std::string of)
    : m_tables(tables)
    , m_folder(std::move(bookFolder))
    , m_packageName(std::move(packageName))
    , m_of(std::move(of))
    , m_ownFiles(std::make_unique<DiskFileSource>())
    , m_files(*m_ownFiles)
{
}

Daisy3Reader::~Daisy3Reader() = default;

Daisy3Reader::Result Daisy3Reader::read(ReadProgress& progress)
{
    m_info = {};
    m_credits = {};
    m_codePage = 65001;
    m_features = {};
    emptyReadingTables(m_tables);

    std::string bytes;
    if (!m_files.read(m_folder, m_packageName, bytes))
        return kFailed;
    const PackageFile package = readPackageFile(bytes, m_packageName);
    NavigationFile navigation;
    if (!package.navigationFile.empty() && m_files.read(m_folder, package.navigationFile, bytes))
        navigation = readNavigationFile(bytes, package.navigationFile);
    m_codePage = navigation.codePage;
    for (const auto& test : navigation.customTests)
        markSkippableFeature(test.second, m_features);
    if (package.textInSpine)
        m_features.textDocuments = true;

    SmilPhraseWriter writer(m_tables.phrases, m_folder, navigation, m_features);
    Smil2Reader smil(navigation.customTests);
    const int files = static_cast<int>(package.smilFiles.size());
    const std::string ofFiles = ' ' + m_of + ' ' + std::to_string(files);
    progress.setRange(0, files);
    progress.setPosition(0);
    for (int i = 0; i < files; ++i) {
        const std::string& file = package.smilFiles[static_cast<std::size_t>(i)];
        if (m_files.read(m_folder, file, bytes)) {
            writer.beginFile(file);
            smil.read(bytes, writer);
        }
        progress.setPosition(i + 1);
        progress.setStatus(std::to_string(i + 1) + ofFiles);
    }

    TableWriting tables(m_tables, package, navigation, writer);
    tables.headings();
    tables.pages();
    tables.groups();
    m_features.pages = m_tables.pages.rowCount() > 0;
    m_features.groups = m_tables.groups.rowCount() > 0;

    m_info.date = package.date.empty() ? std::string(kNoDate) : package.date;
    m_info.identifier = package.identifier.empty() ? navigation.uid : package.identifier;
    m_info.title = package.title.empty() ? navigation.docTitle : package.title;
    m_info.tocItems =
        std::to_string(m_tables.headings.rowCount() + m_tables.pages.rowCount() + m_tables.groups.rowCount());
    m_info.totalTime = totalTimeText(package.totalTime, writer.totalDuration());
    m_credits.title = m_info.title;
    m_credits.creators = package.creators;
    return kRead;
}

}  // namespace korvin
