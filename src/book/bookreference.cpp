// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/bookreference.h"

#include <vector>

namespace korvin {

namespace {

constexpr auto npos = std::string_view::npos;

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "%41" gives "A"; a "%" not followed by two hex digits, and an escaped "/",
// stay as written, so that decoding never makes a new path step. nullopt
// for an escaped NUL.
std::optional<std::string> percentDecoded(std::string_view text)
{
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '%' && at + 2 < text.size()) {
            const int high = hexValue(text[at + 1]);
            const int low = hexValue(text[at + 2]);
            if (high >= 0 && low >= 0) {
                const char c = static_cast<char>(high * 16 + low);
                if (c == '\0')
                    return std::nullopt;
                if (c != '/' && c != '\\') {
                    decoded += c;
                    at += 2;
                    continue;
                }
            }
        }
        decoded += text[at];
    }
    return decoded;
}

// Where the first of the bytes `any` stands in `text` from `from` on, npos
// when none does: one look at each byte, where find_first_of searches the
// set for every byte.
template <std::size_t N>
std::size_t firstOf(std::string_view text, const char (&any)[N], std::size_t from = 0)
{
    for (std::size_t at = from; at < text.size(); ++at)
        for (std::size_t i = 0; i + 1 < N; ++i)
            if (text[at] == any[i])
                return at;
    return npos;
}

bool hasScheme(std::string_view path)
{
    const std::size_t colon = path.find(':');
    return colon != npos && firstOf(path, "/\\") > colon;
}

}  // namespace

std::optional<BookReference> resolveReference(std::string_view base, std::string_view href)
{
    const std::size_t hash = href.find('#');
    const std::string_view path = href.substr(0, hash);
    BookReference reference;
    if (hash != npos)
        reference.fragment = href.substr(hash + 1);
    if (path.empty()) {
        reference.file = base;
        return reference;
    }
    if (hasScheme(path) || path.front() == '/' || path.front() == '\\' || path.find('\0') != npos)
        return std::nullopt;

    // The usual case, a plain name beside a file in the book folder itself.
    const bool plain = firstOf(path, "/\\%") == npos && path != "." && path != "..";
    if (plain && base.find('/') == npos) {
        reference.file = path;
        return reference;
    }

    const auto decoded = percentDecoded(path);
    if (!decoded)
        return std::nullopt;
    std::vector<std::string_view> steps;
    const auto addSteps = [&steps](std::string_view text, bool lastIsFile) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t slash = firstOf(text, "/\\", start);
            const bool last = slash == npos;
            const std::string_view step = text.substr(start, last ? npos : slash - start);
            if (last && !lastIsFile)
                return true;  // the file name of the base
            if (step == "..") {
                if (steps.empty())
                    return false;
                steps.pop_back();
            } else if (!step.empty() && step != ".") {
                steps.push_back(step);
            }
            if (last)
                return true;
            start = slash + 1;
        }
    };
    if (!addSteps(base, false) || !addSteps(*decoded, true) || steps.empty())
        return std::nullopt;
    for (const std::string_view step : steps) {
        if (!reference.file.empty())
            reference.file += '/';
        reference.file += step;
    }
    return reference;
}

}  // namespace korvin
