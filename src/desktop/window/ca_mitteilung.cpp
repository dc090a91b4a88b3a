// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window/ca_mitteilung.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <exception>
#include <thread>

namespace korvin {

namespace {

// How long the window may take to appear on the screen before the work starts
// regardless.
constexpr int kExposeWaitMs = 500;

// Screen readers read an alert out when it appears.
QAccessibleInterface* waitWindowFactory(const QString&, QObject* object)
{
    if (auto* window = qobject_cast<CA_Mitteilung*>(object))
        return new QAccessibleWidget(window, QAccessible::AlertMessage);
    return nullptr;
}

// Lets the event loop run for `milliseconds` without the listener's input.
void runEventsFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace

CA_Mitteilung::CA_Mitteilung(const QString& text, QWidget* parent, int settleMs)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint)
    , m_line(new QLineEdit(text, this))
    , m_settleMs(settleMs)
{
    QAccessible::installFactory(&waitWindowFactory);
    setWindowTitle(text);
    setAccessibleName(text);
    setWindowModality(Qt::ApplicationModal);
    m_line->setObjectName(QStringLiteral("1030"));
    m_line->setReadOnly(true);
    m_line->setAlignment(Qt::AlignCenter);
    // The window is the alert the screen reader reads; the line taking the
    // focus as well would have it read twice.
    m_line->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_line);
    m_line->setMinimumWidth(m_line->fontMetrics().horizontalAdvance(text) + 48);
    adjustSize();
}

CA_Mitteilung::~CA_Mitteilung() = default;

void CA_Mitteilung::showAndSettle()
{
    if (const QWidget* over = parentWidget()) {
        QRect frame = frameGeometry();
        frame.moveCenter(over->frameGeometry().center());
        move(frame.topLeft());
    }
    show();
    raise();
    activateWindow();
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);

    // Painted first: work on the UI thread leaves no chance to paint later.
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < kExposeWaitMs)
        runEventsFor(10);
    repaint();
    // The screen reader asks the window for its name and text when it learns
    // of it; the answers need the event loop.
    if (m_settleMs > 0)
        runEventsFor(m_settleMs);
}

bool CA_Mitteilung::run(const WaitWindow::Work& work, WaitWindow::Options options)
{
    m_cancellable = options.cancellable;
    m_cancelled = false;
    showAndSettle();
    m_working = true;
    std::exception_ptr failure;
    if (!options.onWorkerThread) {
        try {
            if (work)
                work(m_cancelled);
        } catch (...) {
            failure = std::current_exception();
        }
    } else {
        QEventLoop loop;
        std::thread worker([&] {
            try {
                if (work)
                    work(m_cancelled);
            } catch (...) {
                failure = std::current_exception();
            }
            QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
        });
        loop.exec();
        worker.join();
    }
    m_working = false;
    hide();
    if (failure)
        std::rethrow_exception(failure);
    return !m_cancelled;
}

void CA_Mitteilung::reject()
{
    // Only the end of the work closes the window.
}

void CA_Mitteilung::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_cancellable)
        m_cancelled = true;
    event->accept();
}

void CA_Mitteilung::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

}  // namespace korvin
