#include "book/dumpbook.h"

#include <filesystem>
#include <string_view>
#include <system_error>
#include <variant>

#include "book/bookformat.h"
#include "book/booklocator.h"
#include "book/bookreader.h"
#include "book/diskfilesource.h"
#include "book/textcase.h"

namespace korvin {

namespace {

void writeEscaped(std::ostream& out, std::string_view value)
{
    std::size_t plain = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char* escape = nullptr;
        switch (value[i]) {
        case '\\': escape = "\\\\"; break;
        case '\t': escape = "\\t"; break;
        case '\r': escape = "\\r"; break;
        case '\n': escape = "\\n"; break;
        default: continue;
        }
        out.write(value.data() + plain, static_cast<std::streamsize>(i - plain));
        out << escape;
        plain = i + 1;
    }
    out.write(value.data() + plain, static_cast<std::streamsize>(value.size() - plain));
}

void writeValue(std::ostream& out, std::string_view name, std::string_view value)
{
    out << name << '=';
    writeEscaped(out, value);
    out << '\n';
}

void writeTable(std::ostream& out, std::string_view section, const BookTable& table)
{
    out << '[' << section << "]\n";
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int column = 0; column < table.columnCount(); ++column) {
            if (column > 0)
                out << '\t';
            writeEscaped(out, table.text(row, column));
        }
        out << '\n';
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

void writeBookDump(std::ostream& out, const BookTables& tables, const BookInfo& info, int codePage,
                   const FeatureFlags& features)
{
    out << "[book]\n";
    writeValue(out, "date", info.date);
    writeValue(out, "identifier", info.identifier);
    writeValue(out, "title", info.title);
    writeValue(out, "tocitems", info.tocItems);
    writeValue(out, "totaltime", info.totalTime);
    writeValue(out, "setinfo", info.setInfo);
    out << "codepage=" << codePage << '\n';
    out << "features=";
    for (bool flag : {features.audio, features.groups, features.pages, features.footnotes, features.sidebars,
                      features.prodnotes, features.pageNumbers, features.textDocuments})
        out << (flag ? '1' : '0');
    out << '\n';
    writeTable(out, "headings", tables.headings);
    writeTable(out, "phrases", tables.phrases);
    writeTable(out, "pages", tables.pages);
    writeTable(out, "groups", tables.groups);
    out << "[tree]\n";
    const HeadingTree& tree = tables.tree;
    for (HeadingTree::Item item = tree.firstItem(); item != HeadingTree::kNone; item = tree.nextInOrder(item)) {
        out << tree.depth(item) << '\t' << tree.itemData(item) << '\t';
        writeEscaped(out, tree.itemText(item));
        out << '\n';
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
