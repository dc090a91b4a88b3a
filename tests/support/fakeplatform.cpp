// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fakeplatform.h"

namespace korvin::test {

int FakeListBox::addString(const std::string& text)
{
    m_lines.push_back(text);
    return count() - 1;
}

void FakeListBox::deleteString(int index)
{
    if (index < 0 || index >= count())
        return;
    m_lines.erase(m_lines.begin() + index);
    if (m_current == index)
        m_current = -1;
    else if (m_current > index)
        --m_current;
}

void FakeListBox::resetContent()
{
    m_lines.clear();
    m_current = -1;
}

std::string FakeListBox::text(int index) const
{
    return index >= 0 && index < count() ? m_lines[static_cast<std::size_t>(index)] : std::string();
}

void FakeListBox::setCurrentIndex(int index)
{
    m_current = index >= 0 && index < count() ? index : -1;
}

MessageBoxes::Result FakeMessageBoxes::show(const std::string& text, const std::string& caption, Icon icon,
                                            Buttons buttons, const ButtonTexts& texts)
{
    shown.push_back({text, caption, icon, buttons});
    buttonTexts.push_back(texts);
    if (whileShowing)
        whileShowing();
    if (answers.empty())
        return Result::kOk;
    const Result answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

std::optional<std::string> FakeDialogs::openNccFile(const std::string& title, const std::string&,
                                                    const std::string& initialFolder)
{
    fileTitles.push_back(title);
    fileFolders.push_back(initialFolder);
    if (!nccFiles.empty()) {
        std::optional<std::string> answer = nccFiles.front();
        nccFiles.erase(nccFiles.begin());
        return answer;
    }
    return nccFile;
}

std::optional<std::string> FakeDialogs::chooseDrive(const DriveTexts& texts, const std::vector<Drive>& drives)
{
    driveDialogs.push_back(texts);
    driveLists.push_back(drives);
    return drive;
}

std::optional<std::string> FakeDialogs::chooseBook(const BookSearchTexts& texts, BookList& list)
{
    bookSearchDialogs.push_back(texts);
    return chooseFromList ? chooseFromList(list) : std::nullopt;
}

std::optional<Rgb> FakeDialogs::chooseColour(const Rgb& initial)
{
    colourInitials.push_back(initial);
    if (whileChoosingColour)
        whileChoosingColour();
    return colour;
}

std::optional<std::string> FakeDialogs::askSearchTerm(const SearchTexts& texts)
{
    searchDialogs.push_back(texts);
    if (whileAskingSearchTerm)
        whileAskingSearchTerm();
    return searchTerm;
}

std::optional<std::string> FakeDialogs::askPageNumber(const PageTexts& texts)
{
    pageDialogs.push_back(texts);
    if (whileAskingPageNumber)
        whileAskingPageNumber();
    return pageNumber;
}

bool FakeWaitWindow::run(const std::string& text, const Work& work, Options options)
{
    texts.push_back(text);
    const std::atomic<bool> cancelled(cancel && options.cancellable);
    showing = true;
    if (work)
        work(cancelled);
    showing = false;
    return !cancelled;
}

void FakeTextDocuments::add(const std::string& path, const std::vector<std::pair<std::string, std::string>>& paragraphs)
{
    DocumentText document;
    for (const auto& [id, text] : paragraphs) {
        if (!document.text.empty())
            document.text += '\n';
        document.anchors.push_back({id, document.text.size()});
        document.text += text;
    }
    m_documents[path] = std::move(document);
}

std::optional<DocumentText> FakeTextDocuments::read(const std::string& path)
{
    reads.push_back(path);
    const auto found = m_documents.find(path);
    if (found == m_documents.end())
        return std::nullopt;
    return found->second;
}

namespace {

class RecordingProgress final : public ReadProgress {
public:
    explicit RecordingProgress(std::vector<std::string>& statusTexts)
        : m_statusTexts(statusTexts)
    {
    }
    void setRange(int, int) override {}
    void setPosition(int) override {}
    void setStatus(const std::string& text) override { m_statusTexts.push_back(text); }

private:
    std::vector<std::string>& m_statusTexts;
};

}  // namespace

int FakeDialogs::runReading(const ReadingTexts& texts, const std::function<int(ReadProgress&)>& reading)
{
    readings.push_back(texts);
    RecordingProgress progress(statusTexts);
    return reading(progress);
}

void FakeTitleCue::playRange(const std::string& path, int milliseconds)
{
    played.emplace_back(path, milliseconds);
    if (whilePlaying)
        whilePlaying();
}

void FakeHtmlView::addDocument(const std::string& path, Elements elements)
{
    m_documents[path] = std::move(elements);
}

void FakeHtmlView::activateLink(const std::string& url)
{
    navigate(url);
}

void FakeHtmlView::navigate(const std::string& location)
{
    bool cancel = false;
    if (m_listener)
        m_listener->beforeNavigate(location, cancel);
    if (cancel)
        return;
    // As a file that exists keeps a "#" of its name, a document known by the
    // whole location keeps it; otherwise the first "#" begins the fragment.
    const std::string path = m_documents.count(location) ? location : location.substr(0, location.find('#'));
    m_navigations.push_back(path);
    m_location = path;
    const auto it = m_documents.find(path);
    m_shown = it == m_documents.end() ? Elements() : it->second;
    m_body.reset();
    m_scrollTop = 0;
    if (m_listener)
        m_listener->documentComplete(path);
}

std::optional<std::string> FakeHtmlView::bodyInnerHtml() const
{
    if (!hasDocument())
        return std::nullopt;
    if (m_body)
        return m_body;
    std::string body;
    for (const auto& [id, inner] : m_shown)
        body += "<P id=\"" + id + "\">" + inner + "</P>";
    return body;
}

std::optional<std::string> FakeHtmlView::bodyOuterHtml() const
{
    const auto inner = bodyInnerHtml();
    if (!inner)
        return std::nullopt;
    return "<BODY>" + *inner + "</BODY>";
}

bool FakeHtmlView::setBodyInnerHtml(const std::string& html)
{
    if (!hasDocument())
        return false;
    m_body = html;
    return true;
}

bool FakeHtmlView::hasElement(const std::string& id) const
{
    return elementInnerHtml(id).has_value();
}

std::optional<std::string> FakeHtmlView::elementInnerHtml(const std::string& id) const
{
    for (const auto& [elementId, inner] : m_shown)
        if (elementId == id)
            return inner;
    return std::nullopt;
}

bool FakeHtmlView::setElementInnerHtml(const std::string& id, const std::string& html)
{
    for (auto& [elementId, inner] : m_shown)
        if (elementId == id) {
            inner = html;
            return true;
        }
    return false;
}

std::optional<std::string> FakeHtmlView::elementOuterHtml(const std::string& id) const
{
    const auto inner = elementInnerHtml(id);
    if (!inner)
        return std::nullopt;
    return "<P id=\"" + id + "\">" + *inner + "</P>";
}

bool FakeHtmlView::scrollIntoView(const std::string& id)
{
    if (!hasElement(id))
        return false;
    scrolledTo = id;
    m_scrollTop = elementTop;
    return true;
}

}  // namespace korvin::test
