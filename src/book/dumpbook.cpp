// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/dumpbook.h"

#include <filesystem>
#include <string_view>
#include <system_error>
#include <variant>

#include "book/bookformat.h"
#include "book/booklocator.h"
#include "book/bookreader.h"
#include "book/diskfilesource.h"
#include "book/dumpwriter.h"
#include "book/textcase.h"

namespace korvin {

namespace {

void writeValue(DumpWriter& out, std::string_view name, std::string_view value)
{
    out.text(name);
    out.character('=');
    out.escaped(value);
    out.character('\n');
}

void writeTable(DumpWriter& out, std::string_view section, const BookTable& table)
{
    out.character('[');
    out.text(section);
    out.text("]\n");
    for (int row = 0; row < table.rowCount(); ++row) {
        bool first = true;
        for (const std::string& cell : table.rowCells(row)) {
            if (!first)
                out.character('\t');
            first = false;
            out.escaped(cell);
        }
        out.character('\n');
    }
}

}  // namespace

std::string bookFolderFromArgument(const std::string& bookArgument)
{
    std::error_code error;
    std::string folder = bookArgument;
    if (!std::filesystem::is_directory(std::filesystem::path(bookArgument), error)) {
        const std::size_t slash = bookArgument.rfind('/');
        const std::string_view name = std::string_view(bookArgument).substr(slash == std::string::npos ? 0 : slash + 1);
        if (lowerCase(name) == "ncc.html" || isPackageFileName(name))
            folder = bookArgument.substr(0, bookArgument.size() - name.size());
    }
    if (folder.empty())
        return "./";
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

void writeBookDump(std::ostream& stream, const BookTables& tables, const BookInfo& info, int codePage,
                   const FeatureFlags& features)
{
    DumpWriter out(stream);
    out.text("[book]\n");
    writeValue(out, "date", info.date);
    writeValue(out, "identifier", info.identifier);
    writeValue(out, "title", info.title);
    writeValue(out, "tocitems", info.tocItems);
    writeValue(out, "totaltime", info.totalTime);
    writeValue(out, "setinfo", info.setInfo);
    out.text("codepage=");
    out.number(codePage);
    out.text("\nfeatures=");
    for (bool flag : {features.audio, features.groups, features.pages, features.footnotes, features.sidebars,
                      features.prodnotes, features.pageNumbers, features.textDocuments})
        out.character(flag ? '1' : '0');
    out.character('\n');
    writeTable(out, "headings", tables.headings);
    writeTable(out, "phrases", tables.phrases);
    writeTable(out, "pages", tables.pages);
    writeTable(out, "groups", tables.groups);
    out.text("[tree]\n");
    const HeadingTree& tree = tables.tree;
    for (HeadingTree::Item item = tree.firstItem(); item != HeadingTree::kNone; item = tree.nextInOrder(item)) {
        out.number(tree.depth(item));
        out.character('\t');
        out.number(tree.itemData(item));
        out.character('\t');
        out.escaped(tree.itemText(item));
        out.character('\n');
    }
}

int dumpBook(const std::string& bookArgument, std::ostream& out, std::ostream& err, const BookArchives& archives,
             const DumpFailureTexts& texts)
{
    std::string place = bookFolderFromArgument(bookArgument);
    if (BookLocator::isZipPlace(bookArgument))
        place = bookArgument;
    else if (isPackageFileName(bookArgument) && bookStartOfPath(bookArgument, place).format == BookFormat::kDaisy3)
        place = bookArgument;
    auto located = BookLocator(archives).locate(place);
    if (const auto* fault = std::get_if<BookLocator::Fault>(&located)) {
        err << (texts.zipFault ? texts.zipFault(*fault) : texts.notRead) << '\n';
        return 2;
    }
    const BookLocator::Located& book = std::get<BookLocator::Located>(located);
    const DiskFileSource disk;
    const FileSource& files = book.zipped ? static_cast<const FileSource&>(*book.zipped) : disk;
    BookTables tables;
    BookReader reader(tables, book.folder, book.start, NccReader::Texts(), files);
    NoProgress progress;
    if (reader.read(progress) != BookReader::kRead) {
        err << texts.notRead << '\n';
        return 2;
    }
    writeBookDump(out, tables, reader.info(), reader.codePage(), reader.features());
    return 0;
}

int dumpBook(const std::string& bookArgument, std::ostream& out, std::ostream& err, const std::string& failureMessage)
{
    // Without a reader of zip files, a zip file is one that cannot be read.
    class NoArchives final : public BookArchives {
    public:
        Opened open(const std::string&) const override { return Opened{}; }
    };
    return dumpBook(bookArgument, out, err, NoArchives(), DumpFailureTexts{failureMessage, {}});
}

}  // namespace korvin
