// SPDX-License-Identifier: GPL-3.0-or-later
// The korvin program itself, run as a process.

#include "library/scrambler.h"
#include "library/statefile.h"
#include "support/audiofiles.h"
#include "support/testbook.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace korvin {
namespace {

struct ProgramRun {
    int exitCode;
    QString out;
    QString err;
};

ProgramRun runKorvin(const QStringList& arguments, const QString& lang = QStringLiteral("C.UTF-8"),
                     const QString& display = QString())
{
    QProcess process;
    // The interface language of the command line comes from the locale, and
    // the help and version need no display.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LANG"), lang);
    if (!display.isEmpty())
        environment.insert(QStringLiteral("DISPLAY"), display);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KORVIN_PROGRAM), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// What the command line answers before any window, in the locale's language:
// a missing book, a mistaken argument (with the usage), no display (one line).
TEST(Main, TheCommandLineAnswersInTheLocalesLanguageBeforeAnyWindow)
{
    QTemporaryDir folder;
    const QString missing = folder.filePath(QStringLiteral("missing"));
    struct Case {
        QStringList arguments;
        const char* lang;
        const char* display;  // unset when empty; nothing listens on :97
        int exitCode;
        QString err;  // the whole of it, or its first line when the usage follows
    };
    const Case cases[] = {
        {{QStringLiteral("--dump-book"), missing}, "de_DE.UTF-8", "", 2,
         QStringLiteral("Die ncc.html konnte nicht geöffnet werden!\n")},
        {{QStringLiteral("--dump-book"), missing}, "C.UTF-8", "", 2, QStringLiteral("Could not open ncc.html!\n")},
        {{QStringLiteral("--bogus")}, "de_DE.UTF-8", "", 2, QStringLiteral("korvin: unbekannte Angabe --bogus")},
        {{QStringLiteral("--bogus")}, "en_GB.UTF-8", "", 2, QStringLiteral("korvin: unknown option --bogus")},
        {{QStringLiteral("a"), QStringLiteral("b")}, "C.UTF-8", "", 2,
         QStringLiteral("korvin: only one book can be given (b is a second one)")},
        {{QStringLiteral("-style")}, "C.UTF-8", "", 2, QStringLiteral("korvin: -style needs a value")},
        {{}, "de_DE.UTF-8", "", 1,
         QStringLiteral("korvin: Das Fenster kann nicht geöffnet werden: keine grafische Sitzung zu erreichen "
                        "(DISPLAY oder WAYLAND_DISPLAY).\n")},
        {{QStringLiteral("-reverse")}, "C.UTF-8", ":97", 1,
         QStringLiteral("korvin: The window cannot be opened: no graphical session can be reached "
                        "(DISPLAY or WAYLAND_DISPLAY).\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString() + " " + c.lang);
        const ProgramRun run = runKorvin(c.arguments, QString::fromLatin1(c.lang), QString::fromLatin1(c.display));
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.out.isEmpty());
        if (c.exitCode == 2 && c.err.startsWith(QStringLiteral("korvin: "))) {
            EXPECT_EQ(run.err.section(QLatin1Char('\n'), 0, 0), c.err);
            EXPECT_TRUE(run.err.contains(QStringLiteral("korvin --dump-book"))) << "the usage follows";
        } else {
            EXPECT_EQ(run.err, c.err);
        }
    }
}

TEST(Main, DumpBookNeedsNoDisplay)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KORVIN_PROGRAM), {QStringLiteral("--dump-book"), QStringLiteral("/nonexistent")});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 2);
}

