// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "Form.h"

#include "Accessibility.h"
#include "MessageBox.h"
#include "Platform.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <map>
#include <qdrawutil.h>

namespace WindowRuntime {

namespace {

// Forms unloaded and not yet destroyed: a modal Show asked for meanwhile, in the handler that
// unloaded one, waits for them to go.
QList<QPointer<QObject>> g_unloading;

bool formsStillUnloading()
{
    g_unloading.removeAll(nullptr);
    return !g_unloading.isEmpty();
}

// Where a form was when hidden, moved onto a screen if it is on none now: a screen may have been
// unplugged, or its scale changed, in the meantime.
QRect onAScreen(QRect place)
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary || QGuiApplication::screenAt(place.center())) {
        return place;
    }
    const QRect screen = primary->availableGeometry();
    place.moveLeft(
        std::max(screen.left(), std::min(place.left(), screen.right() - place.width() + 1)));
    place.moveTop(
        std::max(screen.top(), std::min(place.top(), screen.bottom() - place.height() + 1)));
    return place;
}

} // namespace

Form::Form(const FormDescription &form)
{
    // What the runtime adds to the application, once a run, from the first form on.
    static const bool prepared = [] {
        installAccessibleRoles();
        scaleMirrorWithWindows();
        keyboardOnlyForText();
        return true;
    }();
    Q_UNUSED(prepared);
    setObjectName(QString::fromLatin1(form.name));
    setWindowTitle(QString::fromUtf8(form.caption));
    // Every form is a window of its own to the window manager, with the title bar it describes.
    setWindowFlags(form.titleBar ? Qt::Window : Qt::Window | Qt::FramelessWindowHint);
    activateOnceMade(*this);
    if (form.accessibleName) {
        setAccessibleName(QString::fromUtf8(form.accessibleName));
    }
    if (form.background) {
        // A fixed background takes a fixed text colour with it, so dark themes stay readable.
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, *form.background);
        palette.setColor(QPalette::WindowText, Qt::black);
        setPalette(palette);
        setAutoFillBackground(true);
    }

    auto *layout = new QVBoxLayout(this);
    // Without a title bar nothing else marks where the window ends: it draws a raised edge.
    m_edge = !form.titleBar;
    const int edge = m_edge ? 2 : 0;
    layout->setContentsMargins(edge, edge, edge, edge);
    layout->setSpacing(0);
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twipsToPixels(form.client.width), twipsToPixels(form.client.height));
    layout->addWidget(client, 0, Qt::AlignLeft | Qt::AlignTop);
    if (!form.menu.empty()) {
        buildMenu(form.menu);
    }
    buildControls(client, form.controls);
    collectDescription(form.controls);
    if (form.border == Border::FixedDialog) {
        layout->setSizeConstraint(QLayout::SetFixedSize);
    }
    layout->activate();
    resize(layout->sizeHint());
}

void Form::buildMenu(std::span<const MenuEntry> menu)
{
    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("menuBar"));
    layout()->setMenuBar(bar);
    QHash<QString, QMenu *> submenus;
    for (const MenuEntry &item : menu) {
        const QString name = QString::fromLatin1(item.name);
        const QString caption = QString::fromUtf8(item.caption);
        if (!item.parent) {
            QMenu *submenu = bar->addMenu(caption);
            submenu->setObjectName(name);
            submenu->menuAction()->setObjectName(name);
            keepMenuMirrored(*submenu);
            submenus.insert(name, submenu);
            continue;
        }
        QMenu *parent = submenus.value(QString::fromLatin1(item.parent));
        if (!parent) {
            missing("menu", item.parent);
        }
        QAction *action
            = caption == QLatin1String("-") ? parent->addSeparator() : parent->addAction(caption);
        action->setObjectName(name);
    }
}

