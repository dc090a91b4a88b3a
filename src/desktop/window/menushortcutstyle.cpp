// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/menushortcutstyle.h"

#include <QStyleOptionMenuItem>

namespace korvin {

MenuShortcutStyle::MenuShortcutStyle() = default;

QString MenuShortcutStyle::shownText(const QString& textAndShortcut) const
{
    const qsizetype tab = textAndShortcut.indexOf(QLatin1Char('\t'));
    if (tab < 0)
        return textAndShortcut;
    const auto found = m_shown.constFind(textAndShortcut.mid(tab + 1));
    return found == m_shown.constEnd() ? textAndShortcut : textAndShortcut.left(tab + 1) + *found;
}

void MenuShortcutStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                    const QWidget* widget) const
{
    if (element == CE_MenuItem) {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            QStyleOptionMenuItem shown(*item);
            shown.text = shownText(item->text);
            QProxyStyle::drawControl(element, &shown, painter, widget);
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

QSize MenuShortcutStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                          const QWidget* widget) const
{
    QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (type == CT_MenuItem) {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            // The menu reserves room for Qt's texts; a longer own text gets its difference.
            const QString shown = shownText(item->text);
            const int extra = item->fontMetrics.horizontalAdvance(shown) -
                              item->fontMetrics.horizontalAdvance(item->text);
            if (extra > 0)
                result.rwidth() += extra;
        }
    }
    return result;
}

int MenuShortcutStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                 QStyleHintReturn* returnData) const
{
    // A listener who cannot see the gray learns of an item only by landing on it.
    if (hint == SH_Menu_AllowActiveAndDisabled)
        return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace korvin
