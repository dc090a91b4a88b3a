#pragma once

// A stand-in for the HTML view, which is built elsewhere, so that the window
// runs until it arrives. It keeps the HtmlView interface.

#include <QTextEdit>

#include <string>

#include "platform/htmlview.h"

namespace korvin {

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

}  // namespace korvin
