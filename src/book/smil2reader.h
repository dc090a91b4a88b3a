// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "book/skippables.h"
#include "book/textdecoder.h"
#include "book/xmlscanner.h"

namespace korvin {

// One phrase of a SMIL 2 file: a par with its text and its audio clips, or a
// text or audio element that stands alone in a seq. Values are as written,
// entities decoded; ids and file names of a file in an 8-bit code page are
// converted to UTF-8.
struct SmilPhrase {
    struct Clip {
        std::string_view src;
        std::optional<std::int64_t> begin;  // microseconds; nullopt when no clock value
        std::optional<std::int64_t> end;    // nullopt when missing or no clock value
        std::string_view beginText;         // as written, for telling equal times apart cheaply
        std::string_view endText;
    };

    std::string_view id;
    std::string_view textSrc;  // empty without a text element
    std::string_view textId;
    // The clips in their order; only the first `clipCount` are this phrase's.
    const std::vector<Clip>* clips = nullptr;
    std::size_t clipCount = 0;
    Skippable kind = Skippable::kNone;
};

// What the reading of a SMIL file hands on, in the order of the file.
class SmilPhraseSink {
public:
    virtual ~SmilPhraseSink() = default;
    // An element of the body with the id `id` begins: what the navigation
    // points to there begins with the next phrase.
    virtual void anchor(std::string_view id) = 0;
    // A phrase is complete. Its views live until the call returns.
    virtual void phrase(const SmilPhrase& phrase) = 0;
};

// Reads the body of SMIL 2 files: every par, also inside nested seqs, with its
// text element and its audio clips (directly or in a seq of its own); a text
// or audio element outside any par is a phrase of its own. A par or seq marked
// with a customTest or a class of a skippable kind makes its phrases that
// kind; an inner mark wins over an outer one. Keeps its buffers from file to
// file.
class Smil2Reader {
public:
    // `customTests`: the custom test ids the navigation file declares, with
    // their kinds. An id it does not declare counts by its name ("pagenum").
    explicit Smil2Reader(std::vector<std::pair<std::string, Skippable>> customTests);

    // Reads one file. Returns false when its XML could not be read to its end;
    // what came before the fault has been handed on.
    bool read(std::string_view bytes, SmilPhraseSink& sink);

private:
    // The attributes of an element the reading looks at, as written.
    struct Attributes {
        std::string_view id;
        std::string_view src;
        std::string_view clipBegin;
        std::string_view clipEnd;
        std::string_view customTest;
        std::string_view classes;
    };

    static Attributes attributesOf(const XmlScanner& scanner);
    Skippable kindOf(const Attributes& attributes) const;
    bool isPlain(std::string_view raw) const;
    std::string converted(std::string_view raw);
    // A value to hand on: as written in most files, else decoded.
    std::string_view decoded(std::string_view raw) { return m_plainValues ? raw : decodedValue(raw); }
    std::string_view decodedValue(std::string_view raw);
    void startPhrase(const Attributes& attributes);
    void addText(const Attributes& attributes);
    void addClip(const Attributes& attributes);
    void emit(Skippable kind, SmilPhraseSink& sink);

    std::vector<std::pair<std::string, Skippable>> m_customTests;
    std::string m_converted;
    // The code page of a file that declares an 8-bit one; nullopt for UTF-8.
    std::optional<TextDecoder> m_decoder;
    std::string m_anchor;
    // The kind of every open element of the body.
    std::vector<Skippable> m_kinds;
    // Values with entities, decoded, for as long as the phrase they belong to.
    std::deque<std::string> m_decoded;
    // The phrase being gathered.
    SmilPhrase m_phrase;
    std::vector<SmilPhrase::Clip> m_clips;
    bool m_hasText = false;
    // The end of the last clip of the file, as written and as read.
    std::string_view m_lastEndText;
    std::optional<std::int64_t> m_lastEnd;
    // Whether the file being read holds no "&".
    bool m_plainDocument = false;
    // Whether its values are used as written: no "&", nothing to convert.
    bool m_plainValues = false;
};

}  // namespace korvin
