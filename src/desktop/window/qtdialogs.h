#pragma once

#include "platform/dialogs.h"

class QWidget;

namespace korvin {

// The main window's modal dialogs: Qt's file and colour dialogs, the reading
// progress box (`CA_Daisy`) and the about box. Each runs over `parent`.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent) : m_parent(parent) {}

    std::optional<std::string> openNccFile(const std::string& title, const std::string& filterText,
                                           const std::string& initialFolder) override;
    std::optional<Rgb> chooseColour(const Rgb& initial) override;
    int runReading(const ReadingTexts& texts, const std::function<int(ReadProgress&)>& reading) override;
    void showAbout() override;

private:
    QWidget* m_parent;
};

}  // namespace korvin
