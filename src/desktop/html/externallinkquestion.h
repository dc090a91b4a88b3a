// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace korvin {

// A link to something other than a file (http:, mailto:, ftp:...) would hand
// the book's words to another program. The listener is asked first, in the
// interface's language; No is the default, and Escape answers it.
class ExternalLinkQuestion {
public:
    struct Texts {
        QString caption;
        QString question;  // the link's address is shown below it
        QString yes;
        QString no;
    };
    // Until texts are set, every such link is refused without asking.
    void setTexts(const Texts& texts) { m_texts = texts; }

    // Asks (modally, over `parent`) whether to open `url`; true for Yes.
    bool ask(QWidget* parent, const QString& url) const;

private:
    Texts m_texts;
};

}  // namespace korvin
