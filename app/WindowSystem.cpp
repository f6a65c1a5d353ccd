// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "WindowSystem.h"

#include "Platform.h"

#include <QtGui/qtguiglobal.h>

#if QT_CONFIG(opengl)
#include <QOpenGLContext>
#endif

std::jthread prepareWindowSystem()
{
#if QT_CONFIG(opengl)
    // Qt 6.4's Wayland platform readies its OpenGL integration, which loads the graphics driver,
    // when it shows its first window, only to learn whether it may draw title bars: for a window
    // without one too. It allows that from any thread, under a lock of its own. Where the user
    // has turned Qt's title bars off, it never loads it; nor does Qt 6.8, which this thread
    // would only make load it (checked on 6.8.2).
    if (WindowRuntime::onWayland() && WindowRuntime::qtBefore(6, 8)
        && qEnvironmentVariableIntValue("QT_WAYLAND_DISABLE_WINDOWDECORATION") == 0) {
        return std::jthread([] { QOpenGLContext::supportsThreadedOpenGL(); });
    }
#endif
    return {};
}
