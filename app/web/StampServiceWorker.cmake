# SPDX-FileCopyrightText: 2026 The Sipster team
#
# SPDX-License-Identifier: MIT

# cmake -DIN=service-worker.js.in -DOUT=service-worker.js -DFILES="a;b" -P StampServiceWorker.cmake
# Names the service worker's cache after the files it keeps, so that any change to them is a new
# service worker to the browser.
set(contents "")
foreach(file IN LISTS FILES)
    file(SHA256 ${file} hash)
    string(APPEND contents ${hash})
endforeach()
string(SHA256 SIPSTER_BUILD_ID "${contents}")
string(SUBSTRING ${SIPSTER_BUILD_ID} 0 16 SIPSTER_BUILD_ID)
configure_file(${IN} ${OUT} @ONLY)
