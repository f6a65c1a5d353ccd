// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "Fonts.h"

#include <thread>

#ifdef SIPSTER_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

#ifdef SIPSTER_EMBEDDED_FONTS
#include <QDir>
#include <QFontDatabase>
#endif

namespace {

// Kept for the whole run: a program that ends while the fonts are still being read (a mistyped
// option) waits for the thread as it ends, rather than end with fontconfig half read.
std::jthread &reader()
{
    static std::jthread thread;
    return thread;
}

} // namespace

void startReadingFonts()
{
#ifdef SIPSTER_FONTCONFIG
    // Fontconfig's first call reads its configuration files and font caches, most of the time
    // the title card takes before it can be measured. Read while Qt connects to the window
    // system, they are ready when the card asks for its faces. FcInit may run on any thread.
    reader() = std::jthread([] { FcInit(); });
#endif
}

void waitForFonts()
{
    if (reader().joinable()) {
        reader().join();
    }
#ifdef SIPSTER_EMBEDDED_FONTS
    // In a browser the program has no fonts but those built into it: Liberation Sans, as Sipster
    // Sans, in the styles the forms draw with. Without them every form would fall back on Qt's own
    // face, wider than the forms are laid out for.
    const QDir faces(QStringLiteral(":/faces"));
    for (const QString &face : faces.entryList(QDir::Files)) {
        if (QFontDatabase::addApplicationFont(faces.filePath(face)) < 0) {
            qWarning("sipster: the built-in font %s could not be read", qUtf8Printable(face));
        }
    }
#endif
}
