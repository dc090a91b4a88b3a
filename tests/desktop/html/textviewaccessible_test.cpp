// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/textviewaccessible.h"

#include <QAccessible>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>

#include <gtest/gtest.h>

namespace korvin {
namespace {

// A text browser of two paragraphs, the first long enough to wrap.
class TextViewAccessibleTest : public ::testing::Test {
protected:
    TextViewAccessibleTest()
    {
        TextViewAccessible::useFor(&view);
        view.setAccessibleName(QStringLiteral("Text"));
        view.resize(200, 300);
        view.setHtml(QStringLiteral("<p>%1</p><p>Ende</p>").arg(QString(QStringLiteral("Wort ")).repeated(40).trimmed()));
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
        accessible = QAccessible::queryAccessibleInterface(&view);
        text = accessible ? accessible->textInterface() : nullptr;
    }

    QTextBrowser view;
    QAccessibleInterface* accessible = nullptr;
    QAccessibleTextInterface* text = nullptr;
};

TEST_F(TextViewAccessibleTest, IsAReadOnlyTextWithItsName)
{
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::EditableText);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Text"));
    EXPECT_TRUE(accessible->state().readOnly);
    EXPECT_TRUE(accessible->state().multiLine);
    EXPECT_TRUE(accessible->text(QAccessible::Value).endsWith(QStringLiteral("Ende")));
}

TEST_F(TextViewAccessibleTest, GivesTheTextAndItsLength)
{
    ASSERT_NE(text, nullptr);
    const int length = static_cast<int>(view.toPlainText().size());
    EXPECT_EQ(text->characterCount(), length);
    EXPECT_EQ(text->text(0, 4), QStringLiteral("Wort"));
    EXPECT_EQ(text->text(length - 5, length), QStringLiteral("\nEnde"));
    EXPECT_EQ(text->text(length - 4, length + 100), QStringLiteral("Ende"));

    // A picture stands in the text as one character that has no text of its
    // own (its alt text follows it): a screen reader reads it as a space, and
    // the places after it stay where they are.
    QTextCursor end(view.document());
    end.movePosition(QTextCursor::End);
    end.insertImage(QStringLiteral("picture.png"));
    end.insertText(QStringLiteral("Bild"));
    EXPECT_EQ(text->characterCount(), length + 5);
    EXPECT_EQ(text->text(length, length + 5), QStringLiteral(" Bild"));
    EXPECT_FALSE(accessible->text(QAccessible::Value).contains(QChar::ObjectReplacementCharacter));
}

TEST_F(TextViewAccessibleTest, FollowsAndMovesTheCaretAndTheSelection)
{
    ASSERT_NE(text, nullptr);
    QTextCursor cursor = view.textCursor();
    cursor.setPosition(7);
    view.setTextCursor(cursor);
    EXPECT_EQ(text->cursorPosition(), 7);
    text->setCursorPosition(12);
    EXPECT_EQ(view.textCursor().position(), 12);
    EXPECT_EQ(text->selectionCount(), 0);
    text->setSelection(0, 5, 9);
    int start = 0;
    int end = 0;
    text->selection(0, &start, &end);
    EXPECT_EQ(text->selectionCount(), 1);
    EXPECT_EQ(start, 5);
    EXPECT_EQ(end, 9);
    text->removeSelection(0);
    EXPECT_EQ(text->selectionCount(), 0);
}

TEST_F(TextViewAccessibleTest, LinesAreTheLinesOnTheScreen)
{
    ASSERT_NE(text, nullptr);
    int start = -1;
    int end = -1;
    const QString first = text->textAtOffset(2, QAccessible::LineBoundary, &start, &end);
    EXPECT_EQ(start, 0);
    EXPECT_GT(end, 4);
    EXPECT_LT(end, 100);  // the long paragraph wraps
    EXPECT_TRUE(first.startsWith(QStringLiteral("Wort")));
    int nextStart = -1;
    int nextEnd = -1;
    text->textAfterOffset(2, QAccessible::LineBoundary, &nextStart, &nextEnd);
    EXPECT_EQ(nextStart, end);
    int beforeStart = 0;
    int beforeEnd = 0;
    EXPECT_TRUE(text->textBeforeOffset(2, QAccessible::LineBoundary, &beforeStart, &beforeEnd).isEmpty());
    EXPECT_EQ(beforeStart, -1);
    const int length = text->characterCount();
    EXPECT_EQ(text->textAtOffset(length - 1, QAccessible::LineBoundary, &start, &end), QStringLiteral("Ende"));
    text->textAfterOffset(length - 1, QAccessible::LineBoundary, &start, &end);
    EXPECT_EQ(start, -1);
    EXPECT_EQ(text->textAtOffset(1, QAccessible::WordBoundary, &start, &end).trimmed(), QStringLiteral("Wort"));
}

TEST_F(TextViewAccessibleTest, CharacterPlacesMatchPoints)
{
    ASSERT_NE(text, nullptr);
    const QRect place = text->characterRect(2);
    EXPECT_FALSE(place.isEmpty());
    EXPECT_EQ(text->offsetAtPoint(place.center()), 2);
    EXPECT_EQ(text->offsetAtPoint(view.mapToGlobal(QPoint(-50, -50))), -1);
    text->scrollToSubstring(text->characterCount() - 4, text->characterCount());
}

}  // namespace
}  // namespace korvin
