// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include <thread>

// Begins, on a thread of its own, the graphics set-up the window system asks for before it shows
// the first window, so that it runs while the first form is built. Call it once the application
// exists; the thread is joined when the returned object goes.
std::jthread prepareWindowSystem();
