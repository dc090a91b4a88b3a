// SPDX-License-Identifier: GPL-3.0-or-later
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
// sends the pause/continue command, the position as "m:ss / m:ss", a position
// slider that only shows, and the speed and volume settings as two short
// labels ("Speed 1.4", "Volume 60") that a screen reader's review keys reach;
// they announce nothing by themselves. Refreshed four times a second.
class PlayerPanel : public QWidget {
    Q_OBJECT
public:
    PlayerPanel(MediaPlayer& player, QWidget* parent);

    // Receives the pause/continue command when the button is pressed.
    void setCommandSender(std::function<void()> sendPauseContinue) { m_send = std::move(sendPauseContinue); }
    // Where the speed and volume settings are read; the labels stay empty
    // without one.
    struct AudioSettings {
        double rate = 1.0;
        int volume = 50;
    };
    void setAudioSettingsSource(std::function<AudioSettings()> source);
    // Names in the interface language: panel, button, slider; the button's
    // text for a paused and for a playing player; the words before the speed
    // and the volume, and whether a decimal comma stands for the point.
    struct Texts {
        QString panel, button, position, play, pause;
        QString speed, volume;
        bool decimalComma = false;
    };
    void setTexts(const Texts& texts);

    QPushButton& button() const { return *m_button; }
    QLabel& timeLabel() const { return *m_time; }
    QSlider& slider() const { return *m_slider; }
    QLabel& speedLabel() const { return *m_speed; }
    QLabel& volumeLabel() const { return *m_volume; }

    // Reads the player now.
    void refresh();
    // "m:ss" of whole seconds (minutes can pass 59).
    static QString timeText(double seconds);
    // A rate with one or two decimals as it needs them ("1.4", "1.25", "1.0").
    static QString rateText(double rate, bool decimalComma);

private:
    MediaPlayer& m_player;
    QPushButton* m_button;
    QLabel* m_time;
    QSlider* m_slider;
    QLabel* m_speed;
    QLabel* m_volume;
    QTimer* m_refresh;
    std::function<AudioSettings()> m_audioSettings;
    Texts m_texts;
    std::function<void()> m_send;
    bool m_showsPlaying = false;
};

}  // namespace korvin
