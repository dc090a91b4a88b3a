// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace korvin {

// The readable text of an HTML document, as a listener meets it in the text
// view: markup taken away, the character set decoded, entities such as
// "&auml;" turned into their characters, white space folded as a browser
// folds it, and a line break between blocks.
struct DocumentText {
    // Where an element carrying an id begins in `text`: the offset of its
    // first character (for an element without text, of the text after it).
    struct Anchor {
        std::string id;
        std::size_t offset = 0;
    };

    std::string text;             // UTF-8
    std::vector<Anchor> anchors;  // every element with an id, in document order
};

// Reads the text documents of a book for the search.
class TextDocuments {
public:
    virtual ~TextDocuments() = default;

    // The text of the HTML file at `path`, decoded as the text view decodes it.
    // nullopt when the file cannot be read: missing, not a regular file (a
    // folder, a pipe, a device) or larger than a book file may be. Never
    // fails on what the file holds: binary bytes, tag soup or an unknown
    // character set still give a text. Runs on the caller's thread.
    virtual std::optional<DocumentText> read(const std::string& path) = 0;
};

}  // namespace korvin
