// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/qtmessageboxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>

#include <utility>

namespace korvin {

namespace {

QMessageBox::Icon qtIcon(MessageBoxes::Icon icon)
{
    switch (icon) {
    case MessageBoxes::Icon::kInformation:
        return QMessageBox::Information;
    case MessageBoxes::Icon::kWarning:
        return QMessageBox::Warning;
    case MessageBoxes::Icon::kError:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MessageBoxes::Result QtMessageBoxes::show(const std::string& text, const std::string& caption, Icon icon,
                                          Buttons buttons, const ButtonTexts& buttonTexts)
{
    QMessageBox box(qtIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::NoButton, m_parent);
    box.setWindowModality(Qt::ApplicationModal);
    if (buttons == Buttons::kAbortRetryIgnore) {
        box.setStandardButtons(QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
        box.setDefaultButton(QMessageBox::Abort);
        box.setEscapeButton(QMessageBox::Abort);
        for (const auto& [button, text] : {std::pair{QMessageBox::Abort, &buttonTexts.abort},
                                           std::pair{QMessageBox::Retry, &buttonTexts.retry},
                                           std::pair{QMessageBox::Ignore, &buttonTexts.ignore}})
            if (!text->empty())
                box.button(button)->setText(QString::fromStdString(*text));
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    // The listener goes on where they were: the control that had the focus
    // gets it back, also when the window would otherwise choose another.
    const QPointer<QWidget> focused = QApplication::focusWidget();
    const int answer = box.exec();
    if (focused && focused->isVisible() && focused->isEnabled()) {
        if (!QApplication::activeWindow())
            focused->activateWindow();
        focused->setFocus(Qt::OtherFocusReason);
    }
    switch (answer) {
    case QMessageBox::Abort:
        return Result::kAbort;
    case QMessageBox::Retry:
        return Result::kRetry;
    case QMessageBox::Ignore:
        return Result::kIgnore;
    default:
        return buttons == Buttons::kAbortRetryIgnore ? Result::kAbort : Result::kOk;
    }
}

}  // namespace korvin
