#include "book/smil2reader.h"

#include "book/clockvalue.h"
#include "book/xmlencoding.h"
#include "book/xmltext.h"

namespace korvin {

namespace {

using Token = XmlScanner::Token;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// SMIL 2 writes clipBegin; files made after the older SMIL write clip-begin.
std::string_view clipAttribute(const XmlScanner& scanner, std::string_view name, std::string_view oldName)
{
    const std::string_view value = scanner.attribute(name);
    return value.empty() ? scanner.attribute(oldName) : value;
}

}  // namespace

Smil2Reader::Smil2Reader(std::vector<std::pair<std::string, Skippable>> customTests)
    : m_customTests(std::move(customTests))
{
}

// The kind an element's own marks name: its custom tests (a list of ids),
// then its classes.
Skippable Smil2Reader::kindOf(const XmlScanner& scanner) const
{
    const std::string_view tests = scanner.attribute("customTest");
    std::size_t at = 0;
    while (at < tests.size()) {
        while (at < tests.size() && isSpace(tests[at]))
            ++at;
        std::size_t end = at;
        while (end < tests.size() && !isSpace(tests[end]))
            ++end;
        const std::string_view test = tests.substr(at, end - at);
        if (!test.empty()) {
            Skippable kind = Skippable::kNone;
            bool declared = false;
            for (const auto& [id, declaredKind] : m_customTests) {
                if (id == test) {
                    kind = declaredKind;
                    declared = true;
                    break;
                }
            }
            if (!declared)
                kind = skippableOfName(test);
            if (kind != Skippable::kNone)
                return kind;
        }
        at = end;
    }
    return skippableOfClass(scanner.attribute("class"));
}

void Smil2Reader::startPhrase(const XmlScanner& scanner)
{
    assignXmlText(scanner.attribute("id"), m_id);
    m_textSrc.clear();
    m_textId.clear();
    m_hasText = false;
    m_clipCount = 0;
}

void Smil2Reader::addText(const XmlScanner& scanner)
{
    // A par has one text; a second one (invalid) does not replace it.
    if (m_hasText)
        return;
    m_hasText = true;
    assignXmlText(trimWhiteSpace(scanner.attribute("src")), m_textSrc);
    assignXmlText(scanner.attribute("id"), m_textId);
}

void Smil2Reader::addClip(const XmlScanner& scanner)
{
    if (m_clipCount == m_clips.size())
        m_clips.emplace_back();
    SmilPhrase::Clip& clip = m_clips[m_clipCount++];
    assignXmlText(trimWhiteSpace(scanner.attribute("src")), clip.src);
    clip.beginText = clipAttribute(scanner, "clipBegin", "clip-begin");
    clip.endText = clipAttribute(scanner, "clipEnd", "clip-end");
    clip.begin = clip.beginText.empty() ? std::optional<std::int64_t>(0) : parseClockValue(clip.beginText);
    clip.end = clip.endText.empty() ? std::nullopt : parseClockValue(clip.endText);
}

void Smil2Reader::emit(Skippable kind, SmilPhraseSink& sink)
{
    SmilPhrase phrase;
    phrase.id = m_id;
    phrase.textSrc = m_textSrc;
    phrase.textId = m_textId;
    phrase.clips = &m_clips;
    phrase.clipCount = m_clipCount;
    phrase.kind = kind;
    sink.phrase(phrase);
}

bool Smil2Reader::read(std::string_view bytes, SmilPhraseSink& sink)
{
    XmlScanner scanner(utf8Document(bytes, m_converted));
    // The kind of every open element of the body, inherited unless its own
    // marks name one; the depth of the par being gathered, 0 outside one.
    std::vector<Skippable> kinds;
    std::size_t bodyDepth = 0;
    std::size_t parDepth = 0;
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
            const Skippable kind = kinds.back();
            kinds.pop_back();
            if (parDepth != 0 && scanner.depth() < parDepth) {
                parDepth = 0;
                emit(kind, sink);
            }
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
        Skippable kind = kindOf(scanner);
        if (kind == Skippable::kNone && !kinds.empty())
            kind = kinds.back();
        kinds.push_back(kind);
        if (const std::string_view id = scanner.attribute("id"); !id.empty()) {
            assignXmlText(id, m_anchor);
            sink.anchor(m_anchor);
        }
        const bool isText = name == "text";
        const bool isAudio = name == "audio";
        if (parDepth == 0 && (name == "par" || isText || isAudio)) {
            parDepth = scanner.depth();
            startPhrase(scanner);
        }
        if (isText)
            addText(scanner);
        else if (isAudio)
            addClip(scanner);
    }
}

}  // namespace korvin
