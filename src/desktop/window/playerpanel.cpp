#include "desktop/window/playerpanel.h"

#include <QHBoxLayout>
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

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_button);
    layout->addWidget(m_time);
    layout->addWidget(m_slider, 1);

    connect(m_button, &QPushButton::clicked, this, [this] {
        if (m_send)
            m_send();
        refresh();
    });
    connect(m_refresh, &QTimer::timeout, this, &PlayerPanel::refresh);
    m_refresh->start(kRefreshMs);
    setTexts({QStringLiteral("Wiedergabe"), QStringLiteral("Wiedergabe/Pause"), QStringLiteral("Position"),
              QStringLiteral("Wiedergabe"), QStringLiteral("Pause")});
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

void PlayerPanel::refresh()
{
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
