// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/ca_daisy.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace korvin {

namespace {

constexpr int kRepaintIntervalMs = 40;

}  // namespace

CA_Daisy::CA_Daisy(Dialogs::ReadingTexts texts, Reading reading, QWidget* parent, int startDelayMs)
    : QDialog(parent)
    , m_texts(std::move(texts))
    , m_run(std::move(reading))
    , m_group(new QGroupBox(this))
    , m_status(new QLabel(m_group))
    , m_progress(new QProgressBar(m_group))
    , m_startTimer(new QTimer(this))
{
    setModal(true);
    setWindowFlags((windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint) &
                   ~(Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint));
    // The texts are there before the box shows, so that the screen reader
    // announces the box with them; the reading itself still waits for the
    // timer's first tick.
    setWindowTitle(QString::fromStdString(m_texts.caption));
    m_group->setTitle(QString::fromStdString(m_texts.groupText));
    setAccessibleName(windowTitle());
    setAccessibleDescription(m_group->title());
    m_status->setAlignment(Qt::AlignCenter);
    m_progress->setRange(0, 0);
    m_progress->setTextVisible(false);

    auto* groupLayout = new QVBoxLayout(m_group);
    groupLayout->addWidget(m_status);
    groupLayout->addWidget(m_progress);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_group);
    setMinimumWidth(360);

    m_startTimer->setSingleShot(false);
    m_startTimer->setInterval(startDelayMs);
    connect(m_startTimer, &QTimer::timeout, this, &CA_Daisy::startReading);
    m_startTimer->start();
}

CA_Daisy::~CA_Daisy() = default;

void CA_Daisy::startReading()
{
    m_startTimer->stop();
    if (m_reading)
        return;
    m_reading = true;
    showProgress(true);
    const int result = m_run ? m_run(*this) : 0;
    m_reading = false;
    done(result);
}

void CA_Daisy::setRange(int minimum, int maximum)
{
    m_progress->setRange(minimum, std::max(minimum, maximum));
    showProgress(false);
}

void CA_Daisy::setPosition(int position)
{
    m_progress->setValue(std::clamp(position, m_progress->minimum(), m_progress->maximum()));
    showProgress(false);
}

void CA_Daisy::setStatus(const std::string& text)
{
    m_status->setText(QString::fromStdString(text));
    showProgress(false);
}

void CA_Daisy::showProgress(bool force)
{
    if (!isVisible())
        return;
    if (!force && m_sinceRepaint.isValid() && m_sinceRepaint.elapsed() < kRepaintIntervalMs)
        return;
    m_sinceRepaint.start();
    repaint();
}

void CA_Daisy::reject()
{
    // No way out but the end of the reading.
}

void CA_Daisy::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CA_Daisy::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

}  // namespace korvin
