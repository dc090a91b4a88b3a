// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/smil2reader.h"

#include <algorithm>

#include "book/clockvalue.h"
#include "book/xmlencoding.h"
#include "book/xmltext.h"

namespace korvin {

namespace {

using Token = XmlScanner::Token;

}  // namespace

Smil2Reader::Smil2Reader(std::vector<std::pair<std::string, Skippable>> customTests)
    : m_customTests(std::move(customTests))
{
    // Sorted, so that a book that declares many tests costs a search per mark
    // (the first declaration of an id counts).
    std::stable_sort(m_customTests.begin(), m_customTests.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

namespace {

// A file name as written without the white space around it: mostly there is
// none, which one look at both ends tells.
std::string_view trimmedName(std::string_view src)
{
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    if (src.empty() || (!space(src.front()) && !space(src.back())))
        return src;
    return trimWhiteSpace(src);
}

}  // namespace

// One look at each attribute: a SMIL file has a few of them on every one of
// its many elements. SMIL 2 writes clipBegin; files made after the older SMIL
// write clip-begin.
Smil2Reader::Attributes Smil2Reader::attributesOf(const XmlScanner& scanner)
{
    Attributes found;
    for (const auto& [name, value] : scanner.attributes()) {
        switch (name.size()) {
        case 2:
            if (name == "id")
                found.id = value;
            break;
        case 3:
            if (name == "src")
                found.src = value;
            break;
        case 5:
            if (name == "class")
                found.classes = value;
            break;
        case 7:
            if (name == "clipEnd")
                found.clipEnd = value;
            break;
        case 8:
            if (name == "clip-end")
                found.clipEnd = value;
            break;
        case 9:
            if (name == "clipBegin")
                found.clipBegin = value;
            break;
        case 10:
            if (name == "customTest")
                found.customTest = value;
            else if (name == "clip-begin")
                found.clipBegin = value;
            break;
        default:
            break;
        }
    }
    return found;
}

// The kind an element's own marks name: its custom tests (a list of ids),
// then its classes.
Skippable Smil2Reader::kindOf(const Attributes& attributes) const
{
    std::size_t at = 0;
    for (std::string_view test = nextWord(attributes.customTest, at); !test.empty();
         test = nextWord(attributes.customTest, at)) {
        const auto found = std::lower_bound(m_customTests.begin(), m_customTests.end(), test,
                                            [](const auto& entry, std::string_view id) { return entry.first < id; });
        const bool declared = found != m_customTests.end() && found->first == test;
        const Skippable kind = declared ? found->second : skippableOfName(test);
        if (kind != Skippable::kNone)
            return kind;
    }
    return attributes.classes.empty() ? Skippable::kNone : skippableOfClass(attributes.classes);
}

// Whether a value is used as written: no reference in it, nothing to convert.
bool Smil2Reader::isPlain(std::string_view raw) const
{
    if (m_decoder && !isAscii(raw))
        return false;
    return m_plainDocument || raw.find('&') == std::string_view::npos;
}

std::string Smil2Reader::converted(std::string_view raw)
{
    return m_decoder ? nameText(raw, *m_decoder) : xmlText(raw);
}

std::string_view Smil2Reader::decodedValue(std::string_view raw)
{
    if (isPlain(raw))
        return raw;
    return m_decoded.emplace_back(converted(raw));
}

void Smil2Reader::startPhrase(const Attributes& attributes)
{
    if (!m_decoded.empty())
        m_decoded.clear();
    m_phrase = SmilPhrase();
    m_phrase.id = decoded(attributes.id);
    m_hasText = false;
}

void Smil2Reader::addText(const Attributes& attributes)
{
    // A par has one text; a second one (invalid) does not replace it.
    if (m_hasText)
        return;
    m_hasText = true;
    m_phrase.textSrc = decoded(trimmedName(attributes.src));
    m_phrase.textId = decoded(attributes.id);
}

void Smil2Reader::addClip(const Attributes& attributes)
{
    if (m_phrase.clipCount == m_clips.size())
        m_clips.emplace_back();
    SmilPhrase::Clip& clip = m_clips[m_phrase.clipCount++];
    clip.src = decoded(trimmedName(attributes.src));
    clip.beginText = attributes.clipBegin;
    clip.endText = attributes.clipEnd;
    // Most clips begin where the clip before ended, whose value is at hand.
    if (clip.beginText.empty())
        clip.begin = 0;
    else if (!m_lastEndText.empty() && clip.beginText == m_lastEndText)
        clip.begin = m_lastEnd;
    else
        clip.begin = parseClockValue(clip.beginText);
    clip.end = clip.endText.empty() ? std::nullopt : parseClockValue(clip.endText);
    m_lastEndText = clip.endText;
    m_lastEnd = clip.end;
}

void Smil2Reader::emit(Skippable kind, SmilPhraseSink& sink)
{
    m_phrase.clips = &m_clips;
    m_phrase.kind = kind;
    sink.phrase(m_phrase);
}

bool Smil2Reader::read(std::string_view bytes, SmilPhraseSink& sink)
{
    const std::string_view document = utf8Document(bytes, m_converted);
    // Ids and file names must match those of the navigation file, the text
    // document and the disk, whatever encoding each of them is written in.
    const int codePage = documentCodePage(bytes);
    if (codePage == 65001)
        m_decoder.reset();
    else if (!m_decoder || m_decoder->codePage() != codePage)
        m_decoder.emplace(codePage);
    // Most files hold no reference at all: one look for them spares a look
    // at every value.
    m_plainDocument = document.find('&') == std::string_view::npos;
    m_lastEndText = {};
    m_plainValues = m_plainDocument && !m_decoder;
    XmlScanner scanner(document);
    scanner.setTextWanted(false);
    // The kind of every open element of the body, inherited unless its own
    // marks name one; the depth of the phrase being gathered, 0 outside one.
    std::vector<Skippable>& kinds = m_kinds;
    kinds.clear();
    std::size_t bodyDepth = 0;
    std::size_t phraseDepth = 0;
    const auto endElement = [&] {
        const Skippable kind = kinds.back();
        kinds.pop_back();
        if (phraseDepth != 0 && scanner.depth() < phraseDepth) {
            phraseDepth = 0;
            emit(kind, sink);
        }
    };
    for (;;) {
        const Token token = scanner.next();
        if (token == Token::kEnd)
            return true;
        if (token == Token::kError)
            return false;
        if (token == Token::kEndElement) {
            if (bodyDepth == 0)
                continue;
            if (scanner.depth() < bodyDepth) {
                bodyDepth = 0;
                kinds.clear();
                continue;
            }
            endElement();
            continue;
        }
        if (token != Token::kStartElement)
            continue;
        const std::string_view name = scanner.localName();
        if (bodyDepth == 0) {
            if (name == "body")
                bodyDepth = scanner.depth();
            continue;
        }
        const Attributes attributes = attributesOf(scanner);
        Skippable kind = attributes.customTest.empty() && attributes.classes.empty() ? Skippable::kNone
                                                                                      : kindOf(attributes);
        if (kind == Skippable::kNone && !kinds.empty())
            kind = kinds.back();
        kinds.push_back(kind);
        if (!attributes.id.empty()) {
            if (m_plainValues || isPlain(attributes.id)) {
                sink.anchor(attributes.id);
            } else {
                m_anchor = converted(attributes.id);
                sink.anchor(m_anchor);
            }
        }
        const bool isText = name == "text";
        const bool isAudio = name == "audio";
        if (phraseDepth == 0 && (name == "par" || isText || isAudio)) {
            phraseDepth = scanner.depth();
            startPhrase(attributes);
        }
        if (isText)
            addText(attributes);
        else if (isAudio)
            addClip(attributes);
        // The text and audio elements are mostly empty: their end is taken
        // at once, without a token of its own.
        if (scanner.isEmptyElement()) {
            scanner.closeEmptyElement();
            endElement();
        }
    }
}

}  // namespace korvin
