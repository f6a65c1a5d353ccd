// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "FormsFixture.h"
#include "tests/CaseName.h"

#include <QIcon>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QThread>

namespace {

using Windows = std::vector<std::string>;

class Navigation : public FormsFixture
{
};

TEST_F(Navigation, SplashCloseLeadsToTheModalMainWindow)
{
    m_zestra->Main();
    EXPECT_EQ(visibleWindows(), Windows {"frmSplash"});
    EXPECT_EQ(topLevel("frmMain"), nullptr) << "the splash is drawn before the main window loads";
    EXPECT_TRUE(QTest::qWaitFor([] { return topLevel("frmMain") != nullptr; }))
        << "the main window is loaded behind the splash";
    EXPECT_EQ(visibleWindows(), Windows {"frmSplash"});

    user.on("frmSplash", [] { pressKey(topLevel("frmSplash"), Qt::Key_C, Qt::AltModifier); })
        .on("frmMain",
            [this] {
                EXPECT_EQ(visibleWindows(), Windows {"frmMain"});
                EXPECT_EQ(QApplication::activeModalWidget(), &forms().main());
                EXPECT_EQ(topLevel("frmSplash"), nullptr) << "Close destroys the splash";
                chooseMenu(&forms().main(), Qt::Key_F, Qt::Key_N);
            })
        .on("frmTest",
            [this] {
                EXPECT_EQ(visibleWindows(), Windows {"frmTest"});
                pressKey(&forms().test(), Qt::Key_Escape);
            })
        .on("frmMain", [this] { EXPECT_EQ(forms().main().windowModality(), Qt::NonModal); });
    user.run();
    EXPECT_EQ(visibleWindows(), Windows {"frmMain"});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "every modal show has unwound";
}

TEST_F(Navigation, SummaryWithoutTestersWarnsAndStays)
{
    frmMain &main = startAtMain();
    user.on(&main, [&] { chooseMenu(&main, Qt::Key_F, Qt::Key_S); })
        .onMessageBox([](QMessageBox &box) {
            EXPECT_EQ(box.text(), "No data to summarize");
            EXPECT_EQ(box.windowTitle(), "Input Requested");
            // The title bar has room for the title beside its icon and three buttons.
            QFont titleFont = box.font();
            titleFont.setBold(true);
            EXPECT_GE(box.width(),
                      QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + 90);
            EXPECT_EQ(box.icon(), QMessageBox::Warning);
            EXPECT_EQ(box.buttons().size(), 1);
            EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
        })
        .on(&main, [] { EXPECT_EQ(visibleWindows(), Windows {"frmMain"}); });
    user.run();
    EXPECT_EQ(topLevel("frmSummary"), nullptr) << "the summary window was never needed";
}

// A compositor that holds a window maximised ends the connection of a program that shrinks it.
// The end-to-end check on weston runs these with Qt's Wayland platform; elsewhere they skip.
using Wayland = Navigation;

TEST_F(Wayland, AMaximisedMessageBoxKeepsItsSizeWhenLaidOutAgain)
{
    if (!WindowRuntime::onWayland()) {
        GTEST_SKIP() << "needs a Wayland compositor";
    }
    frmMain &main = startAtMain();
    user.on(&main, [&] { chooseMenu(&main, Qt::Key_F, Qt::Key_S); })
        .onMessageBox([](QMessageBox &box) {
            // Maximised as a user would, once it is on screen with its title bar.
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
            QCoreApplication::processEvents();
            const QSize shown = box.size();
            box.setWindowState(Qt::WindowMaximized);
            ASSERT_TRUE(QTest::qWaitFor([&] { return box.width() > shown.width(); }));
            const QSize maximised = box.size();
            // As a change of font or style would have it laid out again.
            QCoreApplication::postEvent(&box, new QEvent(QEvent::LayoutRequest));
            QCoreApplication::sendPostedEvents(&box, QEvent::LayoutRequest);
            EXPECT_EQ(box.size(), maximised) << "shrank to " << box.width() << 'x' << box.height();
        });
    user.run();
}

// Where the compositor draws the title bars (KWin), a message box is as QMessageBox makes it:
// no room added for a title Qt does not draw, and no size but its own. The end-to-end check on
// KWin runs it; a compositor that leaves the title bars to Qt skips it.
using CompositorTitleBars = Navigation;

TEST_F(CompositorTitleBars, AMessageBoxIsAsQtMakesIt)
{
    if (!WindowRuntime::onWayland()) {
        GTEST_SKIP() << "needs a Wayland compositor";
    }
    frmMain &main = startAtMain();
    user.on(&main, [&] { chooseMenu(&main, Qt::Key_F, Qt::Key_S); })
        .onMessageBox([](QMessageBox &box) {
            if (!box.windowHandle()->frameMargins().isNull()) {
                GTEST_SKIP() << "Qt draws the title bars here";
            }
            QMessageBox plain(box.icon(), box.windowTitle(), box.text(), QMessageBox::Ok);
            plain.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&plain));
            EXPECT_EQ(box.size(), plain.size());
            EXPECT_EQ(box.minimumSize(), box.maximumSize());
        });
    user.run();
}

