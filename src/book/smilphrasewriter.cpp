// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/smilphrasewriter.h"

#include <algorithm>

#include "book/bookreference.h"
#include "book/clockvalue.h"

namespace korvin {

namespace {

// One of 64 bits for an id, from its length and its last character.
std::uint64_t shapeBit(std::string_view id)
{
    if (id.empty())
        return 1;
    return std::uint64_t{1} << ((id.size() * 7 + static_cast<unsigned char>(id.back())) % 64);
}

}  // namespace

SmilPhraseWriter::SmilPhraseWriter(BookTable& phrases, std::string bookFolder, const NavigationFile& navigation,
                                   FeatureFlags& features)
    : m_phrases(phrases)
    , m_folder(std::move(bookFolder))
    , m_features(features)
    , m_spans(navigation.headings.size() + 1)
    , m_pageRows(navigation.pages.size(), -1)
    , m_groupRows(navigation.groups.size(), -1)
{
    for (std::size_t i = 0; i < navigation.headings.size(); ++i)
        addTarget(navigation.headings[i].target, {Target::kHeading, i});
    for (std::size_t i = 0; i < navigation.pages.size(); ++i)
        addTarget(navigation.pages[i].target, {Target::kPage, i});
    for (std::size_t i = 0; i < navigation.groups.size(); ++i)
        addTarget(navigation.groups[i].target, {Target::kGroup, i});
    for (auto& [file, targets] : m_targets) {
        std::stable_sort(targets.byId.begin(), targets.byId.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& entry : targets.byId)
            targets.shapes |= shapeBit(entry.first);
    }
}

void SmilPhraseWriter::addTarget(const NavigationTarget& target, Target what)
{
    if (!target)
        return;
    FileTargets& targets = m_targets[target->file];
    if (target->fragment.empty())
        targets.wholeFile.push_back(what);
    else
        targets.byId.emplace_back(target->fragment, what);
}

void SmilPhraseWriter::beginFile(std::string_view smilFile)
{
    m_smilFile = smilFile;
    m_textCached = false;
    m_audioCached = false;
    m_lastEndWritten = {};
    const auto found = m_targets.find(m_smilFile);
    m_fileTargets = found == m_targets.end() ? nullptr : &found->second;
    if (m_fileTargets)
        m_pending.insert(m_pending.end(), m_fileTargets->wholeFile.begin(), m_fileTargets->wholeFile.end());
}

void SmilPhraseWriter::anchor(std::string_view id)
{
    if (!m_fileTargets || m_fileTargets->byId.empty())
        return;
    // Most ids of a file are no target: most are told apart by their length
    // and last letter, without a search.
    const std::uint64_t key = shapeBit(id);
    if ((m_fileTargets->shapes & key) == 0)
        return;
    const auto& byId = m_fileTargets->byId;
    auto at = std::lower_bound(byId.begin(), byId.end(), id,
                               [](const auto& entry, std::string_view wanted) { return entry.first < wanted; });
    for (; at != byId.end() && at->first == id; ++at)
        m_pending.push_back(at->second);
}

// What the navigation points to at the phrase that begins at `firstRow`.
void SmilPhraseWriter::beginTargets(int firstRow)
{
    // Headings are numbered from 1 here: slot 0 is the title heading's.
    const int playing = m_started ? m_currentSpan : 0;
    int next = 0;
    for (const Target& target : m_pending) {
        if (target.kind == Target::kPage) {
            if (m_pageRows[target.index] < 0)
                m_pageRows[target.index] = firstRow;
        } else if (target.kind == Target::kGroup) {
            if (m_groupRows[target.index] < 0)
                m_groupRows[target.index] = firstRow;
        } else {
            const int span = static_cast<int>(target.index) + 1;
            if (span <= playing || m_spans[static_cast<std::size_t>(span)].firstRow >= 0)
                continue;
            // Begun, though another heading of the same phrase may get its phrases.
            HeadingSpan& begun = m_spans[static_cast<std::size_t>(span)];
            begun.firstRow = firstRow;
            begun.before = m_total;
            begun.smilFile = m_smilFile;
            if (next == 0 || span < next)
                next = span;
        }
    }
    m_pending.clear();
    if (!m_started) {
        m_started = true;
        m_titleHeading = next == 0;
        if (m_titleHeading) {
            m_spans[0].firstRow = firstRow;
            m_spans[0].smilFile = m_smilFile;
            m_treeId.assign(1, '0');
        }
    }
    if (next != 0) {
        m_currentSpan = next;
        m_treeId = std::to_string(m_titleHeading ? next : next - 1);
    }
}

void SmilPhraseWriter::takeText(std::string_view src)
{
    const std::size_t hash = src.find('#');
    const std::string_view file = src.substr(0, hash);
    m_fragment = hash == std::string_view::npos ? std::string_view() : src.substr(hash + 1);
    if (m_textCached && file == m_textFile)
        return;
    m_textCached = true;
    m_textFile.assign(file);
    m_document.clear();
    if (const auto reference = resolveReference(m_smilFile, m_textFile)) {
        m_document = m_folder + reference->file;
        if (!file.empty())
            m_features.textDocuments = true;
    }
}

void SmilPhraseWriter::takeAudio(std::string_view src)
{
    if (m_audioCached && src == m_audioSrc)
        return;
    m_audioCached = true;
    m_audioSrc = src;
    m_audio.clear();
    if (src.empty())
        return;
    // A clip's src has no place in its file: a "#" is part of the name.
    if (src.find('#') == std::string_view::npos) {
        if (const auto reference = resolveReference(m_smilFile, src))
            m_audio = reference->file;
    }
}

void SmilPhraseWriter::writeRow(const SmilPhrase& phrase, const SmilPhrase::Clip* clip, std::string_view skipClass)
{
    using namespace col::phrase;
    // The cells of the appended row are written in place: a text goes
    // straight from the file into the storage a cell kept from the last book.
    const std::span<std::string> cells = m_phrases.appendRow(m_treeId);
    if (cells.empty())
        return;
    cells[kParId] = phrase.id;
    if (!phrase.textSrc.empty()) {
        cells[kDokument] = m_document;
        cells[kDokFragment] = m_fragment;
        cells[kTextId] = phrase.textId;
    }
    if (clip && !m_audio.empty()) {
        m_features.audio = true;
        cells[kAudio] = m_audio;
        // Most clips begin where the clip before ended, whose text is at hand.
        const std::int64_t begin = clip->begin.value_or(0);
        if (!m_lastEndWritten.empty() && clip->beginText == m_lastEndWritten)
            cells[kPhrBeg] = *m_lastEndCell;
        else
            assignSecondsText(begin, cells[kPhrBeg]);
        if (clip->end) {
            assignSecondsText(*clip->end, cells[kPhrEnd]);
            m_lastEndWritten = clip->endText;
            m_lastEndCell = &cells[kPhrEnd];
            if (*clip->end > begin) {
                m_total += *clip->end - begin;
                m_spans[static_cast<std::size_t>(m_currentSpan)].duration += *clip->end - begin;
            }
        }
    }
    if (!skipClass.empty())
        cells[kSkip] = skipClass;
}

void SmilPhraseWriter::phrase(const SmilPhrase& phrase)
{
    const int firstRow = m_phrases.rowCount();
    if (!m_started || !m_pending.empty())
        beginTargets(firstRow);
    if (!phrase.textSrc.empty())
        takeText(phrase.textSrc);
    markSkippableFeature(phrase.kind, m_features);
    const std::string_view skipClass = skipClassOf(phrase.kind);
    if (phrase.clipCount == 0) {
        writeRow(phrase, nullptr, skipClass);
        return;
    }
    // One row for every clip, the first the par's own: each is played as a
    // phrase of its own.
    for (std::size_t i = 0; i < phrase.clipCount; ++i) {
        const SmilPhrase::Clip& clip = (*phrase.clips)[i];
        takeAudio(clip.src);
        writeRow(phrase, &clip, skipClass);
    }
}

std::vector<SmilPhraseWriter::HeadingSpan> SmilPhraseWriter::headingSpans() const
{
    if (m_titleHeading)
        return m_spans;
    return {m_spans.begin() + 1, m_spans.end()};
}

}  // namespace korvin
