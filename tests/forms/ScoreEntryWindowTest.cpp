// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "FormsFixture.h"
#include "tests/CaseName.h"

#include <QMessageBox>
#include <QTest>

namespace {

class ScoreEntryWindow : public FormsFixture
{
protected:
    // Opens the score window from the main window's menu, runs `steps` inside it, then cancels
    // unless the steps left it.
    void inScoreWindow(std::function<void(frmTest &)> steps)
    {
        frmMain &main = startAtMain();
        user.on(&main, [&] { chooseMenu(&main, Qt::Key_F, Qt::Key_N); }).on("frmTest", [&] {
            steps(forms().test());
        });
        user.when([] { return true; },
                  [this] {
                      if (forms().test().isVisible()) {
                          pressKey(&forms().test(), Qt::Key_Escape);
                      }
                  })
            .on(&main, [] {});
        user.run();
    }

    static QLineEdit *punch(frmTest &form) { return child<QLineEdit>(&form, "txtPunch"); }
    static QLineEdit *apple(frmTest &form) { return child<QLineEdit>(&form, "txtApple"); }
};

TEST_F(ScoreEntryWindow, OpensWithTheCaretInThePunchBoxAndFollowsTheTabOrder)
{
    inScoreWindow([](frmTest &form) {
        EXPECT_EQ(QApplication::focusWidget(), punch(form));
        const char *order[] = {"txtApple", "cmdOK", "cmdCancel", "txtPunch"};
        for (const char *name : order) {
            pressKey(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget()->objectName(), name);
        }
    });
}

TEST_F(ScoreEntryWindow, LabelAcceleratorsFocusTheirBoxes)
{
    inScoreWindow([](frmTest &form) {
        pressKey(&form, Qt::Key_A, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), apple(form));
        pressKey(&form, Qt::Key_P, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), punch(form));
    });
}

