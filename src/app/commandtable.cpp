// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandtable.h"

namespace korvin {

void CommandTable::onCommand(int id, CommandHandler handler)
{
    m_commands[id] = std::move(handler);
}

void CommandTable::onNotify(int control, int code, NotifyHandler handler)
{
    m_notifications[{control, code}] = std::move(handler);
}

void CommandTable::onEvent(int control, int event, EventHandler handler)
{
    m_events[{control, event}] = std::move(handler);
}

void CommandTable::onMessage(int message, MessageHandler handler)
{
    m_messages[message] = std::move(handler);
}

// Handlers are copied before they run: a handler may change the table.
bool CommandTable::command(int id) const
{
    const auto it = m_commands.find(id);
    if (it == m_commands.end())
        return false;
    const CommandHandler handler = it->second;
    if (handler)
        handler();
    return true;
}

bool CommandTable::notify(int control, int code, int item, int state, int& result) const
{
    const auto it = m_notifications.find({control, code});
    if (it == m_notifications.end())
        return false;
    const NotifyHandler handler = it->second;
    result = handler ? handler(item, state) : 0;
    return true;
}

bool CommandTable::event(int control, int event, EventArgs& args) const
{
    const auto it = m_events.find({control, event});
    if (it == m_events.end())
        return false;
    const EventHandler handler = it->second;
    if (handler)
        handler(args);
    return true;
}

bool CommandTable::message(int message, const MessageArgs& args) const
{
    const auto it = m_messages.find(message);
    if (it == m_messages.end())
        return false;
    const MessageHandler handler = it->second;
    if (handler)
        handler(args);
    return true;
}

}  // namespace korvin
