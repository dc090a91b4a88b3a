// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace korvin {

// The embedded HTML view (the main window holds it as `CExplorer1`). It shows one
// document at a time: the start page, a text document of the book, the manual.
//
// Markup travels as UTF-8. Markup set on an element is read back in exactly the
// same form by the next get of that element; the highlighter relies on finding
// its inserted markup again by text. Changing markup never reloads the document.
// Every operation on a missing document or element is skipped and reports so
// through its result. All calls and events happen on the UI thread.
class HtmlView {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        // Raised for every navigation, those the program starts and those of an
        // activated link, before it happens. `url` is a local file as an absolute
        // path (or an URL with its scheme when it is not a local file), with its
        // "#fragment". Setting `cancel` keeps the current document.
        virtual void beforeNavigate(const std::string& url, bool& cancel) = 0;
        // Raised when a document has finished loading; `url` is its location.
        virtual void documentComplete(const std::string& url) = 0;
    };

    virtual ~HtmlView() = default;

    virtual void setListener(Listener* listener) = 0;

    // Shows the document at `location` (a file path, optionally with "#fragment").
    virtual void navigate(const std::string& location) = 0;

    // Names the shown document: its absolute file path. Empty when none is shown.
    virtual std::string locationName() const = 0;

    // Whether a document with a body is shown.
    virtual bool hasDocument() const = 0;

    // The body. nullopt / false when there is no document.
    virtual std::optional<std::string> bodyInnerHtml() const = 0;
    virtual std::optional<std::string> bodyOuterHtml() const = 0;
    virtual bool setBodyInnerHtml(const std::string& html) = 0;

    // An element by its id. nullopt / false when there is no such element.
    virtual bool hasElement(const std::string& id) const = 0;
    virtual std::optional<std::string> elementInnerHtml(const std::string& id) const = 0;
    virtual bool setElementInnerHtml(const std::string& id, const std::string& html) = 0;
    virtual std::optional<std::string> elementOuterHtml(const std::string& id) const = 0;
    // Scrolls so that the element stands at the top of the view.
    virtual bool scrollIntoView(const std::string& id) = 0;

    // Scroll metrics of the body, in pixels.
    virtual int bodyScrollHeight() const = 0;
    virtual int scrollTop() const = 0;
    virtual void setScrollTop(int top) = 0;
    virtual int viewHeight() const = 0;
};

// The main window holds its text view by the name of the component's wrapper.
using CExplorer1 = HtmlView;

}  // namespace korvin
