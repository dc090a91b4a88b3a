// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/desktopwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

#include "app/layout.h"
#include "app/maincontroller.h"
#include "desktop/html/htmltextview.h"
#include "desktop/html/textviewaccessible.h"
#include "desktop/window/appicon.h"
#include "desktop/window/clientarea.h"
#include "desktop/window/headingtreeview.h"
#include "desktop/window/keyfilter.h"
#include "desktop/window/menubarview.h"
#include "desktop/window/playerpanel.h"
#include "desktop/window/qtlistbox.h"
#include "platform/controlids.h"
#include "ui/commandids.h"
#include "ui/stringids.h"

namespace korvin {

namespace {

// The dialog's size of 705 by 539 dialog units, in pixels of the usual font.
constexpr QSize kNormalSize(1058, 876);
// How soon an ending session looks again whether the dialogs are gone.
constexpr int kSessionEndRetryMs = 50;

}  // namespace

DesktopWindow::DesktopWindow(MediaPlayer& player)
    : m_clientArea(new ClientArea(this))
    , m_treeView(new HeadingTreeView(m_clientArea))
    , m_playerPanel(new PlayerPanel(player, m_clientArea))
    , m_groupList(new QtListBox(control::kGroupList, m_clientArea))
    , m_bookmarkList(new QtListBox(control::kBookmarkList, m_clientArea))
    , m_searchResultList(new QtListBox(control::kSearchResultList, m_clientArea))
    , m_menuBarView(new MenuBarView(*menuBar(), this))
{
    setWindowTitle(QStringLiteral("Korvin 2.0.1"));
    // The program's icon serves the window too; drawn again only for a window
    // without one.
    if (QApplication::windowIcon().isNull())
        setWindowIcon(applicationIcon());
    setCentralWidget(m_clientArea);
    m_clientArea->setLayoutHandler([this] { layoutControls(); });

    KeyFilter::Handlers keys;
    keys.command = [this](int command) { sendCommand(command); };
    keys.help = [this] {
        if (m_controller)
            m_controller->helpRequest();
    };
    keys.media = [this](RemoteControl::Action action) {
        if (m_controller)
            m_controller->remote().act(action, RemoteControl::Source::kKeyboard, RemoteControl::steadyMs());
    };
    keys.moveFocus = [this](bool forward) { moveFocus(forward); };
    keys.isMenuShortcut = [this](const QKeySequence& sequence) { return m_menuBarView->hasShortcut(sequence); };
    m_keyFilter = new KeyFilter(*this, std::move(keys), this);
    qApp->installEventFilter(m_keyFilter);

    m_playerPanel->setCommandSender([this] { sendCommand(cmd::kPauseContinue); });
    resize(kNormalSize);
}

DesktopWindow::~DesktopWindow()
{
    qApp->removeEventFilter(m_keyFilter);
    detach();
}

void DesktopWindow::setTextViewWidget(QWidget* view)
{
    if (auto* text = qobject_cast<QTextEdit*>(view))
        TextViewAccessible::useFor(text);
    m_textView = view;
    m_textView->setParent(m_clientArea);
    m_textView->setFocusPolicy(Qt::StrongFocus);
    m_textView->show();
    QWidget* previous = nullptr;
    for (QWidget* widget : focusOrder()) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
    layoutControls();
}

void DesktopWindow::attach(MainController& controller)
{
    m_controller = &controller;
    m_menuBarView->setModel(controller.menu());
    m_menuBarView->setCommandSender([this](int command) { sendCommand(command); });
    m_menuBarView->setMenuSelectHandler([this](bool closed) {
        if (m_controller)
            m_controller->menuSelect(closed);
    });
    m_treeView->setModel(&controller.tree());
    m_treeView->setFocusNotifier([this] {
        if (m_controller)
            m_controller->notify(control::kHeadingTree, notify::kSetFocus);
    });
    for (QtListBox* list : {m_groupList, m_bookmarkList, m_searchResultList})
        list->setNotifier([this](int controlId) {
            if (m_controller)
                m_controller->notify(controlId, notify::kSelectionChanged);
        });
    m_playerPanel->setAudioSettingsSource([this] {
        PlayerPanel::AudioSettings audio;
        if (m_controller) {
            audio.rate = m_controller->settings().rate;
            audio.volume = m_controller->settings().volume;
        }
        return audio;
    });
    languageChanged(controller.languageOffset());
}

void DesktopWindow::detach()
{
    m_controller = nullptr;
    m_treeView->setModel(nullptr);
    m_treeView->setFocusNotifier({});
    m_menuBarView->setCommandSender({});
    m_menuBarView->setMenuSelectHandler({});
    for (QtListBox* list : {m_groupList, m_bookmarkList, m_searchResultList})
        list->setNotifier({});
    m_playerPanel->setAudioSettingsSource({});
}

void DesktopWindow::sendCommand(int command)
{
    if (!m_controller || !m_controller->menu().canExecute(command))
        return;
    if (m_commandHook && !m_commandHook(command))
        return;
    m_controller->command(command);
}

QWidget* DesktopWindow::control(int controlId) const
{
    switch (controlId) {
    case control::kHeadingTree:
        return &m_treeView->widget();
    case control::kPlayer:
        return m_playerPanel;
    case control::kTextView:
        return m_textView;
    case control::kGroupList:
        return &m_groupList->widget();
    case control::kBookmarkList:
        return &m_bookmarkList->widget();
    case control::kSearchResultList:
        return &m_searchResultList->widget();
    default:
        return nullptr;
    }
}

std::vector<QWidget*> DesktopWindow::focusOrder() const
{
    std::vector<QWidget*> order{&m_treeView->widget(), &m_playerPanel->button()};
    if (m_textView)
        order.push_back(m_textView);
    order.push_back(&m_groupList->widget());
    order.push_back(&m_bookmarkList->widget());
    order.push_back(&m_searchResultList->widget());
    return order;
}

void DesktopWindow::moveFocus(bool forward)
{
    const std::vector<QWidget*> order = focusOrder();
    const int count = static_cast<int>(order.size());
    const QWidget* focused = QApplication::focusWidget();
    int current = -1;
    for (int i = 0; i < count; ++i)
        if (focused && (order[i] == focused || order[i]->isAncestorOf(focused)))
            current = i;
    for (int step = 1; step <= count; ++step) {
        const int index = current < 0 ? (forward ? step - 1 : count - step)
                                      : ((current + (forward ? step : -step)) % count + count) % count;
        QWidget* candidate = order[index];
        if (candidate->isEnabled() && candidate->isVisibleTo(this) && (candidate->focusPolicy() & Qt::TabFocus)) {
            candidate->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

void DesktopWindow::layoutControls()
{
    const QRect area = m_clientArea->rect();
    for (const auto& [controlId, place] : computeLayout(area.left(), area.top(), area.width(), area.height()))
        if (QWidget* widget = control(controlId))
            widget->setGeometry(place.x, place.y, place.width, place.height);
    redraw();
}

void DesktopWindow::setAccelerators(const std::vector<Accelerator>& table)
{
    m_keyFilter->setAccelerators(table);
}

void DesktopWindow::setFocus(int controlId)
{
    QWidget* widget = controlId == control::kPlayer ? &m_playerPanel->button() : control(controlId);
    if (widget)
        widget->setFocus(Qt::OtherFocusReason);
}

void DesktopWindow::redraw()
{
    m_clientArea->update();
    for (int controlId : {control::kHeadingTree, control::kPlayer, control::kTextView, control::kGroupList,
                          control::kBookmarkList, control::kSearchResultList})
        if (QWidget* widget = control(controlId))
            widget->update();
}

void DesktopWindow::languageChanged(int languageOffset)
{
    if (!m_controller)
        return;
    const StringTable& strings = m_controller->strings();
    const auto text = [&](int id) { return QString::fromStdString(strings.get(id, languageOffset)); };
    m_treeView->widget().setAccessibleName(text(str::kNameHeadingTree));
    m_playerPanel->setTexts({text(str::kNamePlayer), text(str::kNamePlayPause), text(str::kNamePosition),
                             text(str::kPlay), text(str::kPause), text(str::kSpeed), text(str::kVolume),
                             languageOffset == 0});
    if (m_textView)
        m_textView->setAccessibleName(text(str::kNameTextView));
    if (auto* view = dynamic_cast<HtmlTextView*>(m_textView))
        view->setExternalLinkTexts({text(str::kExternalLinkCaption), text(str::kExternalLinkQuestion),
                                    text(str::kYes), text(str::kNo)});
    m_groupList->widget().setAccessibleName(text(str::kNameGroupList));
    m_bookmarkList->widget().setAccessibleName(text(str::kNameBookmarkList));
    m_searchResultList->widget().setAccessibleName(text(str::kNameSearchResultList));
}

void DesktopWindow::end()
{
    if (m_ended)
        return;
    m_ended = true;
    if (!m_inCloseEvent)
        close();
    emit ended();
}

void DesktopWindow::showAtStart()
{
    if (const QScreen* screen = this->screen()) {
        // Restored from maximised, the window fits the screen it is centred on.
        const QRect available = screen->availableGeometry();
        resize(size().boundedTo(available.size() * 0.9));
        QRect frame = frameGeometry();
        frame.moveCenter(available.center());
        move(frame.topLeft());
    }
    showMaximized();
}

void DesktopWindow::restoreFromRequest()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void DesktopWindow::endSession()
{
    if (m_ended)
        return;
    // A dialog may be shown before its loop runs (the reading's progress):
    // either means a handler is waiting on it.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal || QThread::currentThread()->loopLevel() > 1) {
        if (modal)
            modal->close();
        QTimer::singleShot(kSessionEndRetryMs, this, &DesktopWindow::endSession);
        return;
    }
    close();
}

void DesktopWindow::closeEvent(QCloseEvent* event)
{
    if (m_ended || !m_controller) {
        event->accept();
        return;
    }
    // The exit procedure decides; it ends the window through end().
    m_inCloseEvent = true;
    m_controller->close();
    m_inCloseEvent = false;
    if (m_ended)
        event->accept();
    else
        event->ignore();
}

}  // namespace korvin
