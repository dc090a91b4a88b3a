// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/html/htmlformats.h"

#include <QBrush>
#include <QColor>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFormat>

#include <string>

namespace korvin::test {

// A text document as the listener sees it, in one line: blocks separated by
// "|", each opened by its block format in "{…}" when it has one, and every
// run of text by its character format in "<…>". Every property is written,
// the few common ones by a short name, so that no change of format slips by.
inline std::string formatOf(const QTextFormat& format)
{
    std::string out;
    const auto add = [&out](const std::string& item) {
        if (!out.empty())
            out += ' ';
        out += item;
    };
    const auto number = [](qreal value) { return QString::number(value, 'g', 4).toStdString(); };
    const QMap<int, QVariant> properties = format.properties();
    for (auto it = properties.begin(); it != properties.end(); ++it) {
        const QVariant& value = it.value();
        std::string shown;
        if (value.userType() == QMetaType::QBrush)
            shown = value.value<QBrush>().color().name(QColor::HexArgb).toStdString();
        else if (value.userType() == QMetaType::QColor)
            shown = value.value<QColor>().name(QColor::HexArgb).toStdString();
        else if (value.userType() == QMetaType::Double || value.userType() == QMetaType::Float)
            shown = number(value.toDouble());
        else if (value.canConvert<QString>())
            shown = value.toString().toStdString();
        else if (value.userType() == QMetaType::QStringList)
            shown = value.toStringList().join(u',').toStdString();
        else
            shown = value.typeName();
        switch (it.key()) {
        case QTextFormat::LayoutDirection: add("dir" + shown); break;
        case QTextFormat::FontWeight: add("w" + shown); break;
        case QTextFormat::FontPointSize: add("pt" + shown); break;
        case QTextFormat::FontItalic: add("i"); break;
        case QTextFormat::FontUnderline: add("u"); break;
        case QTextFormat::FontStrikeOut: add("s"); break;
        case QTextFormat::ForegroundBrush: add("fg" + shown); break;
        case QTextFormat::BackgroundBrush: add("bg" + shown); break;
        case QTextFormat::IsAnchor: add("a"); break;
        case QTextFormat::AnchorHref: add("href=" + shown); break;
        case QTextFormat::BlockAlignment: add("al" + shown); break;
        case QTextFormat::BlockLeftMargin: add("l" + shown); break;
        case QTextFormat::BlockTopMargin: add("t" + shown); break;
        case QTextFormat::BlockBottomMargin: add("b" + shown); break;
        case QTextFormat::TextUnderlineStyle: add("ul" + shown); break;
        case QTextFormat::TextVerticalAlignment: add("va" + shown); break;
        case QTextFormat::FontFamilies: add("fam=" + shown); break;
        case QTextFormat::FontFixedPitch: add("fixed"); break;
        case QTextFormat::BlockTrailingHorizontalRulerWidth: add("hr"); break;
        case HtmlFormats::kMarkerLength: add("mk" + shown); break;
        default: add(std::to_string(it.key()) + "=" + shown); break;
        }
    }
    return out;
}

inline std::string styledText(const QTextDocument& text)
{
    std::string out;
    for (QTextBlock block = text.begin(); block.isValid(); block = block.next()) {
        if (block != text.begin())
            out += '|';
        if (const std::string format = formatOf(block.blockFormat()); !format.empty())
            out += '{' + format + '}';
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (const std::string format = formatOf(fragment.fragment().charFormat()); !format.empty())
                out += '<' + format + '>';
            QString shown = fragment.fragment().text();
            shown.replace(QChar::LineSeparator, u'/').replace(u'\t', u'>');
            out += shown.toStdString();
        }
    }
    return out;
}

// The colours painted over the text: where, and in what.
inline std::string paintedOver(const QList<QTextEdit::ExtraSelection>& selections)
{
    std::string out;
    for (const QTextEdit::ExtraSelection& selection : selections) {
        out += std::to_string(selection.cursor.selectionStart()) + "-" + std::to_string(selection.cursor.selectionEnd())
               + "<" + formatOf(selection.format) + ">";
    }
    return out;
}

}  // namespace korvin::test
