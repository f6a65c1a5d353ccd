// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "XServer.h"

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#if defined(Q_OS_UNIX) && !defined(Q_OS_WASM)
#include <algorithm>
#include <cstddef>
#include <netdb.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Connects and opens the connection as an X client does, with no key, then reads the first byte
// of the answer: 0 (failed) or 2 (authenticate further) where the server turns the client away,
// 1 where it lets it in. Anything else that listens there (a proxy that takes every connection)
// sends no such answer.
bool refuses(int family, const sockaddr *address, socklen_t length)
{
    const int socket = ::socket(family, SOCK_STREAM, 0);
    if (socket < 0) {
        return false;
    }
    // Linux gives up connecting once the time allowed for sending has passed, so a host that never
    // answers holds the program up no longer than this (elsewhere, as long as the system waits).
    const timeval limit {2, 0};
    ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    // Least significant byte first, protocol 11.0, no key.
    const char setup[12] = {'l', 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    char status = 1;
    const bool refused = ::connect(socket, address, length) == 0
        && ::send(socket, setup, sizeof setup, 0) == sizeof setup
        && ::recv(socket, &status, 1, 0) == 1 && (status == 0 || status == 2);
    ::close(socket);
    return refused;
}

// An abstract socket's name begins with a zero byte and is no file (Linux).
bool localServerRefuses(const QByteArray &path, bool abstract)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const qsizetype start = abstract ? 1 : 0;
    if (start + path.size() >= qsizetype(sizeof address.sun_path)) {
        return false;
    }
    std::copy(path.cbegin(), path.cend(), address.sun_path + start);
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + start + path.size());
    return refuses(AF_UNIX, reinterpret_cast<const sockaddr *>(&address), length);
}

bool tcpServerRefuses(const QByteArray &host, int port)
{
    addrinfo hints {};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (::getaddrinfo(host.constData(), QByteArray::number(port).constData(), &hints, &found)
        != 0) {
        return false;
    }
    bool refused = false;
    for (const addrinfo *address = found; address && !refused; address = address->ai_next) {
        refused = refuses(address->ai_family, address->ai_addr, address->ai_addrlen);
    }
    ::freeaddrinfo(found);
    return refused;
}

} // namespace

bool xServerRefuses(const QByteArray &display)
{
    QByteArray name = display;
    QByteArray protocol;
    if (const qsizetype slash = name.indexOf('/'); slash > 0) {
        protocol = name.left(slash);
        name = name.mid(slash + 1);
    }
    const qsizetype colon = name.lastIndexOf(':');
    if (colon < 0) {
        return false;
    }
    const QByteArray host = name.left(colon);
    bool isNumber = false;
    const int number = name.mid(colon + 1).split('.').constFirst().toInt(&isNumber);
    // A display's TCP port is 6000 + its number.
    if (!isNumber || number < 0 || number > 65535 - 6000) {
        return false;
    }
    if (host.isEmpty() || host == "unix" || protocol == "unix") {
        // X clients try the abstract socket first where there is one, then the file.
        const QByteArray path = "/tmp/.X11-unix/X" + QByteArray::number(number);
#ifdef Q_OS_LINUX
        if (localServerRefuses(path, true)) {
            return true;
        }
#endif
        return localServerRefuses(path, false);
    }
    return tcpServerRefuses(host, 6000 + number);
}

#else

bool xServerRefuses(const QByteArray &)
{
    return false;
}

#endif
