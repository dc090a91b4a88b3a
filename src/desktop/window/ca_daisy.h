// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include <functional>

#include "platform/dialogs.h"

class QGroupBox;
class QLabel;
class QProgressBar;
class QTimer;

namespace korvin {

// The modal progress box of the book reading. It shows up with its caption and
// group-box text (also its accessible name and description, which a screen
// reader announces with it); at the first tick of a one-second timer it runs
// the reading with itself as the reading's progress, then closes with the
// reading's result. Enter, Escape and the close box do nothing: only the
// reading ends it.
class CA_Daisy : public QDialog, public ReadProgress {
    Q_OBJECT
public:
    using Reading = std::function<int(ReadProgress&)>;

    CA_Daisy(Dialogs::ReadingTexts texts, Reading reading, QWidget* parent, int startDelayMs = 1000);
    ~CA_Daisy() override;

    // ReadProgress: the progress bar (control 1010) and the centred status line (1011).
    void setRange(int minimum, int maximum) override;
    void setPosition(int position) override;
    void setStatus(const std::string& text) override;

    QGroupBox& groupBox() const { return *m_group; }
    QLabel& statusLine() const { return *m_status; }
    QProgressBar& progressBar() const { return *m_progress; }
    bool isReading() const { return m_reading; }

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void startReading();
    // The reading holds the UI thread: repaint at once, but not for every line.
    void showProgress(bool force);

    Dialogs::ReadingTexts m_texts;
    Reading m_run;
    QGroupBox* m_group;
    QLabel* m_status;
    QProgressBar* m_progress;
    QTimer* m_startTimer;
    QElapsedTimer m_sinceRepaint;
    bool m_reading = false;
};

}  // namespace korvin
