// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

// Renders every window of the program, as it first appears, to PNG files in a folder for the Qt
// it runs on (qtMAJOR.MINOR) in the folder given on the command line: the title card, the main
// window, score entry, the summary with figures, the About box and the message box that Summary
// shows before any tester is recorded. Each Qt lays its windows out a little differently.
//
//   screenshots [FOLDER]           writes the pictures
//   screenshots --check FOLDER     compares each window with the picture in FOLDER instead, and
//                                  ends with status 77 (left out) if it has none for this Qt
#include "Zestra.h"
#include "frmAbout.h"
#include "frmMain.h"
#include "frmSplash.h"
#include "frmSummary.h"
#include "frmTest.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTimer>
#include <QVersionNumber>
#include <cstdio>
#include <cstdlib>

namespace {

// What CTest takes for a test left out.
constexpr int kLeftOut = 77;

QString g_folder;
bool g_check = false;
int g_passed = 0;
int g_failed = 0;

void save(QWidget *window, const char *name)
{
    const QString path = QDir(g_folder).filePath(QString::fromLatin1(name) + ".png");
    const QImage shown = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (!g_check) {
        if (!shown.save(path)) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(path));
            std::exit(EXIT_FAILURE);
        }
        std::printf("%s\n", qPrintable(path));
        return;
    }
    const QImage expected = QImage(path).convertToFormat(QImage::Format_RGB32);
    if (shown == expected) {
        ++g_passed;
        return;
    }
    ++g_failed;
    std::printf("FAILED: %s looks different from %s (%dx%d, expected %dx%d)\n", name,
                qPrintable(path), shown.width(), shown.height(), expected.width(),
                expected.height());
}

void showActive(WindowRuntime::Form &form)
{
    form.Show(WindowRuntime::ShowModeless);
    if (!QTest::qWaitForWindowActive(&form)) {
        std::fprintf(stderr, "%s never became active\n", qPrintable(form.objectName()));
        std::exit(EXIT_FAILURE);
    }
}

void shoot(WindowRuntime::Form &form, const char *name)
{
    showActive(form);
    save(&form, name);
    form.Hide();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "1");
    QApplication app(argc, argv);
    // A caret that blinks would make two renderings of the same window differ.
    QApplication::setCursorFlashTime(0);
    const QStringList arguments = QApplication::arguments();
    g_check = arguments.size() > 2 && arguments[1] == QLatin1String("--check");
    const QVersionNumber qt = QVersionNumber::fromString(QString::fromLatin1(qVersion()));
    g_folder
        = QDir(arguments.size() > 1 ? arguments.last() : QStringLiteral("docs/screenshots"))
              .filePath(QStringLiteral("qt%1.%2").arg(qt.majorVersion()).arg(qt.minorVersion()));
    if (g_check && !QDir(g_folder).exists()) {
        std::printf("screenshots: left out, no pictures drawn with Qt %s (%s is missing)\n",
                    qVersion(), qPrintable(g_folder));
        return kLeftOut;
    }
    QDir().mkpath(g_folder);

    Zestra zestra;
    Forms &forms = zestra.forms();
    shoot(forms.splash(), "splash");
    shoot(forms.main(), "main");
    shoot(forms.test(), "score-entry");
    forms.tallies() = {23, 25, 3};
    shoot(forms.summary(), "summary");
    shoot(forms.about(), "about");

    // The warning Summary gives with no tester recorded, from a real modal message box.
    forms.tallies() = {};
    frmMain &main = forms.main();
    showActive(main);
    std::function<void()> grabBox = [&] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box || !box->isActiveWindow()) {
            QTimer::singleShot(10, &main, grabBox);
            return;
        }
        save(box, "message-box");
        QTest::keyClick(box, Qt::Key_Return);
    };
    QTimer::singleShot(0, &main, grabBox);
    main.findChild<QAction *>(QStringLiteral("Summary"))->trigger();
    main.Hide();
    if (g_check) {
        std::printf("screenshots: %d passed, %d failed\n", g_passed, g_failed);
    }
    return g_failed == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
