// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/commandline.h"

#include "ui/stringids.h"

namespace korvin {

namespace {

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool isSet(const char* value)
{
    return value && *value;
}

// Qt's options that QGuiApplication and QApplication take out of the command
// line, with the number of values each takes. Qt also takes them with "--".
struct QtOption {
    const char* name;
    int values;
};
constexpr QtOption kQtOptions[] = {
    {"-platform", 1},        {"-platformpluginpath", 1},
    {"-platformtheme", 1},   {"-plugin", 1},
    {"-qwindowgeometry", 1}, {"-geometry", 1},
    {"-qwindowicon", 1},     {"-icon", 1},
    {"-qwindowtitle", 1},    {"-title", 1},
    {"-display", 1},         {"-name", 1},
    {"-session", 1},         {"-style", 1},
    {"-stylesheet", 1},      {"-reverse", 0},
    {"-widgetcount", 0},     {"-nograb", 0},
    {"-dograb", 0},          {"-sync", 0},
};

const QtOption* qtOption(const std::string& argument)
{
    const std::string name = startsWith(argument, "--") ? argument.substr(1) : argument;
    for (const QtOption& option : kQtOptions) {
        if (name == option.name)
            return &option;
    }
    return nullptr;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine result;
    const auto fail = [&](CommandLine::Mistake mistake, const std::string& argument) {
        result.mistake = mistake;
        result.mistaken = argument;
    };
    const auto valueOf = [&](std::size_t& i, const std::string& option) -> std::optional<std::string> {
        const std::string& argument = arguments[i];
        if (argument.size() > option.size() && argument[option.size()] == '=')
            return argument.substr(option.size() + 1);
        if (i + 1 >= arguments.size()) {
            fail(CommandLine::Mistake::kNoValue, option);
            return std::nullopt;
        }
        return arguments[++i];
    };

    bool onlyBooks = false;
    for (std::size_t i = 0; i < arguments.size() && result.understood(); ++i) {
        const std::string& argument = arguments[i];
        if (!onlyBooks && argument == "--") {
            onlyBooks = true;
        } else if (!onlyBooks && (argument == "--help" || argument == "-h")) {
            result.help = true;
        } else if (!onlyBooks && argument == "--version") {
            result.version = true;
        } else if (!onlyBooks && (argument == "--home" || startsWith(argument, "--home="))) {
            result.home = valueOf(i, "--home");
        } else if (!onlyBooks && (argument == "--dump-book" || startsWith(argument, "--dump-book="))) {
            result.dumpBook = valueOf(i, "--dump-book");
        } else if (const QtOption* qt = onlyBooks ? nullptr : qtOption(argument)) {
            result.qtOptions.push_back(argument);
            if (qt->values > 0 && i + 1 >= arguments.size())
                fail(CommandLine::Mistake::kNoValue, argument);
            else if (qt->values > 0)
                result.qtOptions.push_back(arguments[++i]);
        } else if (!onlyBooks && startsWith(argument, "-") && argument != "-") {
            fail(CommandLine::Mistake::kUnknownOption, argument);
        } else if (result.book) {
            fail(CommandLine::Mistake::kSecondBook, argument);
        } else {
            result.book = argument;
        }
    }
    if (result.understood() && result.dumpBook && result.book)
        fail(CommandLine::Mistake::kDumpWithBook, *result.book);
    if (result.understood() && (result.home && result.home->empty()))
        fail(CommandLine::Mistake::kEmptyHome, "--home");
    return result;
}

std::string mistakeText(const CommandLine& line, const StringTable& strings, int languageOffset)
{
    using Mistake = CommandLine::Mistake;
    switch (line.mistake) {
    case Mistake::kNone:
        return {};
    case Mistake::kUnknownOption:
        return fillIn(strings.get(str::kUnknownOption, languageOffset), {line.mistaken});
    case Mistake::kNoValue:
        return fillIn(strings.get(str::kOptionWithoutValue, languageOffset), {line.mistaken});
    case Mistake::kSecondBook:
        return fillIn(strings.get(str::kSecondBook, languageOffset), {line.mistaken});
    case Mistake::kDumpWithBook:
        return fillIn(strings.get(str::kDumpWithBook, languageOffset), {line.mistaken});
    case Mistake::kEmptyHome:
        return strings.get(str::kEmptyHome, languageOffset);
    }
    return {};
}

bool displayMissing(const CommandLine& line, const char* qpaPlatform, const char* display, const char* waylandDisplay)
{
    for (const std::string& option : line.qtOptions) {
        if (option == "-platform" || option == "--platform")
            return false;
    }
    return !isSet(qpaPlatform) && !isSet(display) && !isSet(waylandDisplay);
}

int environmentLanguageOffset(const char* lcAll, const char* lcMessages, const char* lang)
{
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value && *value)
            return startsWith(value, "de") ? 0 : 200;
    }
    return 200;
}

std::string usageText(const StringTable& strings, int languageOffset)
{
    return strings.get(str::kUsage, languageOffset);
}

std::string versionText(const StringTable& strings, int languageOffset)
{
    return strings.get(str::kVersion, languageOffset) + "\n";
}

}  // namespace korvin