TEST_F(Navigation, AboutOpensOverTheMainWindow)
{
    frmMain &main = startAtMain();
    user.on(&main, [&] { chooseMenu(&main, Qt::Key_H, Qt::Key_A); })
        .on("frmAbout",
            [this] {
                EXPECT_EQ(visibleWindows(), (Windows {"frmAbout", "frmMain"}));
                EXPECT_TRUE(forms().main().isVisible());
                auto *ok = child<QPushButton>(&forms().about(), "cmdOK");
                QTest::mouseClick(ok, Qt::LeftButton);
            })
        .on(&main, [] { EXPECT_EQ(visibleWindows(), Windows {"frmMain"}); });
    user.run();
}

TEST_F(Navigation, HiddenFormsKeepWhatWasTyped)
{
    frmMain &main = startAtMain();
    user.on(&main, [&] { chooseMenu(&main, Qt::Key_F, Qt::Key_N); })
        .on("frmTest",
            [this] {
                typeInto(child<QLineEdit>(&forms().test(), "txtPunch"), "4");
                pressKey(&forms().test(), Qt::Key_Escape);
            })
        .on(&main, [&] { chooseMenu(&main, Qt::Key_F, Qt::Key_N); })
        .on("frmTest", [this] {
            EXPECT_EQ(text(&forms().test(), "txtPunch"), "4");
            pressKey(&forms().test(), Qt::Key_Escape);
        });
    user.run();
    EXPECT_EQ(tallies().intTesterCount, 0);
}

struct CloseCase
{
    const char *name;
    const char *form;
    Qt::Key menuKey; // the menu and item that open the form
    Qt::Key itemKey;
};

void PrintTo(const CloseCase &c, std::ostream *os)
{
    *os << c.name;
}

class CloseRequest : public FormsFixture, public testing::WithParamInterface<CloseCase>
{
};

// A close request from the window manager does what the form's own way out does.
TEST_P(CloseRequest, ActsAsTheFormsOwnWayOut)
{
    tallies() = {8, 6, 1};
    const CloseCase &c = GetParam();
    frmMain &main = startAtMain();
    user.on(&main, [&] { chooseMenu(&main, c.menuKey, c.itemKey); })
        .on(c.form, [&] { topLevel(c.form)->close(); })
        .on(&main, [] { EXPECT_EQ(visibleWindows(), Windows {"frmMain"}); });
    user.run();
}

INSTANTIATE_TEST_SUITE_P(
    Forms, CloseRequest,
    testing::Values(CloseCase {"ScoreEntryCancels", "frmTest", Qt::Key_F, Qt::Key_N},
                    CloseCase {"SummaryOKs", "frmSummary", Qt::Key_F, Qt::Key_S},
                    CloseCase {"AboutOKs", "frmAbout", Qt::Key_H, Qt::Key_A}),
    CaseName());

TEST_F(Navigation, SplashCloseRequestActsAsClose)
{
    m_zestra->Main();
    user.on("frmSplash", [] { topLevel("frmSplash")->close(); })
        .on("frmMain",
            [this] {
                EXPECT_EQ(visibleWindows(), Windows {"frmMain"});
                // Leave the modal show the splash started by going through the score window.
                chooseMenu(&forms().main(), Qt::Key_F, Qt::Key_N);
            })
        .on("frmTest", [this] { pressKey(&forms().test(), Qt::Key_Escape); })
        .on("frmMain", [] {});
    user.run();
}

