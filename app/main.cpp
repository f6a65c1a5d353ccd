// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "Fonts.h"
#include "WindowSystem.h"
#include "Zestra.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

void describeProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("Sipster"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SIPSTER_VERSION));
    QCoreApplication::setOrganizationDomain(QStringLiteral("sipster.org"));
}

// Takes the program's own options: --help and --version print and exit, any other option the
// program and Qt do not know ends it with a one-line error and status 1.
void readCommandLine(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Runs a taste test between Prune Punch and Apple Ade."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);
}

bool hasArgument(int argc, char *argv[], std::initializer_list<std::string_view> wanted)
{
    for (int i = 1; i < argc; ++i) {
        for (std::string_view option : wanted) {
            if (argv[i] == option) {
                return true;
            }
        }
    }
    return false;
}

// Until Qt has reached the window system, its complaints about that are held back: if it cannot
// reach a display at all, the user gets one line saying so instead of an abort and a core file.
QtMessageHandler g_qtHandler = nullptr;
QList<std::pair<QtMsgType, QString>> g_heldBack;

void startUpMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const bool aboutTheWindowSystem
        = context.category && std::strncmp(context.category, "qt.qpa", 6) == 0;
    if (type == QtFatalMsg) {
        for (const auto &[heldType, held] : std::as_const(g_heldBack)) {
            if (held.contains(QLatin1String("display"), Qt::CaseInsensitive)) {
                std::fputs("sipster: cannot open a display: DISPLAY (X11) or WAYLAND_DISPLAY "
                           "(Wayland) must name one that is running\n",
                           stderr);
                std::_Exit(EXIT_FAILURE);
            }
        }
    } else if (aboutTheWindowSystem) {
        g_heldBack.append({type, message});
        return;
    }
    g_qtHandler(type, context, message);
}

void releaseStartUpMessages()
{
    qInstallMessageHandler(g_qtHandler);
    for (const auto &[type, message] : std::as_const(g_heldBack)) {
        g_qtHandler(type, QMessageLogContext(), message);
    }
    g_heldBack.clear();
}

} // namespace

int main(int argc, char *argv[])
{
    describeProgram();
    if (hasArgument(argc, argv, {"--help-all"})) {
        // Qt lists its own options only from an application with a window system; the minimal
        // platform has one without a display.
        qputenv("QT_QPA_PLATFORM", "minimal");
        const QApplication app(argc, argv);
        readCommandLine(app);
    }
    if (hasArgument(argc, argv, {"-h", "--help", "-?", "-v", "--version"})) {
        // Answered without a display.
        const QCoreApplication app(argc, argv);
        readCommandLine(app);
    }
    // Where the user named a window system, Qt's own handling of it stays.
    const bool platformNamed = qEnvironmentVariableIsSet("QT_QPA_PLATFORM")
        || hasArgument(argc, argv, {"-platform", "--platform"});
    if (!platformNamed) {
        g_qtHandler = qInstallMessageHandler(startUpMessages);
    }
    startReadingFonts();
    QApplication app(argc, argv);
    if (!platformNamed) {
        releaseStartUpMessages();
    }
    readCommandLine(app);
    QGuiApplication::setDesktopFileName(QStringLiteral(SIPSTER_APP_ID));
    // Windows are hidden and shown again as the user moves between them; only Exit ends the run.
    QApplication::setQuitOnLastWindowClosed(false);

    const std::jthread preparing = prepareWindowSystem();
    // The forms measure their text from here on; fontconfig would otherwise be read twice.
    waitForFonts();
    Zestra zestra;
    zestra.Main();
    return QApplication::exec();
}
