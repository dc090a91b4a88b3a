// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/html/textviewaccessible.h"

#include <QAccessible>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>

namespace korvin {

namespace {

constexpr const char* kMarker = "korvinAccessibleText";

QAccessibleInterface* textViewFactory(const QString&, QObject* object)
{
    auto* view = qobject_cast<QTextEdit*>(object);
    if (view && view->property(kMarker).toBool())
        return new TextViewAccessible(view);
    return nullptr;
}

// Paragraph and line separators of the document, as the plain text has them.
QString plain(QString text)
{
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    // A picture's place in the text has no text of its own (its alt text
    // follows it); a screen reader would read the character as "object".
    text.replace(QChar::ObjectReplacementCharacter, QLatin1Char(' '));
    return text;
}

}  // namespace

TextViewAccessible::TextViewAccessible(QTextEdit* view)
    : QAccessibleWidget(view, QAccessible::EditableText)
{
}

void TextViewAccessible::useFor(QTextEdit* view)
{
    // Qt keeps the factory once, however often it is installed.
    QAccessible::installFactory(&textViewFactory);
    view->setProperty(kMarker, true);
}

QTextEdit* TextViewAccessible::view() const
{
    return static_cast<QTextEdit*>(widget());
}

QAccessible::State TextViewAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.editable = false;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QString TextViewAccessible::text(QAccessible::Text type) const
{
    if (type == QAccessible::Value)
        return plain(view()->toPlainText());
    return QAccessibleWidget::text(type);
}

void* TextViewAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

int TextViewAccessible::characterCount() const
{
    return std::max(0, view()->document()->characterCount() - 1);
}

int TextViewAccessible::clamped(int offset) const
{
    return std::clamp(offset, 0, characterCount());
}

void TextViewAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    const QTextCursor cursor = view()->textCursor();
    if (selectionIndex == 0 && cursor.hasSelection()) {
        *startOffset = cursor.selectionStart();
        *endOffset = cursor.selectionEnd();
    } else {
        *startOffset = *endOffset = 0;
    }
}

int TextViewAccessible::selectionCount() const
{
    return view()->textCursor().hasSelection() ? 1 : 0;
}

void TextViewAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void TextViewAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex != 0)
        return;
    QTextCursor cursor = view()->textCursor();
    cursor.clearSelection();
    view()->setTextCursor(cursor);
}

void TextViewAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    QTextCursor cursor(view()->document());
    cursor.setPosition(clamped(startOffset));
    cursor.setPosition(clamped(endOffset), QTextCursor::KeepAnchor);
    view()->setTextCursor(cursor);
}

int TextViewAccessible::cursorPosition() const
{
    return view()->textCursor().position();
}

void TextViewAccessible::setCursorPosition(int position)
{
    QTextCursor cursor = view()->textCursor();
    cursor.setPosition(clamped(position));
    view()->setTextCursor(cursor);
}

QString TextViewAccessible::text(int startOffset, int endOffset) const
{
    QTextCursor cursor(view()->document());
    cursor.setPosition(clamped(startOffset));
    cursor.setPosition(clamped(endOffset), QTextCursor::KeepAnchor);
    return plain(cursor.selectedText());
}

QString TextViewAccessible::lineAt(int offset, int* startOffset, int* endOffset) const
{
    QTextCursor cursor(view()->document());
    cursor.setPosition(clamped(offset));
    cursor.movePosition(QTextCursor::StartOfLine);
    const int start = cursor.position();
    cursor.movePosition(QTextCursor::EndOfLine);
    // A line includes its line end, as the screen reader expects.
    if (!cursor.atEnd())
        cursor.movePosition(QTextCursor::NextCharacter);
    *startOffset = start;
    *endOffset = cursor.position();
    return text(start, *endOffset);
}

QString TextViewAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                         int* endOffset) const
{
    if (boundaryType == QAccessible::LineBoundary)
        return lineAt(offset, startOffset, endOffset);
    return QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset, endOffset);
}

QString TextViewAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int* startOffset, int* endOffset) const
{
    if (boundaryType != QAccessible::LineBoundary)
        return QAccessibleTextInterface::textBeforeOffset(offset, boundaryType, startOffset, endOffset);
    int start = 0;
    int end = 0;
    lineAt(offset, &start, &end);
    if (start == 0) {
        *startOffset = *endOffset = -1;
        return {};
    }
    return lineAt(start - 1, startOffset, endOffset);
}

QString TextViewAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int* startOffset, int* endOffset) const
{
    if (boundaryType != QAccessible::LineBoundary)
        return QAccessibleTextInterface::textAfterOffset(offset, boundaryType, startOffset, endOffset);
    int start = 0;
    int end = 0;
    lineAt(offset, &start, &end);
    if (end >= characterCount() || end == start) {
        *startOffset = *endOffset = -1;
        return {};
    }
    return lineAt(end, startOffset, endOffset);
}

QRect TextViewAccessible::characterRect(int offset) const
{
    QTextCursor cursor(view()->document());
    cursor.setPosition(clamped(offset));
    QRect place = view()->cursorRect(cursor);
    const QChar character = view()->document()->characterAt(cursor.position());
    place.setWidth(std::max(1, view()->fontMetrics().horizontalAdvance(character)));
    return place.translated(view()->viewport()->mapToGlobal(QPoint(0, 0)));
}

int TextViewAccessible::offsetAtPoint(const QPoint& point) const
{
    const QPoint local = view()->viewport()->mapFromGlobal(point);
    if (!view()->viewport()->rect().contains(local))
        return -1;
    return view()->cursorForPosition(local).position();
}

void TextViewAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    QTextCursor cursor(view()->document());
    cursor.setPosition(clamped(endIndex));
    const QRect end = view()->cursorRect(cursor);
    cursor.setPosition(clamped(startIndex));
    const QRect start = view()->cursorRect(cursor);
    QScrollBar* bar = view()->verticalScrollBar();
    const int height = view()->viewport()->height();
    if (start.top() < 0)
        bar->setValue(bar->value() + start.top());
    else if (end.bottom() > height)
        bar->setValue(bar->value() + std::min(start.top(), end.bottom() - height));
}

QString TextViewAccessible::attributes(int offset, int* startOffset, int* endOffset) const
{
    // No text attributes are offered: the whole text is one run.
    Q_UNUSED(offset);
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

}  // namespace korvin