TEST_F(ScoreEntryWindow, EnterInEitherBoxRecordsTheTester)
{
    inScoreWindow([this](frmTest &form) {
        typeInto(punch(form), "8");
        pressKey(punch(form), Qt::Key_Tab);
        typeInto(apple(form), "6");
        pressKey(apple(form), Qt::Key_Return);
        EXPECT_EQ(tallies().intPunchTotal, 8);
        EXPECT_EQ(tallies().intAppleTotal, 6);
        EXPECT_EQ(tallies().intTesterCount, 1);
        EXPECT_EQ(punch(form)->text(), "");
        EXPECT_EQ(apple(form)->text(), "");
        EXPECT_EQ(QApplication::focusWidget(), punch(form));
        EXPECT_EQ(visibleWindows(), std::vector<std::string> {"frmTest"}) << "nothing else shows";

        typeInto(punch(form), "5");
        pressKey(&form, Qt::Key_A, Qt::AltModifier);
        typeInto(apple(form), "9");
        pressKey(punch(form), Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(tallies().intTesterCount, 2);
    });
}

TEST_F(ScoreEntryWindow, MouseOnOKRecordsAndCancelKeepsTypedText)
{
    inScoreWindow([this](frmTest &form) {
        typeInto(punch(form), "10");
        typeInto(apple(form), "10");
        QTest::mouseClick(child<QPushButton>(&form, "cmdOK"), Qt::LeftButton);
        EXPECT_EQ(tallies().intTesterCount, 1);
        typeInto(punch(form), "7");
    });
    EXPECT_EQ(punch(forms().test())->text(), "7") << "cancel keeps what was typed";
    EXPECT_EQ(tallies().intTesterCount, 1);
}

// Alt with a button's accelerator letter presses it (with a short press animation, so the
// steps wait for its effect).
TEST_F(ScoreEntryWindow, ButtonAcceleratorsAndEnterOnTheFocusedButton)
{
    frmMain &main = startAtMain();
    frmTest &form = forms().test();
    user.on(&main, [&] { chooseMenu(&main, Qt::Key_F, Qt::Key_N); })
        .on(&form,
            [&] {
                typeInto(punch(form), "9");
                typeInto(apple(form), "3");
                pressKey(&form, Qt::Key_O, Qt::AltModifier);
            })
        .when([&] { return tallies().intTesterCount == 1; },
              [&] {
                  typeInto(punch(form), "4");
                  child<QPushButton>(&form, "cmdCancel")->setFocus();
                  pressKey(QApplication::focusWidget(), Qt::Key_Return);
                  EXPECT_FALSE(form.isVisible()) << "Enter on Cancel presses Cancel, not OK";
                  EXPECT_EQ(tallies().intTesterCount, 1);
              })
        .on(&main, [&] { chooseMenu(&main, Qt::Key_F, Qt::Key_N); })
        .on(&form, [&] { pressKey(&form, Qt::Key_C, Qt::AltModifier); })
        .on(&main, [&] { EXPECT_EQ(punch(form)->text(), "4"); });
    user.run();
}

struct RefusalCase
{
    const char *name;
    const char *punch;
    const char *apple;
    sipster::RunTallies before;
    const char *title;
    const char *prompt;
    const char *focusedBox;
};

void PrintTo(const RefusalCase &c, std::ostream *os)
{
    *os << c.name;
}

class ScoreEntryRefusal : public ScoreEntryWindow, public testing::WithParamInterface<RefusalCase>
{
};

TEST_P(ScoreEntryRefusal, ShowsTheMessageAndReturnsToTheBoxAtFault)
{
    const RefusalCase &c = GetParam();
    tallies() = c.before;
    frmMain &main = startAtMain();
    user.on(&main, [&] { chooseMenu(&main, Qt::Key_F, Qt::Key_N); })
        .on("frmTest",
            [&] {
                frmTest &form = forms().test();
                typeInto(punch(form), c.punch);
                typeInto(apple(form), c.apple);
                pressKey(&form, Qt::Key_Return);
            })
        .onMessageBox([&](QMessageBox &box) {
            EXPECT_EQ(box.windowTitle(), c.title);
            EXPECT_EQ(box.text(), c.prompt);
            EXPECT_EQ(box.icon(), QMessageBox::Warning);
            EXPECT_EQ(box.buttons().size(), 1);
        })
        .on("frmTest",
            [&] {
                frmTest &form = forms().test();
                EXPECT_EQ(QApplication::focusWidget()->objectName(), c.focusedBox);
                EXPECT_EQ(punch(form)->text(), c.punch) << "texts stay as typed";
                EXPECT_EQ(apple(form)->text(), c.apple);
                pressKey(&form, Qt::Key_Escape);
            })
        .on(&main, [] {});
    user.run();
    EXPECT_EQ(tallies().intTesterCount, c.before.intTesterCount);
    EXPECT_EQ(tallies().intPunchTotal, c.before.intPunchTotal);
    EXPECT_EQ(tallies().intAppleTotal, c.before.intAppleTotal);
}

INSTANTIATE_TEST_SUITE_P(
    Verdicts, ScoreEntryRefusal,
    testing::Values(RefusalCase {"BothEmpty",
                                 "",
                                 "",
                                 {},
                                 "Invalid score",
                                 "Enter a Prune Punch score from 1 to 10",
                                 "txtPunch"},
                    RefusalCase {"PunchTooHigh",
                                 "11",
                                 "11",
                                 {},
                                 "Invalid score",
                                 "Enter a Prune Punch score from 1 to 10",
                                 "txtPunch"},
                    RefusalCase {"AppleTooHigh",
                                 "7",
                                 "11",
                                 {},
                                 "Invalid score",
                                 "Enter an Apple Adescore from 1 to 10",
                                 "txtApple"},
                    RefusalCase {"AppleLetters",
                                 "7",
                                 "ten",
                                 {},
                                 "Invalid score",
                                 "Enter an Apple Adescore from 1 to 10",
                                 "txtApple"},
                    RefusalCase {"TallyFull",
                                 "10",
                                 "10",
                                 {32765, 100, 50},
                                 "Tally full",
                                 "The totals have no room for these scores; they were not recorded",
                                 "txtPunch"}),
    CaseName());

} // namespace
