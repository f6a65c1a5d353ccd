// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "Platform.h"

#include "Accessibility.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QInputMethodQueryEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QVersionNumber>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_WASM
#include <emscripten.h>
#endif

namespace WindowRuntime {

namespace {

// The faces to try for a face the forms ask for, in order: the face itself, then stand-ins with
// the same metrics that systems lacking it have, Windows' own TrueType twin or Liberation Sans
// (Sipster Sans in a browser: Liberation Sans cut down, under a name of its own).
// Windows has "MS Sans Serif" only as a bitmap face made for 96 dpi, scaled up pixel by pixel at
// any other display scale: there it always gives way to a stand-in.
QStringList facesToTry(const QString &asked)
{
    QStringList faces;
    if (asked == QLatin1String("MS Sans Serif")) {
#ifndef Q_OS_WIN
        faces << asked;
#endif
        faces << QStringLiteral("Microsoft Sans Serif") << QStringLiteral("Liberation Sans")
              << QStringLiteral("Sipster Sans");
    } else {
        faces << asked;
        if (asked == QLatin1String("Arial")) {
            faces << QStringLiteral("Liberation Sans") << QStringLiteral("Sipster Sans");
        }
    }
    return faces;
}

} // namespace

// The stand-in is chosen here rather than through Qt's table of substitutes: for a font with
// substitutes Qt asks fontconfig for the whole list of fallback faces up front, and the title card
// would wait for that; for a font of one face it asks only once a character is missing from it.
QString faceFor(const char *face)
{
    // Looked up once a face: the faces installed stay the same for the run.
    static QHash<QString, QString> chosen;
    const QString asked = QString::fromLatin1(face);
    auto found = chosen.constFind(asked);
    if (found == chosen.constEnd()) {
        const QStringList installed = QFontDatabase::families();
        const QStringList faces = facesToTry(asked);
        const auto first = std::ranges::find_if(faces, [&](const QString &candidate) {
            return installed.contains(candidate, Qt::CaseInsensitive);
        });
        found = chosen.insert(asked, first != faces.end() ? *first : asked);
    }
    return *found;
}

bool onWayland()
{
    // Qt's Wayland platform plugins are named "wayland", "wayland-egl" and so on.
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool qtBefore(int major, int minor)
{
    return QLibraryInfo::version() < QVersionNumber(major, minor);
}

void activateOnceMade(QWidget &window)
{
#ifdef Q_OS_WASM
    // Qt for WebAssembly (seen in 6.8) activates a window while it is still making it. With its
    // screen-reader mirror in the page turned on, the mirror then looks up that window, not yet
    // made, throws, and the window is never shown. There Qt is told not to activate it as it
    // shows it; showActive() does once it is made.
    window.setAttribute(Qt::WA_ShowWithoutActivating);
#else
    Q_UNUSED(window);
#endif
}

void showActive(QWidget &window)
{
    // Not show(): in a browser that shows any top-level window but a dialog over the whole page,
    // without its title bar and close box (Qt 6.8). Elsewhere the two are the same.
    window.setVisible(true);
    window.raise();
    window.activateWindow();
    mirrorOnceShown(window);
}

void keyboardOnlyForText()
{
#ifdef Q_OS_WASM
    // Qt for WebAssembly (seen in 6.8) gives its hidden text field in the page the browser's
    // focus whenever any control takes the focus, a button too, and a tablet brings up its
    // keyboard for it. The field asks for no keyboard while the control takes no typed text.
    QObject::connect(qApp, &QGuiApplication::focusObjectChanged, qApp, [](QObject *focus) {
        QInputMethodQueryEvent query(Qt::ImEnabled);
        if (focus) {
            QCoreApplication::sendEvent(focus, &query);
        }
        const bool typed = query.value(Qt::ImEnabled).toBool();
        EM_ASM(
            {
                for (const field of document.querySelectorAll('body > input')) {
                    if ('data-qinputcontext' in field) {
                        field.inputMode = $0 ? 'text' : 'none';
                    }
                }
            },
            typed);
    });
#endif
}

void letGo(QWidget &window)
{
#ifdef Q_OS_WASM
    // Qt for WebAssembly (seen in 6.8) finds the element that mirrors a control for screen
    // readers by the address of the control's accessible interface, and forgets none: a control
    // made later where a destroyed one had been took over that one's element, of the wrong kind
    // (a menu item took the title card's frame's, and was no button). There the window is kept,
    // its controls alive, inside a widget never shown, which frees its native window and drawing
    // memory all the same.
    static QWidget *const kept = new QWidget;
    QMetaObject::invokeMethod(
        &window, [&window] { window.setParent(kept, Qt::Widget); }, Qt::QueuedConnection);
#else
    window.deleteLater();
#endif
}

void End()
{
    std::fflush(nullptr);
#ifdef Q_OS_WASM
    // The page keeps the program alive for its events; only a forced exit ends it there and lets
    // the page know, which then says so in place of the program's windows.
    emscripten_force_exit(EXIT_SUCCESS);
#endif
    std::_Exit(EXIT_SUCCESS);
}

sipster::NumberStyle numberStyle()
{
    const QLocale locale;
    sipster::NumberStyle style;
    style.decimalPoint = locale.decimalPoint().toStdString();
    style.minusSign = locale.negativeSign().toStdString();
    if (!(locale.numberOptions() & QLocale::OmitGroupSeparator)) {
        style.groupSeparator = locale.groupSeparator().toStdString();
    }
    return style;
}

} // namespace WindowRuntime
