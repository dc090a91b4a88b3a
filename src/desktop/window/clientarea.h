// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <functional>

namespace korvin {

// The main window's client area, where the controls stand at computed
// positions. Lays them out on every size change and once at its first paint.
class ClientArea : public QWidget {
    Q_OBJECT
public:
    explicit ClientArea(QWidget* parent);
    void setLayoutHandler(std::function<void()> layout) { m_layout = std::move(layout); }
    bool hasLaidOut() const { return m_firstLayoutDone; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void layoutNow();

    std::function<void()> m_layout;
    bool m_firstLayoutDone = false;
};

}  // namespace korvin
