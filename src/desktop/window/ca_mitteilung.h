// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <atomic>

#include "platform/waitwindow.h"

class QLineEdit;

namespace korvin {

// The wait window: a small window without caption, centred over its parent,
// holding one read-only, centred line (1030) with the text. It is offered to
// the screen reader as an alert whose name is the text, and takes the focus,
// so that the listener hears it as it appears. Only the end of the work closes
// it; Escape asks cancellable work to stop.
class CA_Mitteilung : public QDialog {
    Q_OBJECT
public:
    // `settleMs`: how long the window stays up, answering the screen reader,
    // before the work takes the thread.
    CA_Mitteilung(const QString& text, QWidget* parent, int settleMs);
    ~CA_Mitteilung() override;

    // Shows the window and runs `work` as WaitWindow::run describes.
    bool run(const WaitWindow::Work& work, WaitWindow::Options options);

    QLineEdit& line() const { return *m_line; }
    // Whether the work is running (for tests).
    bool isWorking() const { return m_working; }

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showAndSettle();

    QLineEdit* m_line;
    int m_settleMs;
    std::atomic<bool> m_cancelled{false};
    bool m_cancellable = false;
    bool m_working = false;
};

}  // namespace korvin
