// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvin {

// What the reading of a DAISY 3 book takes from its package file (*.opf).
struct PackageFile {
    // Book information, decoded to UTF-8, white space collapsed.
    std::string title;       // the first dc:Title
    std::vector<std::string> creators;  // every dc:Creator, in the order of the file
    std::string identifier;  // the dc:Identifier the package's unique-identifier names, else the first
    std::string date;        // the first dc:Date
    std::string totalTime;   // dtb:totalTime, as written
    // The navigation file (NCX), relative to the book folder; empty when the
    // manifest names none.
    std::string navigationFile;
    // The SMIL files of the spine, relative to the book folder, in reading
    // order, each once.
    std::vector<std::string> smilFiles;
    // The style sheets of the manifest (text/css), relative to the book
    // folder, in the order of the manifest.
    std::vector<std::string> styleSheets;
    // The spine names a DTBook text (books whose text has no SMIL).
    bool textInSpine = false;
    // The XML of the file could not be read to its end.
    bool malformed = false;
};

// Reads the package file `bytes`, found at `path` (relative to the book
// folder), as well as its XML allows: what comes before a fault is kept.
PackageFile readPackageFile(std::string_view bytes, std::string_view path);

}  // namespace korvin
