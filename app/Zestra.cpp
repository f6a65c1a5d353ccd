// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "Zestra.h"

#include "frmMain.h"
#include "frmSplash.h"

#ifdef Q_OS_WASM
#include "WebPage.h"
#endif

#include <QApplication>
#include <QIcon>
#include <utility>

Zestra::Zestra()
    : m_forms(m_tallies)
{
#ifdef Q_OS_WASM
    shareWithPage(m_tallies);
#endif
}

void Zestra::Main()
{
    frmSplash &splash = m_forms.splash();
    splash.Show(WindowRuntime::ShowModeless);
    // What the title card does not need waits until the card is on screen, so that it does not
    // hold the card back. A card closed before its first frame (through a screen reader, or
    // started behind other windows) loads it as it goes.
    const auto load = [this] {
        loadBehindTitleCard();
    };
    QObject::connect(&splash, &WindowRuntime::Form::firstFrameDrawn, &m_titleCardWatch, load,
                     Qt::SingleShotConnection);
    QObject::connect(&splash, &WindowRuntime::Form::unloaded, &m_titleCardWatch, load,
                     Qt::SingleShotConnection);
}

void Zestra::loadBehindTitleCard()
{
    if (std::exchange(m_loadedBehindTitleCard, true)) {
        return;
    }
    m_forms.main();
#ifdef Q_OS_WASM
    tellPageStarted();
#endif
    // Every window created with an icon set carries all its sizes; the title card shows none.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/sipster-%1.png").arg(size), QSize(size, size));
    }
    QApplication::setWindowIcon(icon);
}
