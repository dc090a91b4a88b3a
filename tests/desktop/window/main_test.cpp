// The korvin program itself, run as a process.

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace korvin {
namespace {

struct ProgramRun {
    int exitCode;
    QString out;
    QString err;
};

ProgramRun runKorvin(const QStringList& arguments, const QString& lang = QStringLiteral("C.UTF-8"))
{
    QProcess process;
    // The interface language of the command line comes from the locale, and
    // the help and version need no display.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LANG"), lang);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KORVIN_PROGRAM), arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(Main, DumpBookOfAMissingBookExitsTwoWithTheMessage)
{
    QTemporaryDir folder;
    const ProgramRun run = runKorvin({QStringLiteral("--dump-book"), folder.filePath(QStringLiteral("missing"))});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, QStringLiteral("Die ncc.html konnte nicht geöffnet werden!\n"));
    EXPECT_TRUE(run.out.isEmpty());
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

TEST(Main, AMistakenCommandLineShowsTheUsage)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QProcess process;
    environment.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    environment.remove(QStringLiteral("LC_ALL"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KORVIN_PROGRAM), {QStringLiteral("--no-such-option")});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(process.readAllStandardError()).contains(QStringLiteral("Aufruf: korvin")));
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

}  // namespace
}  // namespace korvin
