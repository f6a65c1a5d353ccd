// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "Fonts.h"
#include "WindowSystem.h"
#include "XServer.h"
#include "Zestra.h"

#include <QApplication>
#include <QCommandLineParser>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#ifdef Q_OS_WASM
#include "WebPage.h"
#endif

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

// Whether --help, --help-all or --version is asked for: not where it is the value of one of Qt's
// options or follows "--". Read without an application, so that the one built to answer is the
// only one the program builds.
bool answerAskedFor(int argc, char *argv[])
{
    // Qt's own options that take a value: those Qt 6 lists with --help-all (in an X11 session,
    // with the X11 platform's too), and QApplication's -style and -stylesheet.
    const QString qtOptionsWithValue = QStringLiteral(
        "platform platformpluginpath platformtheme plugin qwindowgeometry qwindowicon qwindowtitle "
        "session qmljsdebugger style stylesheet display name visual geometry icon title");
    QCommandLineParser parser;
    // Qt's options are words after a single dash.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    for (const QString &name : qtOptionsWithValue.split(u' ')) {
        parser.addOption({name, QString(), QStringLiteral("value")});
    }
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    parser.parse(arguments);
    return parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))
        || parser.isSet(version);
}

// Answers --help, --help-all and --version, with Qt's own options beside them taken as Qt takes
// them, and ends the program. Qt does not promise that a second application in one process
// works: an application is built here only where one of them is asked for, and the program ends
// here with it.
void answerWithoutDisplay(int argc, char *argv[])
{
    if (!answerAskedFor(argc, argv)) {
        return;
    }
    // Only an application with a window system takes Qt's options off the command line (and can
    // list them). The minimal platform is one without a display, asked for in place of any the
    // user named, which may need one. On Windows the system's own platform needs none, and a
    // static Qt there has no other.
#ifdef Q_OS_WIN
    char platform[] = "windows";
#else
    char platform[] = "minimal";
#endif
    char platformOption[] = "-platform";
    // The X11 platform's own options, and Qt's aliases there for its window options, are left
    // out with the platform named, since the minimal platform does not take them.
    const std::string_view leftOutWithValue[]
        = {"-platform", "-display", "-name", "-visual", "-geometry", "-icon", "-title"};
    std::vector<char *> arguments {argv[0], platformOption, platform};
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (argument.starts_with("--")) {
            argument.remove_prefix(1);
        }
        if (std::ranges::find(leftOutWithValue, argument) != std::end(leftOutWithValue)) {
            ++i;
        } else if (argument != "-nograb" && argument != "-dograb") {
            arguments.push_back(argv[i]);
        }
    }
    int count = int(arguments.size());
    arguments.push_back(nullptr);
    // What the platform says as it starts (no runtime folder, say) is beside the point here.
    static QtMessageHandler qtHandler = nullptr;
    qtHandler = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (type == QtCriticalMsg || type == QtFatalMsg) {
                qtHandler(type, context, message);
            }
        });
    const QApplication app(count, arguments.data());
    readCommandLine(app);
    // Reached only where Qt took the option for the value of one of its own that
    // answerAskedFor does not know of.
    std::fputs("sipster: Qt took --help, --help-all or --version for the value of one of its own "
               "options; give it before them\n",
               stderr);
    std::exit(EXIT_FAILURE);
}

// Until Qt has reached the window system, what it says of it is held back. Where it cannot reach
// one, Qt 6 ends the program with qFatal, an abort and a core file (seen with 6.4 and 6.8). The
// program ends with status 1 instead: where no display could be opened, with one line saying so
// (or that the one named is there but refused the connection); otherwise with everything Qt said of
// the cause (a platform plugin that would not load, a library it needs missing).
struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};
QtMessageHandler g_qtHandler = nullptr;
QList<HeldMessage> g_heldBack;

void passOn(QtMsgType type, const QByteArray &category, const QString &message)
{
    QMessageLogContext context;
    context.category = category.isEmpty() ? nullptr : category.constData();
    g_qtHandler(type, context, message);
}

// Qt's xcb platform says "could not connect to display", its Wayland platform "Failed to create
// wl_display" (worded so in Qt 6.4 and 6.8); nothing else it says before the window system is up
// names a display.
bool noDisplay()
{
    return std::ranges::any_of(g_heldBack, [](const HeldMessage &held) {
        return held.text.contains(QLatin1String("display"), Qt::CaseInsensitive);
    });
}

// Says why no display could be opened. Qt's xcb platform names the one it tried ("could not
// connect to display :0", so worded in Qt 6.4 and 6.8), whether no X server is there or one turned
// it away; only in the second case has the X library printed the server's reason above
// ("Authorization required, ..."). Asking the server at that display whether it lets in a client
// without a key tells the two apart.
void sayNoDisplay()
{
    const QLatin1String couldNotConnect("could not connect to display ");
    for (const HeldMessage &held : std::as_const(g_heldBack)) {
        const QByteArray display = held.text.startsWith(couldNotConnect)
            ? held.text.mid(couldNotConnect.size()).toLocal8Bit()
            : QByteArray();
        if (!display.isEmpty() && xServerRefuses(display)) {
            std::fprintf(stderr,
                         "sipster: the display %s is running but refused the connection (not "
                         "authorised? check XAUTHORITY); Qt said: %s\n",
                         display.constData(), qPrintable(held.text));
            return;
        }
    }
    std::fputs("sipster: cannot open a display: DISPLAY (X11) or WAYLAND_DISPLAY (Wayland) must "
               "name one that is running\n",
               stderr);
}

void startUpMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const QByteArray category = context.category ? QByteArray(context.category) : QByteArray();
    if (type == QtFatalMsg) {
        if (noDisplay()) {
            sayNoDisplay();
        } else {
            for (const HeldMessage &held : std::as_const(g_heldBack)) {
                passOn(held.type, held.category, held.text);
            }
            passOn(QtCriticalMsg, category, message);
        }
        std::_Exit(EXIT_FAILURE);
    }
    if (category.startsWith("qt.qpa")) {
        g_heldBack.append({type, category, message});
        return;
    }
    g_qtHandler(type, context, message);
}

void releaseStartUpMessages()
{
    qInstallMessageHandler(g_qtHandler);
    for (const HeldMessage &held : std::as_const(g_heldBack)) {
        passOn(held.type, held.category, held.text);
    }
    g_heldBack.clear();
}

} // namespace

int main(int argc, char *argv[])
{
    describeProgram();
    answerWithoutDisplay(argc, argv);
    g_qtHandler = qInstallMessageHandler(startUpMessages);
    startReadingFonts();
#ifdef Q_OS_WASM
    scaleForTouch();
#endif
    QApplication app(argc, argv);
    releaseStartUpMessages();
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
