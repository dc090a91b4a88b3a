// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QProxyStyle>
#include <QString>

namespace korvin {

// Draws a menu item's shortcut as the menu's own text spells it ("Strg+O",
// "Umsch+P", "Leer") instead of Qt's English key names, which Qt's menus
// otherwise show. Only the drawing changes: the actions keep their key
// sequences, so a screen reader still gets the shortcut from them.
// Grayed items can be reached with the arrow keys (they cannot be chosen), so
// that a listener hears that they exist.
class MenuShortcutStyle : public QProxyStyle {
    Q_OBJECT
public:
    MenuShortcutStyle();

    // Shortcut texts by the text Qt would show (QKeySequence::NativeText).
    void setShortcutTexts(QHash<QString, QString> shownByNative) { m_shown = std::move(shownByNative); }
    // The text drawn for an item's text and shortcut ("label\tshortcut").
    QString shownText(const QString& textAndShortcut) const;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;

private:
    QHash<QString, QString> m_shown;
};

}  // namespace korvin
