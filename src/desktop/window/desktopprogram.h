// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/services.h"

class QObject;
class QDBusConnection;

namespace korvin {

class DesktopWindow;
class HtmlTextDocuments;
class IdleCalls;
class LateScreenReader;
class MainController;
class MpvLibrary;
class QtDialogs;
class QtMessageBoxes;
class QtTimers;
class SessionServices;
class SingleInstance;
class WhenActive;
class ZipBookArchives;

// The desktop program's object graph: the player, the text view, the window
// with its controls, timers, message boxes and dialogs, and the main-window
// controller that drives them. Runs on the Qt UI thread; needs a QApplication.
class DesktopProgram {
public:
    explicit DesktopProgram(Folders folders);
    ~DesktopProgram();
    DesktopProgram(const DesktopProgram&) = delete;
    DesktopProgram& operator=(const DesktopProgram&) = delete;

    // Shows the window centred, then maximised, and initialises the controller
    // (no book, then the settings). Once the window is active, the start page
    // is shown and libmpv loaded in the background, unless a file to play has
    // needed it before.
    void start();
    // Runs `call` once the window is active and has its focus, as start()
    // says, or at once when that has passed. Only after start().
    void whenActive(std::function<void()> call);
    // A book named on the command line, opened after the start-up.
    void openAtStart(const std::string& book);

    // Answers later starts that `instance` hears of: the window comes to the
    // front, and a book handed over is opened as Open opens one (once no
    // dialog or handler holds the window). `instance` must outlive this.
    void answer(SingleInstance& instance);
    // Joins the desktop session: MPRIS 2 on `session`, and no sleep (asked of
    // the portal on `session`, else of logind on `system`) while a book plays.
    // Without buses nothing happens.
    void joinSession(const QDBusConnection& session, const QDBusConnection& system);
    SessionServices* sessionServices() const { return m_session.get(); }

    DesktopWindow& window() const { return *m_window; }
    MainController& controller() const { return *m_controller; }
    MediaPlayer& player() const { return *m_player; }
    HtmlView& textView() const { return *m_textView; }
    QtTimers& timers() const { return *m_timers; }
    const Folders& folders() const { return m_folders; }

private:
    Folders m_folders;
    std::unique_ptr<MpvLibrary> m_mpvLibrary;  // outlives the player and the title cue
    std::unique_ptr<WhenActive> m_whenActive;
    std::unique_ptr<LateScreenReader> m_lateScreenReader;
    std::unique_ptr<MediaPlayer> m_player;
    std::unique_ptr<TitleCuePlayer> m_titleCue;
    std::unique_ptr<DesktopWindow> m_window;
    HtmlView* m_textView = nullptr;  // a widget of the window
    std::unique_ptr<QtTimers> m_timers;
    std::unique_ptr<QtMessageBoxes> m_messageBoxes;
    std::unique_ptr<QtDialogs> m_dialogs;
    std::unique_ptr<HtmlTextDocuments> m_textDocuments;
    std::unique_ptr<ZipBookArchives> m_archives;
    std::unique_ptr<MainController> m_controller;
    std::unique_ptr<IdleCalls> m_idleCalls;
    std::unique_ptr<SessionServices> m_session;
};

}  // namespace korvin