void Form::buildControls(QWidget *client, std::span<const ControlEntry> controls)
{
    std::map<int, std::pair<QWidget *, ControlKind>> byTabIndex;
    for (const ControlEntry &entry : controls) {
        QWidget *parent = entry.container ? find<QGroupBox>(entry.container) : client;
        QWidget *widget = createControl(entry, parent);
        widget->setObjectName(QString::fromLatin1(entry.name));
        if (entry.kind != ControlKind::Line) {
            widget->setGeometry(twipsToPixels(entry.rect));
        }
        if (entry.kind != ControlKind::Line && entry.kind != ControlKind::Image
            && entry.kind != ControlKind::Frame) {
            widget->setFont(fontFor(entry.font));
        }
        if (entry.autoSize) {
            widget->adjustSize();
        }
        if ((entry.isDefault || entry.isCancel) && entry.kind != ControlKind::CommandButton) {
            qFatal("%s: only a command button can be a default or cancel button", entry.name);
        }
        if (entry.isCancel) {
            m_cancelButton = qobject_cast<QPushButton *>(widget);
        }
        if (entry.tabIndex >= 0) {
            byTabIndex[entry.tabIndex] = {widget, entry.kind};
        }
    }

    // Focus follows the tab indexes, starting at the first control that takes it; a label with
    // an access key leads to the next control that takes focus, and is its label.
    QWidget *previousFocusable = nullptr;
    QList<QLabel *> labelsAwaitingBuddy;
    for (const auto &[tabIndex, placed] : byTabIndex) {
        const auto [widget, kind] = placed;
        if (!takesFocus(kind)) {
            auto *label = qobject_cast<QLabel *>(widget);
            if (label && hasAccessKey(label->text())) {
                labelsAwaitingBuddy.append(label);
            }
            continue;
        }
        for (QLabel *label : std::as_const(labelsAwaitingBuddy)) {
            label->setBuddy(widget);
            // Its name loses the "&" of its access key, which Qt does not report (6.4, 6.8):
            // Orca 48 keeps the name it was told first and would read "&Prune Punch".
            reportNameChanged(label);
        }
        labelsAwaitingBuddy.clear();
        if (previousFocusable) {
            setTabOrder(previousFocusable, widget);
        } else {
            widget->setFocus(Qt::OtherFocusReason);
        }
        previousFocusable = widget;
    }
    // Measured as shown: a label with an access key shows its "&" only while it has no buddy.
    for (const ControlEntry &entry : controls) {
        if (entry.kind == ControlKind::Label && !entry.autoSize) {
            fitCaption(find<QLabel>(entry.name));
        }
    }
}

void Form::missing(const char *what, const char *name) const
{
    // A form description that names a control it does not have is a fault in the program.
    qFatal("%s has no %s named %s", qPrintable(objectName()), what, name);
}

TextBoxControl Form::textBox(const char *name) const
{
    return {find<QLineEdit>(name)};
}

LabelControl Form::label(const char *name) const
{
    return {find<QLabel>(name)};
}

void Form::connectClick(const char *name, QObject *context, std::function<void()> handler)
{
    const QString objectName = QString::fromLatin1(name);
    if (auto *button = findChild<QAbstractButton *>(objectName)) {
        connect(button, &QAbstractButton::clicked, context, handler);
    } else if (auto *action = findChild<QAction *>(objectName)) {
        connect(action, &QAction::triggered, context, [context, handler] {
            // Orca 48 takes a window's activation before the focus reports of the menu that
            // closed as it opened, then reads the window a second time as the focus moves into
            // it. A moment's wait lets the menu's reports go first (50 ms was enough here, at
            // once was not). Seen with Qt 6.8 and Orca 48; Qt 6.4 with Orca 43 reads it once.
            constexpr int kMenuSettles = 100;
            if (QAccessible::isActive() && !qtBefore(6, 8)) {
                QTimer::singleShot(kMenuSettles, context, handler);
            } else {
                handler();
            }
        });
    } else {
        missing("button or menu item", name);
    }
}

