#pragma once

// Stand-ins for parts that are built elsewhere, so that the window runs until
// they arrive: a player that plays nothing, a QTextBrowser text view and the
// book dump. Each keeps the interface of the part it stands for.

#include <QTextEdit>

#include <ostream>
#include <string>

#include "platform/htmlview.h"
#include "platform/mediaplayer.h"

namespace korvin {

// Keeps the state a player reports, without sound: play() plays until pause(),
// the position stays where it was set.
class SilentPlayer : public MediaPlayer {
public:
    void setUrl(const std::string& path) override;
    std::string url() const override { return m_url; }
    int openState() const override { return m_url.empty() ? 0 : kOpenStateMediaOpen; }
    int playState() const override { return m_state; }
    void play() override { m_state = m_url.empty() ? kStopped : kPlaying; }
    void pause() override { m_state = m_url.empty() ? kStopped : kPaused; }
    double position() const override { return m_position; }
    void setPosition(double seconds) override { m_position = seconds < 0 ? 0 : seconds; }
    double rate() const override { return m_rate; }
    void setRate(double rate) override { m_rate = rate; }
    int volume() const override { return m_volume; }
    void setVolume(int volume) override { m_volume = volume < 0 ? 0 : (volume > 100 ? 100 : volume); }
    double duration() const override { return 0; }
    int errorCount() const override { return 0; }
    void clearErrors() override {}
    void setErrorHandler(std::function<void()>) override {}

private:
    std::string m_url;
    int m_state = kUndefined;
    double m_position = 0;
    double m_rate = 1.0;
    int m_volume = 50;
};

class SilentTitleCue : public TitleCuePlayer {
public:
    void playRange(const std::string&, int) override {}
};

// Shows local HTML files, read-only with a keyboard caret. A read-only
// QTextEdit, not a QTextBrowser: screen readers get a QTextBrowser as a label,
// a QTextEdit as a text. Links are not followed; the markup operations report
// a missing document.
class TextBrowserView : public QTextEdit, public HtmlView {
    Q_OBJECT
public:
    explicit TextBrowserView(QWidget* parent);

    void setListener(Listener* listener) override { m_listener = listener; }
    void navigate(const std::string& location) override;
    std::string locationName() const override { return m_location; }
    bool hasDocument() const override { return !m_location.empty(); }
    std::optional<std::string> bodyInnerHtml() const override { return std::nullopt; }
    std::optional<std::string> bodyOuterHtml() const override { return std::nullopt; }
    bool setBodyInnerHtml(const std::string&) override { return false; }
    bool hasElement(const std::string&) const override { return false; }
    std::optional<std::string> elementInnerHtml(const std::string&) const override { return std::nullopt; }
    bool setElementInnerHtml(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> elementOuterHtml(const std::string&) const override { return std::nullopt; }
    bool scrollIntoView(const std::string&) override { return false; }
    int bodyScrollHeight() const override;
    int scrollTop() const override;
    void setScrollTop(int top) override;
    int viewHeight() const override;

private:
    void load(const std::string& location);

    Listener* m_listener = nullptr;
    std::string m_location;
};

// `korvin --dump-book`: reports a book whose ncc.html cannot be opened.
int dumpBook(const std::string& bookArgument, std::ostream& out, std::ostream& err, const std::string& failureMessage);

}  // namespace korvin
