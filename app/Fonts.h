// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include <thread>

// Begins reading the system's font configuration on a thread of its own, where Qt finds its
// fonts through fontconfig; the thread returned has finished once joined.
std::jthread prepareFonts();
