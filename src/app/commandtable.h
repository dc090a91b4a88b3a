// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>

namespace korvin {

// What an event of an embedded component carries.
struct EventArgs {
    std::string url;      // before navigation, document complete
    bool cancel = false;  // set by a before-navigation handler to keep the document
};

// What a window message carries.
struct MessageArgs {
    int timerId = 0;          // kTimer: the timer that ticked
    bool menuClosed = false;  // kMenuSelect: the menus closed (false: a menu opens)
};

// The window messages that are routed by number.
namespace message {
inline constexpr int kTimer = 0x0113;
inline constexpr int kClose = 0x0010;
inline constexpr int kSystemCommand = 0x0112;
inline constexpr int kHelp = 0x0053;
inline constexpr int kMenuSelect = 0x011F;
}  // namespace message

// The main window's single dispatch table: commands by id, notifications by
// (control, code), events by (control, event id) and messages by number. Ids in
// no table are ignored.
class CommandTable {
public:
    using CommandHandler = std::function<void()>;
    // (item or row, row state); answers with the notification's result.
    using NotifyHandler = std::function<int(int item, int state)>;
    using EventHandler = std::function<void(EventArgs&)>;
    using MessageHandler = std::function<void(const MessageArgs&)>;

    void onCommand(int id, CommandHandler handler);
    void onNotify(int control, int code, NotifyHandler handler);
    void onEvent(int control, int event, EventHandler handler);
    void onMessage(int message, MessageHandler handler);

    bool hasCommand(int id) const { return m_commands.count(id) != 0; }

    // Each returns whether a handler ran.
    bool command(int id) const;
    bool notify(int control, int code, int item, int state, int& result) const;
    bool event(int control, int event, EventArgs& args) const;
    bool message(int message, const MessageArgs& args = MessageArgs()) const;

private:
    std::map<int, CommandHandler> m_commands;
    std::map<std::pair<int, int>, NotifyHandler> m_notifications;
    std::map<std::pair<int, int>, EventHandler> m_events;
    std::map<int, MessageHandler> m_messages;
};

}  // namespace korvin
