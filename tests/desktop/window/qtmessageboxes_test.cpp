#include "desktop/window/qtmessageboxes.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace korvin {
namespace {

struct Seen {
    QAccessible::Role role = QAccessible::NoRole;
    QString name;
    QString value;
    std::vector<QAccessible::Role> childRoles;
    int textsHoldingTheWhole = 0;
};

// Shows a box over a window whose edit field has the focus and reads it as a
// screen reader does while it is open.
Seen showAndRead(const std::string& text, MessageBoxes::Icon icon, QWidget** focusAfter)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* first = new QLineEdit(&window);
    auto* second = new QLineEdit(&window);
    layout->addWidget(first);
    layout->addWidget(second);
    window.show();
    QApplication::setActiveWindow(&window);
    second->setFocus();
    QApplication::processEvents();

    Seen seen;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(box);
        seen.role = node->role();
        seen.name = node->text(QAccessible::Name);
        seen.value = node->text(QAccessible::Value);
        for (int i = 0; i < node->childCount(); ++i) {
            seen.childRoles.push_back(node->child(i)->role());
            if (node->child(i)->text(QAccessible::Name) == QString::fromStdString(text))
                ++seen.textsHoldingTheWhole;
        }
        first->setFocus();  // the box moves nothing in the window underneath
        box->close();
    });
    QtMessageBoxes(&window).show(text, "Information", icon, MessageBoxes::Buttons::kOk);
    QApplication::processEvents();
    *focusAfter = window.focusWidget() == second ? second : nullptr;
    return seen;
}

TEST(QtMessageBoxes, AreReadAsOneAlertWithCaptionIconAndWholeTextAndGiveTheFocusBack)
{
    for (const auto& [text, icon] :
         {std::pair{std::string("Die gehörte Spieldauer beträgt 0 Stunden, eine Minute und 5 Sekunden."),
                    MessageBoxes::Icon::kInformation},
          std::pair{std::string("The entered page number does not exist."), MessageBoxes::Icon::kWarning}}) {
        SCOPED_TRACE(text);
        QWidget* focusAfter = nullptr;
        const Seen seen = showAndRead(text, icon, &focusAfter);
        EXPECT_EQ(seen.role, QAccessible::AlertMessage);
        EXPECT_EQ(seen.name, QStringLiteral("Information"));
        EXPECT_EQ(seen.value, QString::fromStdString(text));
        EXPECT_NE(std::find(seen.childRoles.begin(), seen.childRoles.end(), QAccessible::Graphic),
                  seen.childRoles.end());
        EXPECT_EQ(seen.textsHoldingTheWhole, 1);
        EXPECT_NE(focusAfter, nullptr);
    }
}

}  // namespace
}  // namespace korvin
