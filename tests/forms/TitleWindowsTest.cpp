#include "FormsFixture.h"
#include "PictureBox.h"
#include "tests/CaseName.h"

#include <QFontInfo>
#include <QTest>

namespace {

using Windows = std::vector<std::string>;

class TitleWindows : public FormsFixture
{
};

TEST_F(TitleWindows, SplashHasNoTitleBarAndOnlyItsButtonDismissesIt)
{
    m_zestra->Main();
    frmSplash &splash = forms().splash();
    EXPECT_TRUE(splash.windowFlags() & Qt::CustomizeWindowHint);
    EXPECT_FALSE(splash.windowFlags() & Qt::WindowTitleHint);
    EXPECT_EQ(splash.accessibleName(), "Taste Test STUDY");
    user.on(&splash,
            [&] {
                pressKey(&splash, Qt::Key_Escape);
                QTest::mouseClick(child<QWidget>(&splash, "Frame1"), Qt::LeftButton);
                QTest::mouseClick(child<QWidget>(&splash, "imgLogo"), Qt::LeftButton);
                EXPECT_EQ(visibleWindows(), Windows {"frmSplash"});
                pressKey(&splash, Qt::Key_C, Qt::AltModifier);
            })
        .on("frmMain", [this] { chooseMenu(&forms().main(), Qt::Key_F, Qt::Key_N); })
        .on("frmTest", [this] { pressKey(&forms().test(), Qt::Key_Escape); })
        .on("frmMain", [] { EXPECT_EQ(visibleWindows(), Windows {"frmMain"}); });
    user.run();
}

TEST_F(TitleWindows, SplashFramesItsControls)
{
    frmSplash &splash = forms().splash();
    auto *frame = child<QWidget>(&splash, "Frame1");
    for (const char *name : {"imgLogo", "lblLicenseTo", "lblWarning", "lblCopyright", "lblVersion",
                             "lblCompanyProduct", "lblProductName"}) {
        EXPECT_EQ(child<QWidget>(&splash, name)->parentWidget(), frame) << name;
    }
    EXPECT_EQ(child<QWidget>(&splash, "imgLogo")->geometry(), QRect(24, 53, 121, 159));
    EXPECT_TRUE(child<WindowRuntime::PictureBox>(&splash, "imgLogo")->hasPicture());
    EXPECT_EQ(child<QWidget>(&splash, "cmdClose")->parentWidget()->parentWidget(), &splash);
}

struct LabelFontCase
{
    const char *name;
    const char *form;
    const char *label;
    const char *text;
    const char *face;
    double points;
    bool bold;
    bool italic;
};

void PrintTo(const LabelFontCase &c, std::ostream *os)
{
    *os << c.name;
}

class LabelFonts : public FormsFixture, public testing::WithParamInterface<LabelFontCase>
{
};

QWidget *formNamed(Forms &forms, const std::string &name)
{
    if (name == "frmSplash") {
        return &forms.splash();
    }
    if (name == "frmAbout") {
        return &forms.about();
    }
    if (name == "frmTest") {
        return &forms.test();
    }
    if (name == "frmSummary") {
        return &forms.summary();
    }
    return &forms.main();
}

TEST_P(LabelFonts, ShowTheirTextInTheirFont)
{
    const LabelFontCase &c = GetParam();
    auto *label = child<QLabel>(formNamed(forms(), c.form), c.label);
    EXPECT_EQ(label->text(), c.text);
    EXPECT_EQ(label->font().family(), c.face);
    EXPECT_DOUBLE_EQ(label->font().pointSizeF(), c.points);
    EXPECT_EQ(label->font().bold(), c.bold);
    EXPECT_EQ(label->font().italic(), c.italic);
    // The machine may lack the face; a metric-compatible one must stand in.
    EXPECT_EQ(QFontInfo(label->font()).family(), "Liberation Sans");
}

INSTANTIATE_TEST_SUITE_P(
    Forms, LabelFonts,
    testing::Values(LabelFontCase {"SplashLicenseTo", "frmSplash", "lblLicenseTo", "Apple Ade",
                                   "Arial", 8.25, false, false},
                    LabelFontCase {"SplashWarning", "frmSplash", "lblWarning", "Prune Punch",
                                   "Arial", 8.25, false, false},
                    LabelFontCase {"SplashVersion", "frmSplash", "lblVersion", "Version 1", "Arial",
                                   12, true, false},
                    LabelFontCase {"SplashCompany", "frmSplash", "lblCompanyProduct", "Taste Test",
                                   "Arial", 18, true, false},
                    LabelFontCase {"SplashProduct", "frmSplash", "lblProductName", "STUDY", "Arial",
                                   32.25, true, false},
                    LabelFontCase {"AboutTitle", "frmAbout", "lblTitle1", "Sipster Survey",
                                   "MS Sans Serif", 12, true, true},
                    LabelFontCase {"AboutVersion", "frmAbout", "lblTitle2", "Version 1.0",
                                   "MS Sans Serif", 8.25, false, false},
                    LabelFontCase {"MainTitle", "frmMain", "Label1", "Taste Test Challenge",
                                   "MS Sans Serif", 18, true, true},
                    LabelFontCase {"ScoreDescription", "frmTest", "lblDesc",
                                   "Enter score 1 to 10 with 10 as high score", "MS Sans Serif", 12,
                                   true, false},
                    LabelFontCase {"SummaryCaption", "frmSummary", "lblSumRate",
                                   "Average Prune Punch rating:", "MS Sans Serif", 8.25, true,
                                   false}),
    CaseName());

struct AboutKeyCase
{
    const char *name;
    Qt::Key key;
    bool closes;
};

void PrintTo(const AboutKeyCase &c, std::ostream *os)
{
    *os << c.name;
}

class AboutKeys : public FormsFixture, public testing::WithParamInterface<AboutKeyCase>
{
};

TEST_P(AboutKeys, OnlyPressOK)
{
    frmMain &main = startAtMain();
    user.on(&main, [&] { chooseMenu(&main, Qt::Key_H, Qt::Key_A); }).on("frmAbout", [this] {
        frmAbout &about = forms().about();
        EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(&about, "cmdOK"));
        pressKey(QApplication::focusWidget(), GetParam().key);
        EXPECT_EQ(about.isVisible(), !GetParam().closes);
        if (about.isVisible()) {
            pressKey(QApplication::focusWidget(), Qt::Key_Space);
        }
    });
    user.on(&main, [] { EXPECT_EQ(visibleWindows(), Windows {"frmMain"}); });
    user.run();
}

INSTANTIATE_TEST_SUITE_P(Keys, AboutKeys,
                         testing::Values(AboutKeyCase {"Enter", Qt::Key_Return, true},
                                         AboutKeyCase {"Space", Qt::Key_Space, true},
                                         AboutKeyCase {"EscapeDoesNothing", Qt::Key_Escape, false}),
                         CaseName());

TEST_F(TitleWindows, AboutHasItsRuleAndPicture)
{
    frmAbout &about = forms().about();
    EXPECT_EQ(about.windowTitle(), "About Sipster");
    auto *rule = child<QFrame>(&about, "Line1");
    EXPECT_EQ(rule->frameShape(), QFrame::HLine);
    EXPECT_EQ(rule->geometry(), QRect(56, 119, 264, 2));
    EXPECT_TRUE(child<WindowRuntime::PictureBox>(&about, "Image1")->hasPicture());
    EXPECT_EQ(child<QWidget>(&about, "Image1")->geometry(), QRect(64, 144, 81, 105));
    for (auto *label : about.findChildren<QLabel *>()) {
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus) << "only OK takes focus";
    }
}

} // namespace
