// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/dialogs.h"
#include "platform/htmlview.h"
#include "platform/listbox.h"
#include "platform/mediaplayer.h"
#include "platform/menubar.h"
#include "platform/messagebox.h"
#include "platform/textdocuments.h"
#include "platform/waitwindow.h"
#include "platform/window.h"

namespace korvin::test {

// Plain recording fakes of the platform interfaces, for tests of the system's
// code. The player and the timers have their simulations (simulatedplayer.h,
// simulatedtimers.h).

class FakeListBox final : public ListBox {
public:
    int addString(const std::string& text) override;
    void deleteString(int index) override;
    void resetContent() override;
    int count() const override { return static_cast<int>(m_lines.size()); }
    std::string text(int index) const override;
    int currentIndex() const override { return m_current; }
    void setCurrentIndex(int index) override;
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    bool isEnabled() const override { return m_enabled; }

    const std::vector<std::string>& lines() const { return m_lines; }

private:
    std::vector<std::string> m_lines;
    int m_current = -1;
    bool m_enabled = true;
};

class FakeMessageBoxes final : public MessageBoxes {
public:
    struct Shown {
        std::string text;
        std::string caption;
        Icon icon;
        Buttons buttons;
    };
    Result show(const std::string& text, const std::string& caption, Icon icon, Buttons buttons = Buttons::kOk,
                const ButtonTexts& buttonTexts = {}) override;

    std::vector<Shown> shown;
    std::vector<ButtonTexts> buttonTexts;  // of every box shown
    std::vector<Result> answers;  // taken in turn; kOk when none is left
    std::function<void()> whileShowing;
};

class FakeDialogs final : public Dialogs {
public:
    std::optional<std::string> openNccFile(const std::string& title, const std::string& filterText,
                                           const std::string& initialFolder) override;
    std::optional<Rgb> chooseColour(const Rgb& initial) override;
    int runReading(const ReadingTexts& texts, const std::function<int(ReadProgress&)>& reading) override;
    std::optional<std::string> askSearchTerm(const SearchTexts& texts) override;
    std::optional<std::string> askPageNumber(const PageTexts& texts) override;
    void showAbout() override { ++aboutShown; }
    std::optional<std::string> chooseDrive(const DriveTexts& texts, const std::vector<Drive>& drives) override;
    std::optional<std::string> chooseBook(const BookSearchTexts& texts, BookList& list) override;

    // Answers of the next dialogs; nullopt cancels.
    std::optional<std::string> nccFile;
    std::vector<std::optional<std::string>> nccFiles;  // taken in turn before `nccFile`
    std::optional<std::string> drive;
    // Works the book search dialog; cancels it when not set.
    std::function<std::optional<std::string>(BookList&)> chooseFromList;
    std::optional<Rgb> colour;
    std::optional<std::string> searchTerm;
    std::optional<std::string> pageNumber;
    // What the dialogs were asked.
    std::vector<std::string> fileTitles;
    std::vector<std::string> fileFolders;  // the initial folder of each file dialog
    std::vector<DriveTexts> driveDialogs;
    std::vector<std::vector<Drive>> driveLists;
    std::vector<BookSearchTexts> bookSearchDialogs;
    std::vector<Rgb> colourInitials;
    std::vector<SearchTexts> searchDialogs;
    std::vector<PageTexts> pageDialogs;
    std::vector<ReadingTexts> readings;
    std::vector<std::string> statusTexts;  // the reading's status lines, in order
    // Runs while the colour chooser is open.
    std::function<void()> whileChoosingColour;
    // Runs while the search dialog is open.
    std::function<void()> whileAskingSearchTerm;
    // Runs while the go-to-page dialog is open.
    std::function<void()> whileAskingPageNumber;
    int aboutShown = 0;
};

// Runs the work at once, on the caller's thread, and remembers what it showed.
class FakeWaitWindow final : public WaitWindow {
public:
    bool run(const std::string& text, const Work& work, Options options) override;

    std::vector<std::string> texts;
    bool showing = false;  // while the work runs
    bool cancel = false;   // the listener presses Escape before the work starts
};

// Text documents the test describes: paragraphs, each an id with its text,
// one line each; or a text with its anchors as given. An unknown path cannot
// be read.
class FakeTextDocuments final : public TextDocuments {
public:
    void add(const std::string& path, const std::vector<std::pair<std::string, std::string>>& paragraphs);
    void addText(const std::string& path, DocumentText text) { m_documents[path] = std::move(text); }
    std::optional<DocumentText> read(const std::string& path) override;

    std::vector<std::string> reads;

private:
    std::map<std::string, DocumentText> m_documents;
};

class FakeWindow final : public Window {
public:
    void setAccelerators(const std::vector<Accelerator>& table) override { accelerators = table; ++acceleratorLoads; }
    void setFocus(int controlId) override { focus = controlId; }
    void redraw() override { ++redraws; }
    void languageChanged(int languageOffset) override { language = languageOffset; }
    void end() override { ended = true; }

    std::vector<Accelerator> accelerators;
    int acceleratorLoads = 0;
    int focus = 0;
    int redraws = 0;
    int language = -1;
    bool ended = false;
};

class FakeMenuBar final : public MenuBar {
public:
    void redraw() override { ++redraws; }
    int redraws = 0;
};

class FakeTitleCue final : public TitleCuePlayer {
public:
    void playRange(const std::string& path, int milliseconds) override;
    std::vector<std::pair<std::string, int>> played;
    std::function<void()> whilePlaying;
};

// An HTML view over documents the test describes: each a list of elements by id
// with their inner markup. The body's markup is the elements' markup in order
// (each as <P id="…">…</P>) until the body is set as a whole. Every navigation,
// the program's own and an activated link, raises before-navigation first; when
// not cancelled it shows the document afresh, as described (an unknown one is
// empty), and raises document-complete at once.
class FakeHtmlView final : public HtmlView {
public:
    using Elements = std::vector<std::pair<std::string, std::string>>;

    void addDocument(const std::string& path, Elements elements);
    // The listener activates a link with this target.
    void activateLink(const std::string& url);

    const std::vector<std::string>& navigations() const { return m_navigations; }

    void setListener(Listener* listener) override { m_listener = listener; }
    void navigate(const std::string& location) override;
    std::string locationName() const override { return m_location; }
    bool hasDocument() const override { return !m_location.empty(); }
    std::optional<std::string> bodyInnerHtml() const override;
    std::optional<std::string> bodyOuterHtml() const override;
    bool setBodyInnerHtml(const std::string& html) override;
    bool hasElement(const std::string& id) const override;
    std::optional<std::string> elementInnerHtml(const std::string& id) const override;
    bool setElementInnerHtml(const std::string& id, const std::string& html) override;
    std::optional<std::string> elementOuterHtml(const std::string& id) const override;
    bool scrollIntoView(const std::string& id) override;
    int bodyScrollHeight() const override { return scrollHeight; }
    int scrollTop() const override { return m_scrollTop; }
    void setScrollTop(int top) override { m_scrollTop = top; }
    int viewHeight() const override { return height; }

    int scrollHeight = 10000;
    int height = 500;
    int elementTop = 1000;  // where scrollIntoView puts the scroll top
    std::string scrolledTo;

private:
    Listener* m_listener = nullptr;
    std::map<std::string, Elements> m_documents;
    Elements m_shown;
    std::vector<std::string> m_navigations;
    std::string m_location;
    std::optional<std::string> m_body;
    int m_scrollTop = 0;
};

}  // namespace korvin::test
