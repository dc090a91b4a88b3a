#include "program/commandline.h"

#include "ui/stringids.h"

namespace korvin {

namespace {

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine result;
    const auto valueOf = [&](std::size_t& i, const std::string& option) -> std::optional<std::string> {
        const std::string& argument = arguments[i];
        if (argument.size() > option.size() && argument[option.size()] == '=')
            return argument.substr(option.size() + 1);
        if (i + 1 >= arguments.size()) {
            result.error = option + " needs a value";
            return std::nullopt;
        }
        return arguments[++i];
    };

    bool onlyBooks = false;
    for (std::size_t i = 0; i < arguments.size() && result.error.empty(); ++i) {
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
        } else if (!onlyBooks && startsWith(argument, "-") && argument != "-") {
            result.error = "unknown option " + argument;
        } else if (result.book) {
            result.error = "only one book can be given";
        } else {
            result.book = argument;
        }
    }
    if (result.error.empty() && result.dumpBook && result.book)
        result.error = "--dump-book takes the book itself";
    if (result.error.empty() && (result.home && result.home->empty()))
        result.error = "--home needs a folder";
    return result;
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
