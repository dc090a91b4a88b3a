// SPDX-License-Identifier: GPL-3.0-or-later
#include "book/filereadahead.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "book/memoryfilesource.h"

namespace korvin {
namespace {

using Bound = FileReadAhead::Bound;

class NameList final : public FileReadAhead::Names {
public:
    explicit NameList(std::vector<std::string> names)
        : m_names(std::move(names))
    {
    }
    std::optional<std::string_view> next() override
    {
        if (m_next == m_names.size())
            return std::nullopt;
        return m_names[m_next++];
    }

private:
    std::vector<std::string> m_names;
    std::size_t m_next = 0;
};

// Book files in memory, watched as the read-ahead uses them: never read by
// two threads at once, never further ahead of the requests than `ahead`
// files. The test counts a request before it makes it, so a read started
// after the request was taken never counts as ahead of it, whichever thread
// runs first.
class WatchedSource final : public FileSource {
public:
    explicit WatchedSource(std::size_t ahead = 1'000'000)
        : m_ahead(ahead)
    {
    }
    void add(const std::string& path, std::string bytes) { m_files.add(path, std::move(bytes)); }
    void throwOn(std::string name) { m_throwOn = std::move(name); }
    void request() { ++m_requests; }

    bool read(const std::string& folder, std::string_view name, std::string& bytes) const override
    {
        if (m_inside.fetch_add(1) != 0)
            m_overlapped = true;
        if (++m_started > m_requests.load() + m_ahead)
            m_tooFarAhead = true;
        const bool throws = m_throwOn && name == *m_throwOn;
        const bool read = !throws && m_files.read(folder, name, bytes);
        --m_inside;
        if (throws)
            throw std::runtime_error("damaged");
        return read;
    }

    bool overlapped() const { return m_overlapped; }
    bool tooFarAhead() const { return m_tooFarAhead; }

private:
    MemoryFileSource m_files;
    std::size_t m_ahead;
    std::optional<std::string> m_throwOn;
    std::atomic<std::size_t> m_requests = 0;
    mutable std::atomic<std::size_t> m_started = 0;
    mutable std::atomic<int> m_inside = 0;
    mutable std::atomic<bool> m_overlapped = false;
    mutable std::atomic<bool> m_tooFarAhead = false;
};

const std::string kFolder = "/book/";

struct Answer {
    bool read = false;
    std::string bytes;
    bool threw = false;
    friend bool operator==(const Answer&, const Answer&) = default;
};

Answer ask(const FileSource& files, const std::string& folder, const std::string& name)
{
    Answer answer;
    answer.bytes = "left over";
    try {
        answer.read = files.read(folder, name, answer.bytes);
    } catch (const std::runtime_error&) {
        answer.threw = true;
    }
    return answer;
}

struct Case {
    const char* what;
    std::vector<std::string> names;     // in the order given to the read-ahead
    std::vector<std::string> requests;  // in the order the reading asks
    std::string folder = kFolder;       // of the requests
};

// Whatever was read ahead, in whatever order the reading asks, the answers
// are the source's own; a read that throws reaches the reading at its file.
TEST(FileReadAhead, AnswersEveryRequestAsTheSourceDoes)
{
    const std::vector<Case> cases = {
        {"in the order read ahead", {"a.smil", "b.smil", "c.smil"}, {"a.smil", "b.smil", "c.smil"}},
        {"a missing file among them", {"a.smil", "missing.smil", "b.smil"}, {"a.smil", "missing.smil", "b.smil"}},
        {"a file named twice", {"a.smil", "b.smil", "a.smil"}, {"a.smil", "b.smil", "a.smil"}},
        {"a read that throws", {"a.smil", "bad.smil", "c.smil"}, {"a.smil", "bad.smil", "c.smil"}},
        {"one file only", {"c.smil"}, {"c.smil"}},
        {"an empty name", {"", "a.smil"}, {"", "a.smil"}},
        {"no names", {}, {"a.smil", "b.smil"}},
        {"the reading stops early", {"a.smil", "b.smil", "c.smil"}, {"a.smil"}},
        {"the reading asks for none", {"a.smil", "b.smil", "c.smil"}, {}},
        {"a request out of order", {"a.smil", "b.smil", "c.smil"}, {"a.smil", "c.smil", "b.smil", "c.smil"}},
        {"a request for a file never named", {"a.smil", "b.smil"}, {"a.smil", "missing.smil", "b.smil"}},
        {"requests beyond the names", {"a.smil"}, {"a.smil", "b.smil", "a.smil"}},
        {"requests in another folder", {"x.smil"}, {"x.smil", "x.smil"}, "/book/sub/"},
    };
    const std::vector<Bound> bounds = {{1, 0}, {2, 2}, {1, 1u << 20}, {16, 4u << 20}};
    for (const Case& c : cases) {
        for (const Bound& bound : bounds) {
            SCOPED_TRACE(std::string(c.what) + ", bound " + std::to_string(bound.files) + " files, " +
                         std::to_string(bound.bytes) + " bytes");
            WatchedSource source;
            WatchedSource plain;
            for (WatchedSource* files : {&source, &plain}) {
                for (const auto& [path, bytes] : {std::pair{"/book/a.smil", "A"}, {"/book/b.smil", "BB"},
                                                  {"/book/c.smil", "CCC"}, {"/book/sub/x.smil", "X"}})
                    files->add(path, bytes);
                files->throwOn("bad.smil");
            }
            std::vector<Answer> answers;
            std::vector<Answer> expected;
            {
                const FileReadAhead files(source, kFolder, std::make_unique<NameList>(c.names), bound);
                for (const std::string& name : c.requests) {
                    source.request();
                    answers.push_back(ask(files, c.folder, name));
                    expected.push_back(ask(plain, c.folder, name));
                }
            }
            EXPECT_EQ(answers, expected);
            EXPECT_FALSE(source.overlapped());
        }
    }
}

// Files of 10 bytes: the thread never reads further ahead than the bound of
// files, nor than the files the bound of bytes holds (at least one).
TEST(FileReadAhead, ReadsNoFurtherAheadThanTheBound)
{
    const struct {
        Bound bound;
        std::size_t ahead;
    } cases[] = {
        {{1, 1u << 20}, 1}, {{3, 1u << 20}, 3}, {{16, 0}, 1}, {{16, 10}, 1}, {{16, 11}, 2}, {{16, 30}, 3}, {{2, 30}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bound.files) + " files, " + std::to_string(c.bound.bytes) + " bytes");
        WatchedSource source(c.ahead);
        std::vector<std::string> names;
        for (int i = 0; i < 40; ++i) {
            names.push_back(std::to_string(i) + ".smil");
            source.add(kFolder + names.back(), std::string(10, 'x'));
        }
        {
            const FileReadAhead files(source, kFolder, std::make_unique<NameList>(names), c.bound);
            std::string bytes;
            for (const std::string& name : names) {
                source.request();
                EXPECT_TRUE(files.read(kFolder, name, bytes));
                EXPECT_EQ(bytes, std::string(10, 'x'));
            }
        }
        EXPECT_FALSE(source.tooFarAhead());
        EXPECT_FALSE(source.overlapped());
    }
}

}  // namespace
}  // namespace korvin
