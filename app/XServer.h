// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

class QByteArray;

// Whether an X server answers at the display, named as DISPLAY names one, and turns away a client
// that brings no key: "[protocol/][host]:number[.screen]", this machine's own socket where the
// host is empty or "unix", TCP port 6000 + number otherwise. False where nothing answers there as
// an X server does, or where the server lets such a client in; always false where there are no
// X11 sockets (Windows, a browser).
bool xServerRefuses(const QByteArray &display);
