// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "FormsFixture.h"
#include "tests/CaseName.h"

#include <QTest>
#include <set>

namespace {

using Windows = std::vector<std::string>;

// A picture box shows its drawing: it renders in more than one colour.
bool showsAPicture(QWidget *box)
{
    const QImage image = box->grab().toImage();
    std::set<QRgb> colours;
    for (int y = 0; y < image.height() && colours.size() < 3; y += 4) {
        for (int x = 0; x < image.width(); x += 4) {
            colours.insert(image.pixel(x, y));
        }
    }
    return colours.size() >= 3;
}

class TitleWindows : public FormsFixture
{
};

TEST_F(TitleWindows, SplashHasNoTitleBarAndOnlyItsButtonDismissesIt)
{
    m_zestra->Main();
    frmSplash &splash = forms().splash();
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
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
    EXPECT_TRUE(showsAPicture(child<QWidget>(&splash, "imgLogo")));
    EXPECT_EQ(child<QWidget>(&splash, "cmdClose")->parentWidget()->parentWidget(), &splash);
}

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
    EXPECT_TRUE(showsAPicture(child<QWidget>(&about, "Image1")));
    for (auto *label : about.findChildren<QLabel *>()) {
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus) << "only OK takes focus";
    }
}

} // namespace
