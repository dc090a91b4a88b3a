#include "desktop/window/commandline.h"

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

std::string usageText()
{
    return "Usage: korvin [--home DIR] [BOOK]\n"
           "       korvin --dump-book BOOK\n"
           "\n"
           "BOOK is a DAISY 2.02 book folder or its ncc.html.\n"
           "  --home DIR        keep the program's state files in DIR (default: KORVIN_HOME,\n"
           "                    else the per-user data folder)\n"
           "  --dump-book BOOK  print the tables read from BOOK and exit: 0 when read,\n"
           "                    2 when its ncc.html cannot be opened\n";
}

}  // namespace korvin
