// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/qtdialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QListView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "support/tempdir.h"

namespace korvin {
namespace {

// The names the open dialog lists in its folder, once it has read the folder.
QStringList listedNames(QFileDialog& dialog)
{
    auto* view = dialog.findChild<QListView*>(QStringLiteral("listView"));
    QStringList names;
    if (!view || !view->model())
        return names;
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row)
        names << view->model()->index(row, 0, root).data().toString();
    return names;
}

TEST(QtDialogs, TheOpenDialogListsTheNccInAnyLetterCaseAndTakesItByDefault)
{
    test::TempDir folder;
    folder.write("NCC.HTML", "<html></html>");
    folder.write("other.html", "<html></html>");
    const QString before = QDir::currentPath();
    QtDialogs dialogs(nullptr);
    QStringList names;
    QString filter;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no open dialog";
            QApplication::activeModalWidget()->close();
            return;
        }
        filter = dialog->selectedNameFilter();
        // The dialog reads its folder in the background.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !listedNames(*dialog).isEmpty(); }, 10000));
        names = listedNames(*dialog);
        // Enter takes the default name, spelt as the folder spells it.
        static_cast<QDialog*>(dialog)->accept();
    });
    const std::optional<std::string> chosen = dialogs.openNccFile("Ein Buch suchen...", "NCC (ncc.html)", folder.path().string());
    EXPECT_EQ(filter, QStringLiteral("NCC (ncc.html)"));
    EXPECT_TRUE(names.contains(QStringLiteral("NCC.HTML")));
    EXPECT_FALSE(names.contains(QStringLiteral("other.html")));
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, (folder.path() / "NCC.HTML").string());
    EXPECT_EQ(QDir::currentPath(), before);
}

TEST(QtDialogs, CancellingTheOpenDialogChoosesNothing)
{
    QtDialogs dialogs(nullptr);
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_FALSE(dialogs.openNccFile("t", "NCC (ncc.html)", QDir::tempPath().toStdString()));
}

TEST(QtDialogs, TheColourChooserStartsOnTheGivenColourAndReturnsTheChosenOne)
{
    QtDialogs dialogs(nullptr);
    QColor initial;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        initial = dialog->currentColor();
        dialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
        dialog->accept();
    });
    const std::optional<Rgb> chosen = dialogs.chooseColour({255, 128, 0});
    EXPECT_EQ(initial, QColor(255, 128, 0));
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, (Rgb{0x12, 0x34, 0x56}));

    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_FALSE(dialogs.chooseColour({255, 255, 255}));
}

// Counts the paint events of a widget.
class PaintCounter final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

TEST(QtDialogs, TheWindowIsRepaintedWhereTheReadingDialogStoodWhenTheReadingReturns)
{
    QWidget window;
    window.resize(400, 300);
    window.show();
    PaintCounter counter;
    window.installEventFilter(&counter);
    QtDialogs dialogs(&window);
    const int result = dialogs.runReading({"Buch", "Lesen"}, [&](ReadProgress&) {
        counter.paints = 0;
        return 1;
    });
    EXPECT_EQ(result, 1);
    // What comes next (the title cue) may hold the thread: nothing is left to paint later.
    EXPECT_GT(counter.paints, 0);
    window.removeEventFilter(&counter);
}

}  // namespace
}  // namespace korvin
