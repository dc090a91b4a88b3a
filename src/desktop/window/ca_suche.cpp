// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/ca_suche.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "desktop/window/okcancelrow.h"

namespace korvin {

CA_Suche::CA_Suche(Dialogs::SearchTexts texts, QWidget* parent)
    : QDialog(parent)
    , m_texts(std::move(texts))
    , m_group(new QGroupBox(this))
    , m_edit(new QLineEdit(m_group))
    , m_ok(new QPushButton(QString::fromStdString(m_texts.ok), this))
    , m_cancel(new QPushButton(QString::fromStdString(m_texts.cancel), this))
{
    setModal(true);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    m_edit->setObjectName(QStringLiteral("1030"));
    m_ok->setEnabled(false);

    auto* groupLayout = new QVBoxLayout(m_group);
    groupLayout->addWidget(m_edit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_group);
    layout->addLayout(okCancelRow(m_ok, m_cancel));
    setMinimumWidth(420);

    connect(m_edit, &QLineEdit::textChanged, this, &CA_Suche::termChanged);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString CA_Suche::term() const
{
    return m_edit->text();
}

void CA_Suche::showEvent(QShowEvent* event)
{
    if (!m_shown) {
        m_shown = true;
        const QString caption = QString::fromStdString(m_texts.caption);
        const QString prompt = QString::fromStdString(m_texts.prompt);
        setWindowTitle(caption);
        m_group->setTitle(prompt);
        // The field is what the listener lands in: it carries the prompt.
        m_edit->setAccessibleName(prompt);
        termChanged(m_edit->text());
        m_edit->setFocus(Qt::OtherFocusReason);
    }
    QDialog::showEvent(event);
}

void CA_Suche::termChanged(const QString& text)
{
    // Characters, not UTF-16 units: a letter outside the basic plane is one.
    m_ok->setEnabled(text.toUcs4().size() >= kShortestTerm);
}

}  // namespace korvin