TEST(Main, HelpAndVersionAnswerInTheEnvironmentsLanguageWithoutADisplay)
{
    struct Case {
        const char* argument;
        const char* lang;
        const char* startsWith;
    };
    const Case cases[] = {{"--help", "de_DE.UTF-8", "Aufruf: korvin"},
                          {"--help", "C.UTF-8", "Usage: korvin"},
                          {"--version", "de_DE.UTF-8", "Korvin 2.0.1 – Abspielprogramm"},
                          {"--version", "en_US.UTF-8", "Korvin 2.0.1 – player"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument + std::string(" ") + c.lang);
        const ProgramRun run = runKorvin({QString::fromLatin1(c.argument)}, QString::fromLatin1(c.lang));
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.out.startsWith(QString::fromUtf8(c.startsWith))) << run.out.toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }
}

// Whether the process has a handler of its own for `signal` (its mask of
// caught signals in /proc).
bool catches(qint64 pid, int signal)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1u;
    }
    return false;
}

// Whether the process holds `file` open (the player has loaded it).
bool holdsOpen(qint64 pid, const std::filesystem::path& file)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
        if (std::filesystem::read_symlink(entry.path(), error) == file)
            return true;
    }
    return false;
}

bool waitUntil(const std::function<bool()>& done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 30000)
        QThread::msleep(10);
    return done();
}

TEST(Main, AnEndingDesktopRunsTheExitProcedureOnceAndSavesEverything)
{
    struct Case {
        const char* name;
        std::vector<int> sent;
        bool bookOpen;  // sent once the book plays, else as soon as they are caught
    };
    const Case cases[] = {
        {"SIGTERM", {SIGTERM}, true},
        {"SIGHUP", {SIGHUP}, true},
        {"SIGINT", {SIGINT}, true},
        {"more signals while saving", {SIGTERM, SIGINT, SIGHUP, SIGTERM}, true},
        {"during the start", {SIGTERM}, false},
    };
    for (const Case& c : cases) {
        test::TestBook book;
        book.writeNcc(test::TestBook::Ncc().meta("dc:title", "Ende").meta("dc:identifier", "end-1").heading(
            1, "Eins", "a.smil#p1"));
        book.writeSmil("a.smil", test::TestBook::Smil().par("p1", "t.html#t1", {{"a.wav", "0.000", "5.000"}}));
        book.writeHtml("t.html", {{"t1", "Eins"}});
        test::writeToneWav(book.dir().path() / "a.wav", 5.0);
        QTemporaryDir home;

        QProcess process;
        process.start(QStringLiteral(KORVIN_PROGRAM),
                      {QStringLiteral("--home"), home.path(), QString::fromStdString(book.folder())});
        ASSERT_TRUE(process.waitForStarted()) << c.name;
        const qint64 pid = process.processId();
        ASSERT_TRUE(waitUntil([&] { return catches(pid, SIGTERM); })) << c.name;
        if (c.bookOpen) {
            ASSERT_TRUE(waitUntil([&] { return holdsOpen(pid, book.dir().path() / "a.wav"); })) << c.name;
        }
        for (const int signal : c.sent)
            ::kill(static_cast<pid_t>(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(60000)) << c.name;
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << c.name;
        EXPECT_EQ(process.exitCode(), 0) << c.name;

        const std::string folder = home.path().toStdString() + "/";
        const auto settings = readTextLines(folder + "Settings.dl");
        EXPECT_TRUE(settings && settings->size() == 14) << c.name;
        if (!c.bookOpen)
            continue;  // an opening cut short leaves the last book as it was
        const auto lastBook = readTextLines(folder + "Letztes.dl");
        ASSERT_TRUE(lastBook && lastBook->size() == 1) << c.name;
        EXPECT_EQ(Scrambler().unscramble(lastBook->front()), book.folder()) << c.name;
        const auto resume = readTextLines(folder + "AResume.dl");
        ASSERT_TRUE(resume) << c.name;
        std::vector<std::string> record;
        for (const std::string& line : *resume)
            record.push_back(Scrambler().unscramble(line));
        EXPECT_NE(std::find(record.begin(), record.end(), "end-1"), record.end()) << c.name;  // the book's identifier
    }
}

}  // namespace
}  // namespace korvin
