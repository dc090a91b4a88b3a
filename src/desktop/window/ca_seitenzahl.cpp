// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/ca_seitenzahl.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "desktop/window/okcancelrow.h"

namespace korvin {

CA_Seitenzahl::CA_Seitenzahl(Dialogs::PageTexts texts, QWidget* parent)
    : QDialog(parent)
    , m_texts(std::move(texts))
    , m_prompt(new QLabel(this))
    , m_edit(new QLineEdit(this))
    , m_ok(new QPushButton(QString::fromStdString(m_texts.ok), this))
    , m_cancel(new QPushButton(QString::fromStdString(m_texts.cancel), this))
{
    setModal(true);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    m_edit->setObjectName(QStringLiteral("1022"));
    // The prompt quotes "Enter": no mnemonic, and the text as it stands.
    m_prompt->setTextFormat(Qt::PlainText);
    m_prompt->setWordWrap(true);
    m_prompt->setBuddy(m_edit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_edit);
    layout->addLayout(okCancelRow(m_ok, m_cancel));
    setMinimumWidth(420);

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString CA_Seitenzahl::pageText() const
{
    return m_edit->text();
}

void CA_Seitenzahl::showEvent(QShowEvent* event)
{
    if (!m_shown) {
        m_shown = true;
        const QString prompt = QString::fromStdString(m_texts.prompt);
        setWindowTitle(QString::fromStdString(m_texts.caption));
        m_prompt->setText(prompt);
        // The field is where the listener lands; it answers with the prompt
        // also where a buddy label is not looked up.
        m_edit->setAccessibleName(prompt);
        m_edit->setFocus(Qt::OtherFocusReason);
    }
    QDialog::showEvent(event);
}

}  // namespace korvin
