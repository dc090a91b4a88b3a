// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/ca_daisysuche.h"

#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "desktop/window/okcancelrow.h"

namespace korvin {

CA_DaisySuche::CA_DaisySuche(Dialogs::BookSearchTexts texts, BookList& list, QWidget* parent)
    : QDialog(parent)
    , m_texts(std::move(texts))
    , m_list(list)
    , m_lines(new QListWidget(this))
    , m_ok(new QPushButton(QString::fromStdString(m_texts.ok), this))
    , m_cancel(new QPushButton(QString::fromStdString(m_texts.cancel), this))
{
    setModal(true);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    m_lines->setObjectName(QStringLiteral("1015"));
    m_lines->setSelectionMode(QAbstractItemView::SingleSelection);
    m_cancel->setObjectName(QStringLiteral("1019"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lines);
    layout->addLayout(okCancelRow(m_ok, m_cancel));
    resize(520, 360);

    // Enter reaches the default button; a double click chooses as well.
    connect(m_lines, &QListWidget::itemDoubleClicked, this, &CA_DaisySuche::choose);
    connect(m_ok, &QPushButton::clicked, this, &CA_DaisySuche::choose);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CA_DaisySuche::showEvent(QShowEvent* event)
{
    if (!m_shown) {
        m_shown = true;
        const QString caption = QString::fromStdString(m_texts.caption);
        setWindowTitle(caption);
        m_lines->setAccessibleName(caption);
        // Filled once the dialog has the focus, so that the screen reader
        // reads the current line after the dialog's name.
        QTimer::singleShot(0, this, &CA_DaisySuche::fill);
    }
    QDialog::showEvent(event);
}

void CA_DaisySuche::fill()
{
    m_lines->clear();
    for (const std::string& line : m_list.lines())
        m_lines->addItem(QString::fromStdString(line));
    m_lines->setCurrentRow(m_list.currentLine());
    m_lines->setFocus(Qt::OtherFocusReason);
}

void CA_DaisySuche::choose()
{
    const int line = m_lines->currentRow();
    if (line > 0) {
        m_chosen = m_list.folder(line);
        if (!m_chosen.empty())
            accept();
        return;
    }
    m_list.makeList();
    // The wait window and the message came over the main window; the
    // listener goes on in this dialog's list.
    activateWindow();
    fill();
}

}  // namespace korvin
