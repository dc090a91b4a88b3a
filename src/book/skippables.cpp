// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/skippables.h"

#include <string>

#include "book/xmltext.h"

namespace korvin {

namespace {

struct NamedKind {
    std::string_view name;  // lower case, without "-" and "_"
    Skippable kind;
};

constexpr NamedKind kNames[] = {
    {"pagenumber", Skippable::kPageNumber},
    {"pagenum", Skippable::kPageNumber},
    {"linenumber", Skippable::kLineNumber},
    {"linenum", Skippable::kLineNumber},
    {"note", Skippable::kNote},
    {"footnote", Skippable::kNote},
    {"endnote", Skippable::kNote},
    {"rearnote", Skippable::kNote},
    {"notereference", Skippable::kNoteReference},
    {"noteref", Skippable::kNoteReference},
    {"annotation", Skippable::kAnnotation},
    {"annoref", Skippable::kAnnotation},
    {"sidebar", Skippable::kSidebar},
    {"optionalsidebar", Skippable::kSidebar},
    {"prodnote", Skippable::kProducerNote},
    {"optionalprodnote", Skippable::kProducerNote},
    {"producernote", Skippable::kProducerNote},
    {"optionalproducernote", Skippable::kProducerNote},
};

}  // namespace

Skippable skippableOfName(std::string_view name)
{
    // No name of the table is longer.
    if (name.empty() || name.size() > 32)
        return Skippable::kNone;
    std::string key;
    for (char c : name) {
        if (c == '-' || c == '_')
            continue;
        key += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    for (const NamedKind& named : kNames)
        if (named.name == key)
            return named.kind;
    return Skippable::kNone;
}

Skippable skippableOfClass(std::string_view classes)
{
    std::size_t at = 0;
    for (std::string_view word = nextWord(classes, at); !word.empty(); word = nextWord(classes, at))
        if (const Skippable kind = skippableOfName(word); kind != Skippable::kNone)
            return kind;
    return Skippable::kNone;
}

std::string_view skipClassOf(Skippable kind)
{
    switch (kind) {
    case Skippable::kPageNumber:
    case Skippable::kLineNumber:
        return "pagenumber";
    case Skippable::kNote:
    case Skippable::kNoteReference:
    case Skippable::kAnnotation:
        return "footnote";
    case Skippable::kSidebar:
        return "sidebar";
    case Skippable::kProducerNote:
        return "prodnote";
    case Skippable::kNone:
        break;
    }
    return {};
}

void markSkippableFeature(Skippable kind, FeatureFlags& features)
{
    switch (kind) {
    case Skippable::kPageNumber:
    case Skippable::kLineNumber:
        features.pageNumbers = true;
        break;
    case Skippable::kNote:
    case Skippable::kNoteReference:
    case Skippable::kAnnotation:
        features.footnotes = true;
        break;
    case Skippable::kSidebar:
        features.sidebars = true;
        break;
    case Skippable::kProducerNote:
        features.prodnotes = true;
        break;
    case Skippable::kNone:
        break;
    }
}

}  // namespace korvin
