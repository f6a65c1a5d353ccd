// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "FormsFixture.h"

#include <QLabel>
#include <QLocale>
#include <QTest>

namespace {

struct SummaryTexts
{
    QString count;
    QString punch;
    QString apple;
    QString winner;

    bool operator==(const SummaryTexts &) const = default;
    friend void PrintTo(const SummaryTexts &t, std::ostream *os)
    {
        *os << qPrintable(t.count) << ", " << qPrintable(t.punch) << ", " << qPrintable(t.apple)
            << ", " << qPrintable(t.winner);
    }
};

class SummaryWindow : public FormsFixture
{
protected:
    // Opens the summary from the menu, reads its four values, and leaves with `key`.
    SummaryTexts openSummary(Qt::Key key = Qt::Key_Return)
    {
        SummaryTexts texts;
        frmMain &main = startAtMain();
        user.on(&main, [&] { chooseMenu(&main, Qt::Key_F, Qt::Key_S); })
            .on("frmSummary",
                [&] {
                    QWidget *form = &forms().summary();
                    texts = {text(form, "lblSumFinNum"), text(form, "lblAvgPunch"),
                             text(form, "lblAvgApple"), text(form, "lblSumFinWin")};
                    pressKey(form, key);
                })
            .on(&main, [] { EXPECT_EQ(visibleWindows(), std::vector<std::string> {"frmMain"}); });
        user.run();
        return texts;
    }

    void enterTesters(std::initializer_list<std::pair<const char *, const char *>> scores)
    {
        frmMain &main = startAtMain();
        user.on(&main, [&] { chooseMenu(&main, Qt::Key_F, Qt::Key_N); });
        for (const auto &score : scores) {
            user.on("frmTest", [this, score] {
                frmTest &form = forms().test();
                typeInto(child<QLineEdit>(&form, "txtPunch"), score.first);
                typeInto(child<QLineEdit>(&form, "txtApple"), score.second);
                pressKey(&form, Qt::Key_Return);
            });
        }
        user.on("frmTest", [this] { pressKey(&forms().test(), Qt::Key_Escape); }).on(&main, [] {});
        user.run();
    }
};

TEST_F(SummaryWindow, TypicalPathFromOneTester)
{
    enterTesters({{"8", "6"}});
    EXPECT_EQ(openSummary(), (SummaryTexts {"1", "8.00", "6.00", "Prune Punch"}));
}

TEST_F(SummaryWindow, FreshFiguresEachTimeItOpens)
{
    enterTesters({{"8", "6"}, {"5", "9"}, {"10", "10"}});
    EXPECT_EQ(openSummary(Qt::Key_Escape), (SummaryTexts {"3", "7.67", "8.33", "Apple Ade"}));
    enterTesters({{"10", "1"}});
    EXPECT_EQ(openSummary(Qt::Key_Return), (SummaryTexts {"4", "8.25", "6.50", "Prune Punch"}));
}

TEST_F(SummaryWindow, TieAndHalfHundredths)
{
    tallies() = {20, 20, 2};
    EXPECT_EQ(openSummary().winner, "It's a tie");
    tallies() = {61, 61, 8};
    EXPECT_EQ(openSummary().punch, "7.63");
}

// Sets the program's locale for one scope, as a user's regional settings would.
class ScopedLocale
{
public:
    explicit ScopedLocale(const char *name) { QLocale::setDefault(QLocale(name)); }
    ~ScopedLocale() { QLocale::setDefault(QLocale::system()); }
};

TEST_F(SummaryWindow, NumbersFollowTheLocaleSetWhenTheSummaryOpens)
{
    tallies() = {23, 25, 3};
    {
        const ScopedLocale german("de_DE");
        EXPECT_EQ(openSummary(), (SummaryTexts {"3", "7,67", "8,33", "Apple Ade"}));
    }
    {
        const ScopedLocale plain("C");
        EXPECT_EQ(openSummary().punch, "7.67");
    }
    {
        const ScopedLocale american("en_US");
        EXPECT_EQ(openSummary().apple, "8.33");
    }
}

// Some window managers never activate a newly shown window: the figures, and the texts a screen
// reader reads out, are there on showing.
TEST_F(SummaryWindow, FiguresAreFreshBeforeTheWindowIsActive)
{
    tallies() = {8, 6, 1};
    openSummary();
    tallies() = {23, 25, 3};
    frmSummary &summary = forms().summary();
    summary.Show(WindowRuntime::ShowModeless);
    EXPECT_FALSE(summary.isActiveWindow());
    EXPECT_EQ(text(&summary, "lblSumFinNum"), "3");
    EXPECT_EQ(text(&summary, "lblSumFinWin"), "Apple Ade");
    EXPECT_EQ(summary.findChild<QLabel *>(QStringLiteral("spokenText"))->accessibleName(),
              "Number of Sipsters: 3, Average Prune Punch rating: 7.67, Average Apple Ade rating: "
              "8.33, The winner is: Apple Ade");
    summary.Hide();
    forms().main().Hide();
}

TEST_F(SummaryWindow, FixedGreyBackgroundKeepsDarkText)
{
    const QPalette palette = forms().summary().palette();
    EXPECT_EQ(palette.color(QPalette::Window), QColor(192, 192, 192));
    EXPECT_EQ(palette.color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_TRUE(forms().summary().autoFillBackground());
}

} // namespace
