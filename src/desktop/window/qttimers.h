// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>
#include <map>
#include <memory>

#include "platform/timers.h"

class QTimer;

namespace korvin {

// The main window's timers over QTimer; every tick goes to the handler (the
// main window's timer procedure) with the timer's id.
class QtTimers : public QObject, public Timers {
    Q_OBJECT
public:
    explicit QtTimers(QObject* parent = nullptr);
    ~QtTimers() override;

    void setHandler(std::function<void(int id)> handler) { m_handler = std::move(handler); }

    void setTimer(int id, int milliseconds) override;
    void killTimer(int id) override;
    bool isRunning(int id) const override;
    // The interval of a running timer, 0 when it is not running.
    int interval(int id) const;

private:
    std::map<int, std::unique_ptr<QTimer>> m_timers;
    std::function<void(int)> m_handler;
};

}  // namespace korvin
