// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/dialogs.h"
#include "platform/waitwindow.h"

class QWidget;

namespace korvin {

// The main window's modal dialogs: Qt's file and colour dialogs, the reading
// progress box (`CA_Daisy`), the search dialog (`CA_Suche`), the go-to-page dialog
// (`CA_Seitenzahl`), the drive and book search dialogs (`CA_Laufwerke`,
// `CA_DaisySuche`), the wait window
// (`CA_Mitteilung`) and the about box. Each runs over `parent`.
class QtDialogs : public Dialogs, public WaitWindow {
public:
    // `waitSettleMs`: how long the wait window answers the screen reader
    // before its work starts.
    explicit QtDialogs(QWidget* parent, int waitSettleMs = kWaitSettleMs)
        : m_parent(parent)
        , m_waitSettleMs(waitSettleMs)
    {
    }
    static constexpr int kWaitSettleMs = 250;

    std::optional<std::string> openNccFile(const std::string& title, const std::string& filterText,
                                           const std::string& initialFolder) override;
    std::optional<Rgb> chooseColour(const Rgb& initial) override;
    int runReading(const ReadingTexts& texts, const std::function<int(ReadProgress&)>& reading) override;
    std::optional<std::string> askSearchTerm(const SearchTexts& texts) override;
    std::optional<std::string> askPageNumber(const PageTexts& texts) override;
    void showAbout() override;
    std::optional<std::string> chooseDrive(const DriveTexts& texts, const std::vector<Drive>& drives) override;
    std::optional<std::string> chooseBook(const BookSearchTexts& texts, BookList& list) override;

    bool run(const std::string& text, const Work& work, Options options) override;

private:
    QWidget* m_parent;
    int m_waitSettleMs;
};

}  // namespace korvin
