// Renders every window of the program, as it first appears, to PNG files in the folder given on
// the command line: the title card, the main window, score entry, the summary with figures, the
// About box and the message box that Summary shows before any tester is recorded.
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
#include <cstdio>
#include <cstdlib>

namespace {

QString g_folder;

void save(QWidget *window, const char *name)
{
    const QString path = QDir(g_folder).filePath(QString::fromLatin1(name) + ".png");
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        std::exit(EXIT_FAILURE);
    }
    std::printf("%s\n", qPrintable(path));
}

void shoot(WindowRuntime::Form &form, const char *name)
{
    form.Show(WindowRuntime::ShowModeless);
    if (!QTest::qWaitForWindowActive(&form)) {
        std::fprintf(stderr, "%s never became active\n", qPrintable(form.objectName()));
        std::exit(EXIT_FAILURE);
    }
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
    g_folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
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
    main.Show(WindowRuntime::ShowModeless);
    QTest::qWaitForWindowActive(&main);
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
    return 0;
}
