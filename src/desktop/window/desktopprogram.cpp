// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/desktopprogram.h"

#include "app/maincontroller.h"
#include "desktop/dbus/sessionservices.h"
#include "desktop/html/htmltextdocuments.h"
#include "desktop/html/htmltextview.h"
#include "desktop/mpv/mpvlibrary.h"
#include "desktop/mpv/mpvplayer.h"
#include "desktop/mpv/mpvtitlecue.h"
#include "desktop/window/desktopwindow.h"
#include "desktop/window/headingtreeview.h"
#include "desktop/window/idlecalls.h"
#include "desktop/window/latescreenreader.h"
#include "desktop/window/menubarview.h"
#include "desktop/window/qtdialogs.h"
#include "desktop/window/qtlistbox.h"
#include "desktop/window/qtmessageboxes.h"
#include "desktop/window/qttimers.h"
#include "desktop/window/singleinstance.h"
#include "desktop/window/startfolders.h"
#include "desktop/zip/zipbookarchives.h"
#include "ui/stringids.h"

#include <QEvent>
#include <QTimer>

#include <utility>
#include <vector>

namespace korvin {

// What can wait until the window is active and has its focus, so that the
// screen reader announces it sooner: the start page's layout and fonts, the
// calls handed to whenActive(), and libmpv, loaded in the background. libmpv
// not before: Qt loads its plugins while the window comes up, and the
// system's loader serves one load at a time, so the window would wait for
// libmpv's two hundred libraries after all.
class WhenActive : public QObject {
public:
    WhenActive(MpvLibrary& library, MainController& controller)
        : m_library(library)
        , m_controller(controller)
    {
        // A window the desktop never activates (no window manager) gets them
        // all the same.
        QTimer::singleShot(kAtTheLatestMs, this, [this] { runHeld(); });
    }

    void post(std::function<void()> call)
    {
        if (m_ran)
            call();
        else
            m_held.push_back(std::move(call));
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowActivate && !m_activated) {
            m_activated = true;
            // After the activation has been handled, with the focus it brings.
            QTimer::singleShot(0, this, [this] {
                runHeld();
                m_library.loadInBackground();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static constexpr int kAtTheLatestMs = 2000;

    void runHeld()
    {
        if (m_ran)
            return;
        m_ran = true;
        m_controller.showHeldStartPage();
        for (std::function<void()>& call : std::exchange(m_held, {}))
            call();
    }

    MpvLibrary& m_library;
    MainController& m_controller;
    std::vector<std::function<void()>> m_held;
    bool m_activated = false;
    bool m_ran = false;
};

DesktopProgram::DesktopProgram(Folders folders)
    : m_folders(std::move(folders))
    , m_mpvLibrary(std::make_unique<MpvLibrary>())
    , m_lateScreenReader(std::make_unique<LateScreenReader>())
    , m_player(std::make_unique<MpvPlayer>(*m_mpvLibrary))
    , m_titleCue(std::make_unique<MpvTitleCue>(*m_mpvLibrary))
    , m_window(std::make_unique<DesktopWindow>(*m_player))
    , m_timers(std::make_unique<QtTimers>())
    , m_messageBoxes(std::make_unique<QtMessageBoxes>(m_window.get()))
    , m_dialogs(std::make_unique<QtDialogs>(m_window.get()))
    , m_textDocuments(std::make_unique<HtmlTextDocuments>())
    , m_archives(std::make_unique<ZipBookArchives>(unpackCacheRoot(m_folders)))
{
    auto* textView = new HtmlTextView(m_window.get());
    m_textView = textView;
    m_window->setTextViewWidget(textView);

    m_controller = std::make_unique<MainController>(
        PlatformServices{*m_player, *m_titleCue, *m_textView, *m_timers, m_window->groupList(),
                         m_window->bookmarkList(), m_window->searchResultList(), *m_messageBoxes, *m_dialogs,
                         *m_window, m_window->menuBarView(), *m_dialogs, *m_textDocuments, *m_archives},
        m_folders);

    m_window->attach(*m_controller);
    m_timers->setHandler([this](int id) { m_controller->timer(id); });
    m_idleCalls = std::make_unique<IdleCalls>([this] { return m_controller->remote().busy(); });
}

DesktopProgram::~DesktopProgram()
{
    m_whenActive.reset();
    m_session.reset();
    m_idleCalls.reset();
    m_timers->setHandler({});
    m_window->detach();
}

void DesktopProgram::start()
{
    m_whenActive = std::make_unique<WhenActive>(*m_mpvLibrary, *m_controller);
    m_window->installEventFilter(m_whenActive.get());
    m_controller->holdStartPage();
    m_window->showAtStart();
    m_controller->initialise();
}

void DesktopProgram::whenActive(std::function<void()> call)
{
    m_whenActive->post(std::move(call));
}

void DesktopProgram::openAtStart(const std::string& book)
{
    m_controller->openAtStart(book);
}

void DesktopProgram::answer(SingleInstance& instance)
{
    DesktopWindow* window = m_window.get();
    QObject::connect(&instance, &SingleInstance::showRequested, window, &DesktopWindow::restoreFromRequest);
    QObject::connect(&instance, &SingleInstance::openRequested, window, [this](const QByteArray& path) {
        m_window->restoreFromRequest();
        m_idleCalls->post([this, book = path.toStdString()] { m_controller->openAtStart(book); });
    });
}

void DesktopProgram::joinSession(const QDBusConnection& session, const QDBusConnection& system)
{
    MprisService::Hooks hooks;
    hooks.raise = [this] { m_window->restoreFromRequest(); };
    hooks.quit = [this] {
        m_idleCalls->runWaiting();
        m_window->endSession();
    };
    hooks.whenIdle = [this](std::function<void()> call) { m_idleCalls->post(std::move(call)); };
    m_session = std::make_unique<SessionServices>(
        m_controller->remote(), std::move(hooks),
        [this] { return QString::fromStdString(m_controller->text(str::kSleepInhibitReason)); }, session, system);
}

}  // namespace korvin
