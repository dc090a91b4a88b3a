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

ProgramRun runKorvin(const QStringList& arguments)
{
    QProcess process;
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
    const ProgramRun run = runKorvin({QStringLiteral("--no-such-option")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Usage: korvin")));
}

}  // namespace
}  // namespace korvin
