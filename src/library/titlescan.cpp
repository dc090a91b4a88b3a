#include "library/titlescan.h"

#include "book/codepages.h"
#include "book/diskfilesource.h"
#include "book/linecuts.h"
#include "book/linereader.h"
#include "book/textcase.h"
#include "book/textdecoder.h"
#include "book/textsearch.h"

namespace korvin {

std::optional<std::string> scanTitle(const std::string& folder)
{
    std::string bytes;
    const std::string bookFolder = folder.empty() || folder.back() == '/' ? folder : folder + '/';
    if (!DiskFileSource().read(bookFolder, "ncc.html", bytes))
        return std::nullopt;
    int codePage = 0;
    std::string key;
    LineReader lines(bytes);
    while (const auto line = lines.next()) {
        lowerCaseInto(*line, key);
        if (containsText(key, "ncc:charset"))
            codePage = codePageFromCharsetLine(*line);
        const std::size_t at = findText(key, "<h");
        if (at == std::string::npos || at + 2 >= key.size() || key[at + 2] < '1' || key[at + 2] > '6')
            continue;
        std::string joined(*line);
        std::string joinedKey = key;
        // A heading over several lines is joined without a separator until
        // its end tag; only the new part is searched, so this stays linear.
        bool ended = containsText(key, "</h");
        while (!ended) {
            const auto next = lines.next();
            if (!next)
                break;
            const std::size_t joint = joined.size();
            joined += *next;
            joinedKey += *next;
            const std::size_t from = joint > 0 ? joint - 1 : 0;
            lowerCaseInPlace(joinedKey.data() + from, joinedKey.size() - from);
            ended = findText(joinedKey, "</h", joint >= 2 ? joint - 2 : 0) != std::string::npos;
        }
        return decode(headingTitle(joined, joinedKey), codePage);
    }
    return std::string();
}

}  // namespace korvin
