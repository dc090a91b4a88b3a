// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/phraselookup.h"

#include "book/textnumbers.h"

namespace korvin {

namespace {

const std::string kNone;

bool namesPhrase(const BookTable& phrases, int row, std::string_view id)
{
    return phrases.text(row, col::phrase::kTextId) == id || phrases.text(row, col::phrase::kParId) == id;
}

bool isSmilOfTheBook(const BookTables& tables, std::string_view smil)
{
    for (int row = 0; row < tables.headings.rowCount(); ++row)
        if (tables.headings.text(row, col::heading::kSmil) == smil)
            return true;
    return false;
}

// Whether a reference to `smil` may point at phrase row `row`.
bool inFile(const BookTables& tables, int row, std::string_view smil, bool known)
{
    return !known || smilOfPhrase(tables, row) == smil;
}

}  // namespace

const std::string& smilOfPhrase(const BookTables& tables, int row)
{
    if (row < 0 || row >= tables.phrases.rowCount())
        return kNone;
    return tables.headings.text(toInteger(tables.phrases.text(row, col::phrase::kTreeId)), col::heading::kSmil);
}

int findPhraseRow(const BookTables& tables, std::string_view smil, std::string_view id)
{
    const BookTable& phrases = tables.phrases;
    const bool known = isSmilOfTheBook(tables, smil);
    for (int row = 0; row < phrases.rowCount(); ++row)
        if (namesPhrase(phrases, row, id) && inFile(tables, row, smil, known))
            return row;
    return -1;
}

int findTextIdRow(const BookTables& tables, std::string_view smil, std::string_view id)
{
    const BookTable& phrases = tables.phrases;
    const bool known = isSmilOfTheBook(tables, smil);
    for (int row = 0; row < phrases.rowCount(); ++row)
        if (phrases.text(row, col::phrase::kTextId) == id && inFile(tables, row, smil, known))
            return row;
    return -1;
}

int findPageRowAt(const BookTables& tables, int row)
{
    const BookTable& pages = tables.pages;
    const std::string& textId = tables.phrases.text(row, col::phrase::kTextId);
    const std::string& parId = tables.phrases.text(row, col::phrase::kParId);
    for (int page = 0; page < pages.rowCount(); ++page) {
        const std::string& fragment = pages.text(page, col::page::kFragment);
        if (fragment != textId && fragment != parId)
            continue;
        const std::string& smil = pages.text(page, col::page::kSmil);
        if (inFile(tables, row, smil, isSmilOfTheBook(tables, smil)))
            return page;
    }
    return -1;
}

}  // namespace korvin
