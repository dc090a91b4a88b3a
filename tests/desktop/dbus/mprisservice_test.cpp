// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's sound menu driving the real window over a private session bus.

#include "desktop/dbus/mprisservice.h"

#include <QApplication>
#include <QDBusObjectPath>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <algorithm>

#include "app/maincontroller.h"
#include "busclient.h"
#include "desktop/dbus/sessionservices.h"
#include "desktop/window/desktopprogram.h"
#include "desktop/window/desktopwindow.h"
#include "library/scrambler.h"
#include "library/settings.h"
#include "library/statefile.h"
#include "support/audiofiles.h"
#include "support/tempdir.h"
#include "support/testbook.h"
#include "support/sourcepaths.h"

namespace korvin {
namespace {

using test::waitFor;

const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");

class MprisOnTheWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QDBusConnection::sessionBus().isConnected())
            GTEST_SKIP() << "no private session bus: dbus-run-session is not installed";
        m_program.start();
        m_program.joinSession(QDBusConnection::sessionBus(), QDBusConnection::systemBus());
        m_client = std::make_unique<test::BusClient>(MprisService::kServiceName);
    }
    void TearDown() override { EXPECT_EQ(m_messages.said(), std::vector<QString>()); }

    // Two headings of tones; a short first phrase keeps the title cue short.
    void openBook()
    {
        m_book.writeNcc(test::TestBook::Ncc()
                            .meta("dc:title", "Klänge")
                            .meta("dc:identifier", "mpris-1")
                            .meta("dc:creator", "Anna")
                            .meta("ncc:charset", "utf-8")
                            .heading(1, "Eins", "a.smil#p1")
                            .heading(1, "Zwei", "b.smil#p3"));
        m_book.writeSmil("a.smil", test::TestBook::Smil()
                                       .par("p1", "t.html#t1", {{"a.wav", "0.000", "0.300"}})
                                       .par("p2", "t.html#t2", {{"a.wav", "0.300", "30.000"}}));
        m_book.writeSmil("b.smil", test::TestBook::Smil().par("p3", "t.html#t3", {{"b.wav", "0.000", "20.000"}}));
        m_book.writeHtml("t.html", {{"t1", "Eins"}, {"t2", "Weiter"}, {"t3", "Zwei"}});
        test::writeToneWav(m_book.dir().path() / "a.wav", 30.0, 8000);
        test::writeToneWav(m_book.dir().path() / "b.wav", 20.0, 8000);
        m_program.openAtStart(m_book.folder());
        // What the opening told the clients is not what a test asks about.
        ASSERT_TRUE(waitFor([&] { return m_client->changesOf(QStringLiteral("Metadata")) == 1 && playing(); }));
        m_client->changes.clear();
    }
    bool playing() const { return m_program.player().playState() == MediaPlayer::kPlaying; }
    QVariant get(const QString& property) { return m_client->get(kPlayer, property); }
    MainController& controller() { return m_program.controller(); }
    // A key as the platform delivers it to the window (QTest refuses the media keys).
    void press(Qt::Key key, bool autoRepeat = false)
    {
        QWidget* focused = QApplication::focusWidget();
        for (const QEvent::Type type : {QEvent::ShortcutOverride, QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
            QApplication::sendEvent(focused ? focused : &m_program.window(), &event);
        }
    }

    const test::DbusMessages m_messages;
    test::TempDir m_home;
    test::TestBook m_book;
    DesktopProgram m_program{Folders{m_home.path().string(), korvin::test::sourceDir() + "/resources"}};
    std::unique_ptr<test::BusClient> m_client;
};