// The main window and the window icon wait for the title card's first frame; a card closed
// before it is drawn (through a screen reader) does not take them with it.
TEST_F(Navigation, SplashClosedBeforeItsFirstFrameStillLoadsTheIcon)
{
    QApplication::setWindowIcon(QIcon());
    m_zestra->Main();
    child<QPushButton>(&forms().splash(), "cmdClose")->click();
    user.on("frmMain",
            [this] {
                EXPECT_FALSE(QApplication::windowIcon().isNull());
                chooseMenu(&forms().main(), Qt::Key_F, Qt::Key_N);
            })
        .on("frmTest", [this] { pressKey(&forms().test(), Qt::Key_Escape); })
        .on("frmMain", [] {});
    user.run();
}

TEST_F(Navigation, ExitEndsTheProgramWithStatusZero)
{
    EXPECT_EXIT(
        {
            m_zestra->Main();
            user.on("frmSplash", [] { pressKey(topLevel("frmSplash"), Qt::Key_Return); })
                .on("frmMain", [this] {
                    tallies() = {8, 6, 1};
                    // Inside the modal show the splash started: End must not wait for it.
                    chooseMenu(&forms().main(), Qt::Key_F, Qt::Key_X);
                });
            user.run();
            std::abort(); // not reached when Exit ends the program
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(Navigation, MainWindowCloseRequestEndsTheProgram)
{
    EXPECT_EXIT(
        {
            frmMain &main = startAtMain();
            user.on(&main, [&] { main.close(); });
            user.run();
            std::abort();
        },
        testing::ExitedWithCode(0), "");
}

// Modal shows unwind: round after round leaves no deeper stack of event loops and no new windows.
TEST_F(Navigation, ThousandRoundsLeaveNothingBehind)
{
    tallies() = {8, 6, 1};
    frmMain &main = startAtMain();
    auto *tester = main.findChild<QAction *>("Tester");
    auto *summary = main.findChild<QAction *>("Summary");
    int shallowest = 1000;
    int deepest = 0;
    std::size_t windowCount = 0;
    const auto noteDepth = [&] {
        const int depth = QThread::currentThread()->loopLevel();
        shallowest = std::min(shallowest, depth);
        deepest = std::max(deepest, depth);
    };
    for (int round = 0; round < 1000; ++round) {
        user.on(&main, [&] { tester->trigger(); })
            .on("frmTest",
                [&] {
                    noteDepth();
                    pressKey(&forms().test(), Qt::Key_Escape);
                })
            .on(&main, [&] { summary->trigger(); })
            .on("frmSummary", [&] {
                noteDepth();
                pressKey(&forms().summary(), Qt::Key_Escape);
            });
        user.run();
        if (round == 0) {
            windowCount = QApplication::topLevelWidgets().size();
        }
    }
    EXPECT_EQ(deepest, shallowest);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windowCount);
    EXPECT_EQ(visibleWindows(), Windows {"frmMain"});
}

// Qt places each window when first shown: wholly on the screen when it fits.
TEST_F(Navigation, WindowsOpenOnTheScreen)
{
    tallies() = {8, 6, 1};
    frmMain &main = startAtMain();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const auto onScreen = [&](const char *name) {
        QWidget *window = topLevel(name);
        EXPECT_TRUE(screen.contains(window->frameGeometry()))
            << name << " at " << window->frameGeometry().x() << "," << window->frameGeometry().y();
    };
    user.on(&main,
            [&] {
                onScreen("frmMain");
                chooseMenu(&main, Qt::Key_H, Qt::Key_A);
            })
        .on("frmAbout",
            [&] {
                onScreen("frmAbout");
                pressKey(QApplication::focusWidget(), Qt::Key_Return);
            })
        .on(&main, [&] { chooseMenu(&main, Qt::Key_F, Qt::Key_N); })
        .on("frmTest",
            [&] {
                onScreen("frmTest");
                pressKey(&forms().test(), Qt::Key_Escape);
            })
        .on(&main, [] {});
    user.run();
}

// A form hidden where no screen is now (a screen unplugged, or its scale changed, meanwhile)
// comes back on one.
TEST_F(Navigation, AFormHiddenOffEveryScreenComesBackOnOne)
{
    frmMain &main = startAtMain();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    main.move(5000, 5000);
    main.Hide();
    main.Show(WindowRuntime::ShowModeless);
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(main.geometry()))
        << main.x() << "," << main.y();
}

} // namespace
