// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/ca_laufwerke.h"

#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "desktop/window/okcancelrow.h"

namespace korvin {

CA_Laufwerke::CA_Laufwerke(Dialogs::DriveTexts texts, std::vector<Drive> drives, QWidget* parent)
    : QDialog(parent)
    , m_texts(std::move(texts))
    , m_drives(std::move(drives))
    , m_table(new QTableWidget(this))
    , m_ok(new QPushButton(QString::fromStdString(m_texts.ok), this))
    , m_cancel(new QPushButton(QString::fromStdString(m_texts.cancel), this))
{
    setModal(true);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    m_table->setObjectName(QStringLiteral("1013"));
    m_table->setColumnCount(2);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setShowGrid(true);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setTabKeyNavigation(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addLayout(okCancelRow(m_ok, m_cancel));
    resize(520, 300);

    // Enter reaches the default button; a double click chooses as well.
    connect(m_table, &QTableWidget::doubleClicked, this, &CA_Laufwerke::choose);
    connect(m_ok, &QPushButton::clicked, this, &CA_Laufwerke::choose);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CA_Laufwerke::showEvent(QShowEvent* event)
{
    if (!m_shown) {
        m_shown = true;
        const QString caption = QString::fromStdString(m_texts.caption);
        setWindowTitle(caption);
        m_table->setAccessibleName(caption);
        m_table->setHorizontalHeaderLabels(
            {QString::fromStdString(m_texts.driveColumn), QString::fromStdString(m_texts.nameColumn)});
        m_table->setRowCount(static_cast<int>(m_drives.size()));
        for (int row = 0; row < static_cast<int>(m_drives.size()); ++row) {
            const Drive& drive = m_drives[static_cast<std::size_t>(row)];
            m_table->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(drive.root)));
            m_table->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(drive.name)));
        }
        m_table->resizeColumnToContents(0);
        m_table->setFocus(Qt::OtherFocusReason);
        // Made current once the dialog has the focus, so that the screen
        // reader reads the first drive after the dialog's name.
        QTimer::singleShot(0, this, [this] {
            if (!m_drives.empty())
                m_table->setCurrentCell(0, 0);
        });
    }
    QDialog::showEvent(event);
}

void CA_Laufwerke::choose()
{
    const int row = m_table->currentRow();
    if (row < 0 || row >= static_cast<int>(m_drives.size()))
        return;
    m_chosen = m_drives[static_cast<std::size_t>(row)].root;
    accept();
}

}  // namespace korvin
