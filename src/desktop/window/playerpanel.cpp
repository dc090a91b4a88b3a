// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/playerpanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <algorithm>
#include <cmath>

#include "platform/mediaplayer.h"

namespace korvin {

namespace {

constexpr int kRefreshMs = 250;

}  // namespace

PlayerPanel::PlayerPanel(MediaPlayer& player, QWidget* parent)
    : QWidget(parent)
    , m_player(player)
    , m_button(new QPushButton(this))
    , m_time(new QLabel(this))
    , m_slider(new QSlider(Qt::Horizontal, this))
    , m_speed(new QLabel(this))
    , m_volume(new QLabel(this))
    , m_refresh(new QTimer(this))
{
    m_button->setFocusPolicy(Qt::StrongFocus);
    m_button->setAutoDefault(false);
    m_time->setTextFormat(Qt::PlainText);
    m_time->setMinimumWidth(m_time->fontMetrics().horizontalAdvance(QStringLiteral("000:00 / 000:00")));
    // The slider shows the position; seeking stays with the commands, which
    // keep the phrase tables in step.
    m_slider->setFocusPolicy(Qt::NoFocus);
    m_slider->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_slider->setRange(0, 0);

    m_speed->setTextFormat(Qt::PlainText);
    m_volume->setTextFormat(Qt::PlainText);
    // Shown once there are settings to show: an empty label has no name to read.
    m_speed->hide();
    m_volume->hide();

    // Two rows: the panel is as narrow as the tree above it.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setVerticalSpacing(0);
    layout->addWidget(m_button, 0, 0);
    layout->addWidget(m_time, 0, 1);
    layout->addWidget(m_slider, 0, 2);
    layout->addWidget(m_speed, 1, 0);
    layout->addWidget(m_volume, 1, 1);
    layout->setColumnStretch(2, 1);

    connect(m_button, &QPushButton::clicked, this, [this] {
        if (m_send)
            m_send();
        refresh();
    });
    connect(m_refresh, &QTimer::timeout, this, &PlayerPanel::refresh);
    m_refresh->start(kRefreshMs);
    setTexts({QStringLiteral("Wiedergabe"), QStringLiteral("Wiedergabe/Pause"), QStringLiteral("Position"),
              QStringLiteral("Wiedergabe"), QStringLiteral("Pause"), QStringLiteral("Geschwindigkeit"),
              QStringLiteral("Lautstärke"), true});
}

void PlayerPanel::setAudioSettingsSource(std::function<AudioSettings()> source)
{
    m_audioSettings = std::move(source);
    m_speed->setVisible(bool(m_audioSettings));
    m_volume->setVisible(bool(m_audioSettings));
    refresh();
}

void PlayerPanel::setTexts(const Texts& texts)
{
    m_texts = texts;
    setAccessibleName(texts.panel);
    m_button->setAccessibleName(texts.button);
    m_slider->setAccessibleName(texts.position);
    m_button->setText(m_showsPlaying ? texts.pause : texts.play);
    refresh();
}

QString PlayerPanel::timeText(double seconds)
{
    const long whole = std::isfinite(seconds) && seconds > 0 ? static_cast<long>(seconds) : 0;
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

QString PlayerPanel::rateText(double rate, bool decimalComma)
{
    QString text = QString::number(std::isfinite(rate) ? rate : 0.0, 'f', 2);
    if (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (decimalComma)
        text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

void PlayerPanel::refresh()
{
    if (m_audioSettings) {
        const AudioSettings settings = m_audioSettings();
        const QString speed = m_texts.speed + QLatin1Char(' ') + rateText(settings.rate, m_texts.decimalComma);
        const QString volume = m_texts.volume + QLatin1Char(' ') + QString::number(settings.volume);
        // Set only when changed: a label that is set anew may be read anew.
        if (m_speed->text() != speed)
            m_speed->setText(speed);
        if (m_volume->text() != volume)
            m_volume->setText(volume);
    }
    const double duration = m_player.duration();
    const double position = m_player.position();
    const QString text = timeText(position) + QStringLiteral(" / ") + timeText(duration);
    if (m_time->text() != text)
        m_time->setText(text);
    const int maximum = duration > 0 ? static_cast<int>(duration) : 0;
    if (m_slider->maximum() != maximum)
        m_slider->setRange(0, maximum);
    const int value = std::clamp(position > 0 ? static_cast<int>(position) : 0, 0, maximum);
    if (m_slider->value() != value)
        m_slider->setValue(value);
    const bool playing = m_player.playState() == MediaPlayer::kPlaying;
    if (playing != m_showsPlaying || m_button->text().isEmpty()) {
        m_showsPlaying = playing;
        m_button->setText(playing ? m_texts.pause : m_texts.play);
    }
}

}  // namespace korvin
