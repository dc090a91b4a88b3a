// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string>

namespace korvin {

// Where a navigation or a link goes: a local file as an absolute path with an
// optional "#fragment" (percent-decoded), or any other URL as written.
struct HtmlLinkTarget {
    QString path;
    QString fragment;
    bool hasFragment = false;
    QString external;  // set for a URL that is not a local file (http:, mailto:...)

    // A location handed to navigate: a file path (relative to the current
    // directory, "#fragment" after it unless the whole text names an existing
    // file) or a file: URL.
    static HtmlLinkTarget ofLocation(const QString& location);
    // An href as written in the document at `documentPath`. Relative hrefs
    // (backslashes read as slashes) resolve against the document's folder; a
    // bare "#fragment" stays in the document.
    static HtmlLinkTarget ofHref(const QString& href, const QString& documentPath);

    // The text beforeNavigate reports: the path with "#fragment", or the URL.
    std::string url() const;
};

}  // namespace korvin
