// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "MessageBox.h"

#include "Platform.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QWindow>

namespace WindowRuntime {

namespace {

// QMessageBox sizes itself to its text, and leaves the title only a little room: the title bar,
// with its icon and three buttons, would cut a title longer than the text. The room goes into
// QMessageBox's own layout, a grid in Qt 6.4 and 6.8; with any other, none is added.
void makeRoomForTitle(QMessageBox &box)
{
    // A window menu icon and three buttons, with the gaps between them.
    constexpr int kTitleBarButtons = 4 * 32;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (!grid) {
        return;
    }
    const QMargins margins = grid->contentsMargins();
    const int wanted = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle())
        + kTitleBarButtons - margins.left() - margins.right();
    grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

// On Wayland the title bar is the compositor's (KWin) or, where it leaves it to the program
// (weston, mutter), Qt's own: known only once the box is on screen, from the frame Qt draws.
// Where the compositor draws it, the box stays as QMessageBox makes it.
//
// Qt 6.4's title bar has a maximise button on every window, fixed size or not, and a window of
// fixed size cannot take the size the compositor gives it when maximised: the compositor ends the
// program's connection. There a message box keeps only its smallest size, grows when maximised,
// and the same button brings it back. (Qt 6.8 takes the compositor's size: checked on weston 14.)
class MessageBox : public QMessageBox
{
public:
    MessageBox(Icon icon, const QString &title, const QString &text, StandardButtons buttons,
               QWidget *parent)
        : QMessageBox(icon, title, text, buttons, parent)
    {
        setObjectName(QStringLiteral("MsgBox"));
        activateOnceMade(*this);
        // The window manager's title bar on X11 and Windows; on Wayland, once shown.
        if (!onWayland()) {
            makeRoomForTitle(*this);
        }
    }

    void setVisible(bool visible) override
    {
        QMessageBox::setVisible(visible);
        if (visible) {
            lookForQtTitleBar();
        }
    }

protected:
    // QMessageBox fixes its size to its contents each time it is shown or laid out.
    bool event(QEvent *event) override
    {
        // Qt may add its title bar only once the compositor has configured the window, after the
        // box was shown (seen now and then on mutter with Qt 6.4): it is there by the first paint.
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            QMetaObject::invokeMethod(this, &MessageBox::lookForQtTitleBar, Qt::QueuedConnection);
        }
        // Maximised, it keeps the size the compositor gave it: fitted to its contents, it would
        // shrink while the compositor holds it maximised.
        if (event->type() == QEvent::LayoutRequest && isMaximized() && m_resizable) {
            return QDialog::event(event);
        }
        const bool handled = QMessageBox::event(event);
        if (event->type() == QEvent::Show || event->type() == QEvent::LayoutRequest) {
            keepResizable();
        }
        return handled;
    }

private:
    void lookForQtTitleBar()
    {
        if (m_qtTitleBar || !onWayland() || !windowHandle()
            || windowHandle()->frameMargins().top() <= 0) {
            return;
        }
        m_qtTitleBar = true;
        makeRoomForTitle(*this);
        keepResizable();
    }

    void keepResizable()
    {
        m_resizable = m_qtTitleBar && qtBefore(6, 8);
        if (m_resizable) {
            setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
    }

    bool m_qtTitleBar = false;
    bool m_painted = false;
    bool m_resizable = false;
};

// Once answered, the window the box was shown over takes the keyboard back, at the control its
// handler chose, rather than leaving it to the window manager.
void giveKeyboardBack(QWidget *parent)
{
    if (parent && parent->isVisible()) {
        parent->activateWindow();
    }
}

} // namespace

void showMessageBox(QWidget *parent, const QString &prompt, const QString &title)
{
#ifdef Q_OS_WASM
    // In a browser Qt 6.8 could not wait in the box's own loop when it was asked for from the
    // Enter key in a text box (the box never came up, and the wait returned at once): there it
    // blocks the other windows without a loop of its own, and the handler goes on at once.
    auto *box = new MessageBox(QMessageBox::Warning, title, prompt, QMessageBox::Ok, parent);
    box->setWindowModality(Qt::ApplicationModal);
    QObject::connect(box, &QDialog::finished, parent, [parent] { giveKeyboardBack(parent); });
    QObject::connect(box, &QDialog::finished, box, [box] { letGo(*box); });
    QMetaObject::invokeMethod(
        box, [box] { showActive(*box); }, Qt::QueuedConnection);
#else
    MessageBox box(QMessageBox::Warning, title, prompt, QMessageBox::Ok, parent);
    box.exec();
    giveKeyboardBack(parent);
#endif
}

} // namespace WindowRuntime
