// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvin {

// A reference from one file of a book to another ("chapter.smil#p12"),
// resolved against the folder of the file that makes it.
struct BookReference {
    std::string file;      // relative to the book folder; empty for "#id" alone
    std::string fragment;  // the part after "#", empty when there is none
    friend bool operator==(const BookReference&, const BookReference&) = default;
};

// Resolves `href`, as written (entities decoded) in the book file `base` (a
// path relative to the book folder: "speech.ncx", "smil/a.smil"), into a path
// relative to the book folder: "../audio/a.mp3" in "smil/a.smil" gives
// "audio/a.mp3". "." and ".." are resolved, a backslash counts as "/", and
// "%20" and the like are decoded. A reference with no file part ("#p12")
// refers to `base` itself.
//
// nullopt for a reference that leaves the book: a URL with a scheme
// ("http:", "file:"), an absolute path, one that climbs above the book folder,
// or one whose decoded name holds a NUL byte. A book never reaches the
// network or files outside its folder through its references.
std::optional<BookReference> resolveReference(std::string_view base, std::string_view href);

}  // namespace korvin
