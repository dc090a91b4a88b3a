// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/codepages.h"

#include <iconv.h>

#include <array>
#include <string>

#include "book/textcase.h"

namespace korvin {

namespace {

struct CodePageName {
    int codePage;
    std::string_view iconv;
};

constexpr CodePageName kIconvNames[] = {
    {65001, "UTF-8"},       {65000, "UTF-7"},       {932, "CP932"},         {50220, "ISO-2022-JP"},
    {51932, "EUC-JP"},      {936, "CP936"},         {950, "CP950"},         {1250, "WINDOWS-1250"},
    {1251, "WINDOWS-1251"}, {1252, "WINDOWS-1252"}, {1253, "WINDOWS-1253"}, {1254, "WINDOWS-1254"},
    {1255, "WINDOWS-1255"}, {1256, "WINDOWS-1256"}, {1257, "WINDOWS-1257"}, {10002, "BIG5"},
    {20127, "ASCII"},       {20866, "KOI8-R"},      {20936, "GB2312"},      {28591, "ISO-8859-1"},
    {28592, "ISO-8859-2"},  {28593, "ISO-8859-3"},  {28594, "ISO-8859-4"},  {28595, "ISO-8859-5"},
    {28596, "ISO-8859-6"},  {28597, "ISO-8859-7"},  {28598, "ISO-8859-8"},  {28599, "ISO-8859-9"},
    {28605, "ISO-8859-15"}, {50225, "ISO-2022-KR"}, {51936, "EUC-CN"},      {51949, "EUC-KR"},
    {52936, "HZ-GB-2312"},
};

// A rule's names and code pages; unused places are empty or 0.
struct CharsetRule {
    std::array<std::string_view, 4> names;
    std::array<int, 3> codePages;
};

// In order: the first rule whose name is in the line and that has a code page
// available here decides.
constexpr CharsetRule kRules[] = {
    {{"utf-8"}, {65001}},
    {{"utf-7"}, {65000}},
    {{"shift_jis", "cp-932", "iso-2022-jp", "euc-jp"}, {932, 50220, 51932}},
    {{"cp-936"}, {936}},
    {{"cp-950"}, {950}},
    {{"windows-1250", "iso-8859-2"}, {1250, 28592}},
    {{"windows-1251", "iso-8859-5", "koi8-r"}, {1251, 28595, 20866}},
    {{"windows-1252", "iso-8859-1", "latin1"}, {1252, 28591}},
    {{"windows-1253"}, {1253}},
    {{"windows-1254", "iso-8859-9", "latin5"}, {28599, 1254}},
    {{"windows-1255"}, {1255}},
    {{"windows-1256"}, {1256}},
    {{"windows-1257", "iso-8859-13"}, {1257}},
    {{"big5"}, {10002}},
    {{"us-ascii"}, {20127}},
    {{"gb2312"}, {20936}},
    {{"iso-8859-3", "latin3"}, {28593}},
    {{"iso-8859-4", "iso-8859-10"}, {28594}},
    {{"iso-8859-6"}, {28596}},
    {{"iso-8859-7"}, {28597}},
    {{"iso-8859-8"}, {28598}},
    {{"iso-8859-15", "latin9"}, {28605}},
    {{"iso-2022-kr"}, {50225}},
    {{"euc-cn"}, {51936}},
    {{"euc-kr"}, {51949}},
    {{"hz-gb-2312"}, {52936}},
};

// "iso-8859-1" is the start of "iso-8859-10", "-13" and "-15", which have rules
// of their own; an occurrence that continues that way does not name Latin-1.
bool containsName(std::string_view line, std::string_view name)
{
    const bool latin1 = name == "iso-8859-1";
    for (std::size_t at = line.find(name); at != std::string_view::npos; at = line.find(name, at + 1)) {
        if (!latin1)
            return true;
        const std::size_t after = at + name.size();
        if (after >= line.size() || (line[after] != '0' && line[after] != '3' && line[after] != '5'))
            return true;
    }
    return false;
}

}  // namespace

std::string_view iconvName(int codePage)
{
    if (codePage == 0)
        return {};
    for (const auto& entry : kIconvNames)
        if (entry.codePage == codePage)
            return entry.iconv;
    return {};
}

bool isCodePageAvailable(int codePage)
{
    const std::string name(iconvName(codePage));
    if (name.empty())
        return false;
    iconv_t converter = iconv_open("UTF-8", name.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1))
        return false;
    iconv_close(converter);
    return true;
}

int codePageFromCharsetLine(std::string_view line)
{
    const std::string key = lowerCase(line);
    for (const auto& rule : kRules) {
        bool named = false;
        for (std::string_view name : rule.names)
            named = named || (!name.empty() && containsName(key, name));
        if (!named)
            continue;
        for (int codePage : rule.codePages)
            if (codePage != 0 && isCodePageAvailable(codePage))
                return codePage;
    }
    return 0;
}

}  // namespace korvin
