// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "Accessibility.h"

#include <QAccessibleWidget>
#include <QMenu>
#include <QMenuBar>

#ifdef Q_OS_WASM
#include <QGuiApplication>
#include <QScreen>
#include <emscripten.h>
#endif

namespace WindowRuntime {

namespace {

QAccessibleInterface *accessibleFor(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget) {
        return nullptr;
    }
    if (className == QLatin1String("WindowRuntime::PictureBox")) {
        return new QAccessibleWidget(widget, QAccessible::Graphic);
    }
    if (className == QLatin1String("WindowRuntime::Form")
        && widget->findChild<QMenuBar *>(QString(), Qt::FindDirectChildrenOnly)) {
        return new QAccessibleWidget(widget, QAccessible::Window);
    }
    return nullptr;
}

#ifdef Q_OS_WASM
// Tells the mirror that the control and those in it are shown, which places them again.
void showToMirror(QAccessibleInterface *control)
{
    if (!control || control->state().invisible) {
        return;
    }
    QAccessibleEvent event(control, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&event);
    for (int i = 0; i < control->childCount(); ++i) {
        showToMirror(control->child(i));
    }
}
#endif

QAccessible::UpdateHandler g_passOn = nullptr;

void holdBackCaretMoves(QAccessibleEvent *event)
{
    if (event->type() == QAccessible::TextCaretMoved
        || event->type() == QAccessible::TextSelectionChanged) {
        return;
    }
    if (g_passOn) {
        g_passOn(event);
        return;
    }
    // No handler was installed before this one: Qt's own delivery to the screen reader.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(holdBackCaretMoves);
}

} // namespace

void installAccessibleRoles()
{
    QAccessible::installFactory(accessibleFor);
}

void mirrorOnceShown(QWidget &window)
{
#ifdef Q_OS_WASM
    // Queued: the window is shown, laid out and placed by then.
    QMetaObject::invokeMethod(
        &window, [&window] { showToMirror(QAccessible::queryAccessibleInterface(&window)); },
        Qt::QueuedConnection);
#else
    Q_UNUSED(window);
#endif
}

void keepMenuMirrored(QMenu &menu)
{
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&menu] { mirrorOnceShown(menu); });
}

void scaleMirrorWithWindows()
{
#ifdef Q_OS_WASM
    // Qt for WebAssembly (seen in 6.8) places the mirror's copies in its own pixels, unscaled:
    // at a scale factor of 1.9, a tablet's, each lay at about half the place and size of the
    // control it stands for, and a screen reader that finds controls by touch found none where
    // it touched. Each window's copies are scaled as its drawing is, from its corner, and each
    // copy covers its control, no more: a copy's size is its control's, padding included.
    const double scale = QGuiApplication::primaryScreen()->devicePixelRatio()
        / emscripten_get_device_pixel_ratio();
    if (qFuzzyCompare(scale, 1.0)) {
        return;
    }
    EM_ASM(
        {
            const style = document.createElement('style');
            style.textContent = '.qt-window-a11y-container { transform: scale(' + $0
                + '); transform-origin: 0 0; } .qt-window-a11y-container > * '
                + '{ box-sizing: border-box; }';
            const screen = document.querySelector('#qt-shadow-container');
            if (screen && screen.shadowRoot) {
                screen.shadowRoot.appendChild(style);
            }
        },
        scale);
#endif
}

void reportNameChanged(QObject *object)
{
    QAccessibleEvent event(object, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

// Holds caret reports back for as long as it lives; a hold-back already in place stays as it is.
CaretReportsHeldBack::CaretReportsHeldBack()
    : m_before(QAccessible::installUpdateHandler(holdBackCaretMoves))
{
    if (!nested()) {
        g_passOn = m_before;
    }
}

CaretReportsHeldBack::~CaretReportsHeldBack()
{
    if (nested()) {
        return;
    }
    // A handler installed meanwhile by someone else stays.
    const QAccessible::UpdateHandler current = QAccessible::installUpdateHandler(m_before);
    if (current != holdBackCaretMoves) {
        QAccessible::installUpdateHandler(current);
    }
    g_passOn = nullptr;
}

bool CaretReportsHeldBack::nested() const
{
    return m_before == holdBackCaretMoves;
}

} // namespace WindowRuntime
