// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/qtdialogs.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "desktop/window/aboutbox.h"
#include "desktop/window/ca_daisy.h"
#include "desktop/window/ca_daisysuche.h"
#include "desktop/window/ca_laufwerke.h"
#include "desktop/window/ca_mitteilung.h"
#include "desktop/window/ca_seitenzahl.h"
#include "desktop/window/ca_suche.h"

namespace korvin {

std::optional<std::string> QtDialogs::openNccFile(const std::string& title, const std::string& filterText,
                                                  const std::string& initialFolder)
{
    // Qt's own dialog: its name filters ignore letter case (a desktop's native
    // dialog may not), and it never changes the current directory.
    QFileDialog dialog(m_parent, QString::fromStdString(title), QString::fromStdString(initialFolder));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(QString::fromStdString(filterText));
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    // The default name is ncc.html, spelt as the folder spells it (a CD may
    // say NCC.HTML), so that Enter takes the book of the folder.
    const QStringList nccFiles =
        QDir(QString::fromStdString(initialFolder)).entryList({QStringLiteral("ncc.html")}, QDir::Files);
    dialog.selectFile(nccFiles.isEmpty() ? QStringLiteral("ncc.html") : nccFiles.constFirst());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::cleanPath(QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath()).toStdString();
}

std::optional<Rgb> QtDialogs::chooseColour(const Rgb& initial)
{
    // Qt's colour dialog always shows its custom colours.
    QColorDialog dialog(QColor(initial.red, initial.green, initial.blue), m_parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QColor chosen = dialog.selectedColor();
    return Rgb{chosen.red(), chosen.green(), chosen.blue()};
}

int QtDialogs::runReading(const ReadingTexts& texts, const std::function<int(ReadProgress&)>& reading)
{
    int result = 0;
    {
        CA_Daisy dialog(texts, reading, m_parent);
        result = dialog.exec();
    }
    // The title cue after a reading holds the UI thread for seconds: the dialog
    // must be gone from the screen by then, the window painted where it stood.
    // Keys and clicks wait, as they do during the cue.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (m_parent)
        m_parent->repaint();
    return result;
}

std::optional<std::string> QtDialogs::askSearchTerm(const SearchTexts& texts)
{
    CA_Suche dialog(texts, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.term().toStdString();
}

std::optional<std::string> QtDialogs::askPageNumber(const PageTexts& texts)
{
    CA_Seitenzahl dialog(texts, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.pageText().toStdString();
}

bool QtDialogs::run(const std::string& text, const Work& work, Options options)
{
    CA_Mitteilung window(QString::fromStdString(text), m_parent, m_waitSettleMs);
    return window.run(work, options);
}

std::optional<std::string> QtDialogs::chooseDrive(const DriveTexts& texts, const std::vector<Drive>& drives)
{
    CA_Laufwerke dialog(texts, drives, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenRoot();
}

std::optional<std::string> QtDialogs::chooseBook(const BookSearchTexts& texts, BookList& list)
{
    CA_DaisySuche dialog(texts, list, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenFolder();
}

void QtDialogs::showAbout()
{
    AboutBox box(m_parent);
    box.exec();
}

}  // namespace korvin
