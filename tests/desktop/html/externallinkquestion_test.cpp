// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/htmltextview.h"

#include "support/tempdir.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace korvin {
namespace {

// Stands in for the desktop's handler of a scheme, so nothing is launched.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    QStringList urls;
public slots:
    void open(const QUrl& url) { urls.push_back(url.toString()); }
};

// Answers the next modal box with `answer` and records what it showed.
struct Answer {
    std::function<void(QMessageBox&)> answer;
    QString text;
    QStringList buttons;
    bool asked = false;
};

void answerNextBox(Answer& answer)
{
    QTimer::singleShot(0, [&answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return answerNextBox(answer);
        answer.asked = true;
        answer.text = box->text();
        for (QAbstractButton* button : box->buttons())
            answer.buttons.push_back(button->text());
        answer.answer(*box);
    });
}

TEST(ExternalLinkQuestion, AnotherProgramOpensALinkOnlyWhenTheListenerSaysYes)
{
    OpenedUrls opened;
    for (const char* scheme : {"http", "https", "mailto", "ftp"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &opened, "open");
    test::TempDir dir;
    HtmlTextView view;
    view.navigate(dir.write("a.html", "<p id=a>text</p>").string());

    // Without texts in the interface's language, nothing is asked nor opened.
    view.activateLink("http://example.org/");
    EXPECT_TRUE(opened.urls.isEmpty());

    view.setExternalLinkTexts({"Verweis", "Öffnen?", "&Ja", "&Nein"});
    struct Case {
        const char* href;
        std::function<void(QMessageBox&)> answer;
        bool opens;
    };
    const Case cases[] = {
        {"http://example.org/a", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }, false},
        {"mailto:a@example.org", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }, false},
        {"ftp://example.org/b", [](QMessageBox& box) { box.buttons().front()->click(); }, true},  // Yes
    };
    for (const Case& c : cases) {
        opened.urls.clear();
        Answer answer;
        answer.answer = c.answer;
        answerNextBox(answer);
        view.activateLink(QString::fromLatin1(c.href));
        EXPECT_TRUE(answer.asked) << c.href;
        EXPECT_TRUE(answer.text.contains(QString::fromLatin1(c.href))) << c.href;
        EXPECT_EQ(answer.buttons, (QStringList{"&Ja", "&Nein"})) << c.href;
        EXPECT_EQ(opened.urls, c.opens ? QStringList{QString::fromLatin1(c.href)} : QStringList{}) << c.href;
        EXPECT_EQ(view.elementInnerHtml("a"), "text") << c.href;  // the document stays
    }
    for (const char* scheme : {"http", "https", "mailto", "ftp"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

}  // namespace
}  // namespace korvin

#include "externallinkquestion_test.moc"
