#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QSlider;
class QTimer;

namespace korvin {

class MediaPlayer;

// The player's face in the window (control 1001): a play/pause button that
// sends the pause/continue command, the position as "m:ss / m:ss" and a
// position slider that only shows. Refreshed from the player four times a
// second.
class PlayerPanel : public QWidget {
    Q_OBJECT
public:
    PlayerPanel(MediaPlayer& player, QWidget* parent);

    // Receives the pause/continue command when the button is pressed.
    void setCommandSender(std::function<void()> sendPauseContinue) { m_send = std::move(sendPauseContinue); }
    // Names in the interface language: panel, button, slider; the button's
    // text for a paused and for a playing player.
    struct Texts {
        QString panel, button, position, play, pause;
    };
    void setTexts(const Texts& texts);

    QPushButton& button() const { return *m_button; }
    QLabel& timeLabel() const { return *m_time; }
    QSlider& slider() const { return *m_slider; }

    // Reads the player now.
    void refresh();
    // "m:ss" of whole seconds (minutes can pass 59).
    static QString timeText(double seconds);

private:
    MediaPlayer& m_player;
    QPushButton* m_button;
    QLabel* m_time;
    QSlider* m_slider;
    QTimer* m_refresh;
    Texts m_texts;
    std::function<void()> m_send;
    bool m_showsPlaying = false;
};

}  // namespace korvin
