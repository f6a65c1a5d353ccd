// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

// Benchmarks through the real windows on Qt's offscreen platform: the time to enter one tester
// with real key events, and whether resident memory stays flat over many testers and many
// Summary / OK rounds.
#include "Zestra.h"
#include "frmMain.h"
#include "frmSummary.h"
#include "frmTest.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#ifdef __linux__
#include <unistd.h>
#endif

namespace {

double residentMiB()
{
#ifdef __linux__
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024.0) / 1024.0;
#else
    return 0;
#endif
}

void showActive(WindowRuntime::Form &form)
{
    form.Show(WindowRuntime::ShowModeless);
    if (!QTest::qWaitForWindowActive(&form)) {
        std::fprintf(stderr, "%s never became active\n", qPrintable(form.objectName()));
        std::exit(EXIT_FAILURE);
    }
}

void enterTester(frmTest &form, QLineEdit *punch, QLineEdit *apple)
{
    QTest::keyClick(punch, Qt::Key_1);
    QTest::keyClick(punch, Qt::Key_Tab);
    QTest::keyClick(apple, Qt::Key_1);
    QTest::keyClick(&form, Qt::Key_Return);
}

struct ScoreWindow
{
    ScoreWindow() { showActive(form()); }
    ~ScoreWindow() { form().Hide(); }
    frmTest &form() { return zestra.forms().test(); }
    QLineEdit *punch() { return form().findChild<QLineEdit *>("txtPunch"); }
    QLineEdit *apple() { return form().findChild<QLineEdit *>("txtApple"); }

    Zestra zestra;
};

void enteringTesters(benchmark::State &state)
{
    ScoreWindow window;
    sipster::RunTallies &tallies = window.zestra.forms().tallies();
    for (auto _ : state) {
        if (tallies.intTesterCount >= 30000) {
            tallies = {};
        }
        enterTester(window.form(), window.punch(), window.apple());
    }
    if (!window.punch()->text().isEmpty() || tallies.intTesterCount == 0) {
        state.SkipWithError("testers were not accepted");
    }
}
BENCHMARK(enteringTesters)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly();

// Memory after `later` rounds must be within 1 MiB of memory after `early` rounds.
void reportGrowth(const char *what, int early, int later, const std::function<void()> &round)
{
    for (int i = 0; i < early; ++i) {
        round();
    }
    const double before = residentMiB();
    for (int i = early; i < later; ++i) {
        round();
    }
    const double after = residentMiB();
    std::printf("%-28s after %5d: %6.2f MiB, after %5d: %6.2f MiB, growth %+.2f MiB (goal: "
                "under 1 MiB)\n",
                what, early, before, later, after, after - before);
}

void memoryStaysFlat()
{
    {
        ScoreWindow window;
        reportGrowth("testers of (1, 1)", 10, 30000,
                     [&] { enterTester(window.form(), window.punch(), window.apple()); });
    }
    Zestra zestra;
    zestra.forms().tallies() = {8, 6, 1};
    frmMain &main = zestra.forms().main();
    showActive(main);
    auto *summaryItem = main.findChild<QAction *>("Summary");
    frmSummary &summary = zestra.forms().summary();
    reportGrowth("Summary / OK rounds", 10, 1000, [&] {
        // The summary runs a modal loop: press its OK from inside, once it is active.
        std::function<void()> pressOK = [&] {
            if (summary.isActiveWindow()) {
                QTest::keyClick(&summary, Qt::Key_Return);
            } else {
                QTimer::singleShot(0, &summary, pressOK);
            }
        };
        QTimer::singleShot(0, &summary, pressOK);
        summaryItem->trigger();
    });
    main.Hide();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    memoryStaysFlat();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
