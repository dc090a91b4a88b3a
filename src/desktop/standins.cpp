#include "desktop/standins.h"

#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>


namespace korvin {

TextBrowserView::TextBrowserView(QWidget* parent)
    : QTextEdit(parent)
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setTabChangesFocus(true);
}

void TextBrowserView::navigate(const std::string& location)
{
    bool cancel = false;
    if (m_listener)
        m_listener->beforeNavigate(location, cancel);
    if (!cancel)
        load(location);
}

void TextBrowserView::load(const std::string& location)
{
    const QString path = QString::fromStdString(location.substr(0, location.find('#')));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath() + QLatin1Char('/')));
    setHtml(QString::fromUtf8(file.readAll()));
    m_location = QFileInfo(path).absoluteFilePath().toStdString();
    // The document is complete after the navigation call has returned, as a
    // browser reports it.
    QTimer::singleShot(0, this, [this, url = m_location] {
        if (m_listener)
            m_listener->documentComplete(url);
    });
}

int TextBrowserView::bodyScrollHeight() const
{
    return verticalScrollBar()->maximum() + viewport()->height();
}

int TextBrowserView::scrollTop() const
{
    return verticalScrollBar()->value();
}

void TextBrowserView::setScrollTop(int top)
{
    verticalScrollBar()->setValue(top);
}

int TextBrowserView::viewHeight() const
{
    return viewport()->height();
}

}  // namespace korvin