void Form::Show(ShowMode mode)
{
    if (mode == ShowModal && isVisible() && isModal()) {
        raise();
        activateWindow();
        return;
    }
    if (mode == ShowModal && formsStillUnloading()) {
        // The handler that unloaded a form must return before that form can be destroyed.
        QMetaObject::invokeMethod(
            this, [this] { Show(ShowModal); }, Qt::QueuedConnection);
        return;
    }
    QWidget *focus = focusWidget();
    rememberWindowBeneath();
    if (m_placement && !isVisible()) {
        setGeometry(onAScreen(*m_placement));
    }
    if (mode == ShowModeless) {
        // Modality only changes while the window is hidden.
        if (!isVisible()) {
            setWindowModality(Qt::NonModal);
        }
        showInFront(focus);
        return;
    }
    if (isVisible()) {
        hide();
    }
#ifdef Q_OS_WASM
    // In a browser Qt can wait in only one event loop besides the page's own (asyncify suspends
    // one level, Qt 6.8), and the forms would nest three: a modal form blocks the others without
    // a loop of its own, and Show returns at once.
    setWindowModality(Qt::ApplicationModal);
    showInFront(focus);
#else
    exec();
#endif
}

void Form::showInFront(QWidget *focus)
{
    showActive(*this);
#ifdef Q_OS_WASM
    // There Qt 6.8 moves the focus on to the next control as the window is made ready to show
    // (seen in Chromium 156, by mouse and by keys alike): it goes back to the one that had it.
    if (focus) {
        QMetaObject::invokeMethod(
            focus, [focus] { focus->setFocus(Qt::ActiveWindowFocusReason); }, Qt::QueuedConnection);
    }
#else
    Q_UNUSED(focus);
#endif
}

void Form::rememberWindowBeneath()
{
    QWidget *active = QApplication::activeWindow();
    m_windowBeneath = (active && active != this && active->isVisible()) ? active : nullptr;
    // Window managers keep a transient window above the one it belongs to, and Qt places it
    // over that window.
    create();
    windowHandle()->setTransientParent(m_windowBeneath ? m_windowBeneath->windowHandle() : nullptr);
}

void Form::Hide()
{
    const bool wasActive = isActiveWindow();
    hide();
    // Hand the focus back to the window this one was shown over rather than leave it to the
    // window manager, which may not pick any.
    if (wasActive && m_windowBeneath && m_windowBeneath->isVisible()) {
        m_windowBeneath->activateWindow();
    }
}

void Form::Unload()
{
    Hide();
    emit unloaded();
#ifndef Q_OS_WASM
    // In a browser a modal Show has no loop of its own to wait in, and the form is kept.
    g_unloading.append(this);
#endif
    letGo(*this);
}

bool Form::event(QEvent *event)
{
    const bool shown = event->type() == QEvent::Show && !event->spontaneous();
    if (shown || event->type() == QEvent::WindowActivate) {
        Form_Activate();
        updateDescription();
    }
    // Some window managers (metacity, mutter) move a window they stop managing to where its
    // frame was, up by the title bar: the form keeps where it was when it was hidden instead.
    if (event->type() == QEvent::Hide && !event->spontaneous()) {
        m_placement = geometry();
    }
    const bool handled = QDialog::event(event);
    // Qt places a dialog on the screen when it is first shown; after that it stays where it was.
    if (shown) {
        setAttribute(Qt::WA_Moved);
    }
    return handled;
}

void Form::paintEvent(QPaintEvent *event)
{
    if (m_edge) {
        QPainter painter(this);
        qDrawWinPanel(&painter, rect(), palette());
    }
    QDialog::paintEvent(event);
    if (!m_frameDrawn) {
        m_frameDrawn = true;
        // Queued: the frame is handed over once this paint and its flush are done.
        QMetaObject::invokeMethod(this, &Form::firstFrameDrawn, Qt::QueuedConnection);
    }
}

void Form::closeEvent(QCloseEvent *event)
{
    // The form decides what a close request means; the window itself stays.
    event->ignore();
    closeRequested();
}

void Form::reject()
{
    // Esc: QDialog would hide the form; here it presses the cancel button, if there is one.
    if (m_cancelButton && m_cancelButton->isVisible() && m_cancelButton->isEnabled()) {
        m_cancelButton->click();
    }
}

void Form::MsgBox(std::string_view prompt, std::string_view title)
{
    showMessageBox(this, text(prompt), text(title));
}

} // namespace WindowRuntime