TEST_F(MprisOnTheWindow, PlayPauseAndTheMediaKeysFlipThePlayerAndLeaveTheFocusAlone)
{
    EXPECT_EQ(m_client->get(kRoot, QStringLiteral("Identity")).toString(), QStringLiteral("Korvin"));
    EXPECT_EQ(get(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Stopped"));  // no book yet
    // A second Korvin (another state folder) takes the name MPRIS gives a second instance.
    EXPECT_EQ(MprisService(controller().remote(), {}, m_client->bus()).serviceName(),
              MprisService::kServiceName + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid()));
    openBook();
    QWidget* focused = QApplication::focusWidget();
    m_client->call(kPlayer, QStringLiteral("PlayPause"));
    ASSERT_TRUE(waitFor([&] { return m_client->changesOf(QStringLiteral("PlaybackStatus")) == 1; }));
    EXPECT_EQ(m_client->changes.back().value(QStringLiteral("PlaybackStatus")), QStringLiteral("Paused"));
    EXPECT_FALSE(playing());
    EXPECT_EQ(m_program.sessionServices()->inhibitor().held(), SleepInhibitor::Held::kNothing);
    // The pause key is no echo of the PlayPause just heard, however soon it comes.
    press(Qt::Key_MediaPause);
    EXPECT_FALSE(playing());
    press(Qt::Key_MediaPlay);  // toggles, as the desktops make it do
    EXPECT_TRUE(playing());
    press(Qt::Key_MediaTogglePlayPause, true);  // held down: once
    EXPECT_TRUE(playing());
    press(Qt::Key_MediaNext);
    EXPECT_EQ(controller().tables().tree.selectedItem(), 1);
    EXPECT_EQ(QApplication::focusWidget(), focused);
}

TEST_F(MprisOnTheWindow, NextChangesTheTitleInTheMetadataAndTellsItOnce)
{
    openBook();
    const QVariantMap first = get(QStringLiteral("Metadata")).toMap();
    EXPECT_EQ(first.value(QStringLiteral("xesam:album")).toString(), QStringLiteral("Klänge"));
    EXPECT_EQ(first.value(QStringLiteral("xesam:artist")).toStringList(), QStringList{QStringLiteral("Anna")});
    EXPECT_EQ(first.value(QStringLiteral("mpris:length")).toLongLong(), 30'000'000);
    m_client->call(kPlayer, QStringLiteral("Next"));
    // Changes are told in order: had the heading been told twice, the second
    // would have come before the volume set after it.
    ASSERT_TRUE(waitFor([&] { return m_client->changesOf(QStringLiteral("Metadata")) > 0; }));
    m_client->set(QStringLiteral("Volume"), 0.42);
    ASSERT_TRUE(waitFor([&] { return m_client->changesOf(QStringLiteral("Volume")) > 0; }));
    EXPECT_EQ(m_client->changesOf(QStringLiteral("Metadata")), 1);
    const QVariantMap& told = *std::find_if(m_client->changes.begin(), m_client->changes.end(),
                                            [](const QVariantMap& change) { return change.contains("Metadata"); });
    const QVariantMap second = told.value(QStringLiteral("Metadata")).toMap();
    EXPECT_EQ(second.value(QStringLiteral("xesam:title")).toString(), QStringLiteral("Zwei"));
    EXPECT_EQ(second.value(QStringLiteral("mpris:length")).toLongLong(), 20'000'000);
    EXPECT_NE(second.value(QStringLiteral("mpris:trackid")), first.value(QStringLiteral("mpris:trackid")));
    EXPECT_EQ(told.value(QStringLiteral("CanGoPrevious")), QVariant(true));
}

TEST_F(MprisOnTheWindow, AJumpIsToldAsSeekedAndAPositionForAnotherTrackIsPassedOver)
{
    openBook();
    m_client->call(kPlayer, QStringLiteral("Pause"));
    const QVariant track = get(QStringLiteral("Metadata")).toMap().value(QStringLiteral("mpris:trackid"));
    const QVariant other = QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/korvin/Korvin/book9/heading9")));
    m_client->call(kPlayer, QStringLiteral("SetPosition"), {other, qlonglong{20'000'000}});
    // Calls are carried out in order, and a jump is told before what changed with it.
    m_client->set(QStringLiteral("Volume"), 0.55);
    ASSERT_TRUE(waitFor([&] { return m_client->changesOf(QStringLiteral("Volume")) > 0; }));
    EXPECT_TRUE(m_client->seeks.empty());
    m_client->call(kPlayer, QStringLiteral("SetPosition"), {track, qlonglong{10'000'000}});
    ASSERT_TRUE(waitFor([&] { return m_client->seeks.size() == 1; }));
    EXPECT_NEAR(static_cast<double>(m_client->seeks.back()), 10e6, 0.05e6);
    m_client->call(kPlayer, QStringLiteral("Seek"), {qlonglong{-4'000'000}});
    ASSERT_TRUE(waitFor([&] { return m_client->seeks.size() == 2; }));
    EXPECT_NEAR(static_cast<double>(m_client->seeks.back()), 6e6, 0.05e6);
    EXPECT_NEAR(static_cast<double>(get(QStringLiteral("Position")).toLongLong()), 6e6, 0.05e6);
    EXPECT_EQ(get(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Paused"));
}

TEST_F(MprisOnTheWindow, RateAndVolumeSetOverTheBusAreKeptAndQuitSavesThePlace)
{
    openBook();
    m_client->set(QStringLiteral("Rate"), 1.5);
    m_client->set(QStringLiteral("Volume"), 0.3);
    m_client->call(kRoot, QStringLiteral("Quit"));
    ASSERT_TRUE(waitFor([&] { return m_program.window().hasEnded(); }));
    const std::string home = m_home.path().string();
    const auto settings = SettingsFile(home + "/Settings.dl", Scrambler()).read();
    ASSERT_TRUE(settings);
    EXPECT_DOUBLE_EQ(settings->rate, 1.5);
    EXPECT_EQ(settings->volume, 30);
    const auto lastBook = readTextLines(home + "/Letztes.dl");
    ASSERT_TRUE(lastBook && lastBook->size() == 1);
    EXPECT_EQ(Scrambler().unscramble(lastBook->front()), m_book.folder());
    const auto resume = readTextLines(home + "/AResume.dl").value_or(std::vector<std::string>());
    EXPECT_TRUE(std::any_of(resume.begin(), resume.end(),
                            [](const std::string& line) { return Scrambler().unscramble(line) == "mpris-1"; }));
}

}  // namespace
}  // namespace korvin
