// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "FormsFixture.h"
#include "tests/CaseName.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QMenuBar>
#include <QTimer>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

using WindowRuntime::twipsToPixels;

TEST(Twips, EdgesRoundToTheNearestPixel)
{
    EXPECT_EQ(twipsToPixels(15), 1);
    EXPECT_EQ(twipsToPixels(7), 0);
    EXPECT_EQ(twipsToPixels(8), 1);
    EXPECT_EQ(twipsToPixels(-8), -1);
    // 1320..2535 twips is 88..169 px: the width comes from the rounded edges.
    EXPECT_EQ(twipsToPixels(WindowRuntime::TwipRect {1320, 720, 1215, 255}), QRect(88, 48, 81, 17));
    EXPECT_EQ(twipsToPixels(WindowRuntime::TwipRect {3840, 2640, 2532, 252}).right() + 1,
              twipsToPixels(3840 + 2532));
    // 7..14 twips: the edges round to 0 and 1 px, a 1 px width, though 7 twips alone round to 0.
    EXPECT_EQ(twipsToPixels(WindowRuntime::TwipRect {7, 7, 7, 7}), QRect(0, 0, 1, 1));
}

// Whether the system draws the font from an outline face. On Windows Qt asks GDI for a face by
// name, and GDI may draw it from a bitmap face that Qt's own font list does not show.
bool drawnFromOutlines(const QFont &font)
{
#ifdef Q_OS_WIN
    LOGFONTW asked {};
    asked.lfHeight = -QFontInfo(font).pixelSize();
    asked.lfWeight = font.bold() ? FW_BOLD : FW_NORMAL;
    asked.lfCharSet = DEFAULT_CHARSET;
    font.family().left(LF_FACESIZE - 1).toWCharArray(asked.lfFaceName);
    HDC screen = GetDC(nullptr);
    HFONT handle = CreateFontIndirectW(&asked);
    HGDIOBJ before = SelectObject(screen, handle);
    TEXTMETRICW metrics {};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, before);
    DeleteObject(handle);
    ReleaseDC(nullptr, screen);
    return metrics.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR);
#else
    Q_UNUSED(font);
    return true; // elsewhere Qt draws a face from the file its own font list names
#endif
}

class Layout : public FormsFixture
{
protected:
    std::vector<QWidget *> allForms()
    {
        return {&forms().main(), &forms().test(), &forms().summary(), &forms().splash(),
                &forms().about()};
    }
};

TEST_F(Layout, ClientAreasMatchTheirTwips)
{
    const std::pair<QWidget *, QSize> sizes[] = {{&forms().main(), {446, 276}},
                                                 {&forms().test(), {386, 196}},
                                                 {&forms().summary(), {446, 276}},
                                                 {&forms().splash(), {492, 328}},
                                                 {&forms().about(), {368, 262}}};
    for (const auto &[form, size] : sizes) {
        EXPECT_EQ(child<QWidget>(form, "client")->size(), size) << form->objectName().toStdString();
    }
    // The menu bar sits above the client area, not on it.
    EXPECT_EQ(child<QWidget>(&forms().main(), "client")->y(),
              forms().main().findChild<QMenuBar *>()->height());
}

// Every caption and value must be readable: its text fits its box in the font in use.
TEST_F(Layout, EveryLabelFitsItsText)
{
    // The widest values the summary can show.
    tallies() = {32767, 32767, 32767};
    QLabel *values[] = {child<QLabel>(&forms().summary(), "lblSumFinNum"),
                        child<QLabel>(&forms().summary(), "lblAvgPunch"),
                        child<QLabel>(&forms().summary(), "lblAvgApple"),
                        child<QLabel>(&forms().summary(), "lblSumFinWin")};
    const char *widest[] = {"32767", "10.00", "10.00", "Prune Punch"};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        values[i]->setText(widest[i]);
    }
    for (QWidget *form : allForms()) {
        for (QLabel *label : form->findChildren<QLabel *>()) {
            if (label->text().isEmpty()) {
                continue; // draws nothing, as the one screen readers read a form's texts from
            }
            const QSize needed = QFontMetrics(label->font()).size(0, shownText(label->text()));
            const std::string where
                = form->objectName().toStdString() + "." + label->objectName().toStdString();
            EXPECT_LE(needed.width(), label->width()) << where;
            EXPECT_LE(needed.height(), label->height() + 1) << where;
            EXPECT_TRUE(label->parentWidget()->rect().contains(label->geometry())) << where;
        }
    }
}

TEST_F(Layout, ButtonsAndBoxesFitTheirCaptions)
{
    for (QWidget *form : allForms()) {
        for (QPushButton *button : form->findChildren<QPushButton *>()) {
            const QSize needed = QFontMetrics(button->font()).size(0, shownText(button->text()));
            EXPECT_LT(needed.width() + 8, button->width()) << button->objectName().toStdString();
        }
        for (QLineEdit *box : form->findChildren<QLineEdit *>()) {
            EXPECT_GE(box->height(), QFontMetrics(box->font()).height() + 4);
        }
    }
}

// A label with an access key labels the control it leads to; any other labels no control that
// takes focus, or screen readers would read it as that control's name.
TEST_F(Layout, OnlyLabelsWithAnAccessKeyLabelControls)
{
    for (QWidget *form : allForms()) {
        for (QLabel *label : form->findChildren<QLabel *>()) {
            if (label->text().contains('&')) {
                EXPECT_NE(label->buddy(), nullptr) << label->objectName().toStdString();
            } else if (label->buddy()) {
                EXPECT_EQ(label->buddy()->focusPolicy(), Qt::NoFocus)
                    << label->objectName().toStdString();
            }
        }
    }
    EXPECT_EQ(child<QLabel>(&forms().test(), "lblPunch")->buddy()->objectName(), "txtPunch");
    EXPECT_EQ(child<QLabel>(&forms().test(), "lblApple")->buddy()->objectName(), "txtApple");
}

// The faces the forms name are used where the system has them; where one is missing, a stand-in
// with the same metrics must take its place, or the fixed layouts clip. Whatever the display
// scale, text is drawn from a scalable face, never a bitmap one scaled up.
TEST_F(Layout, EveryFaceResolvesToAMetricCompatibleScalableOne)
{
    const QStringList metricTwins {"Arial", "MS Sans Serif", "Microsoft Sans Serif",
                                   "Liberation Sans"};
    for (QWidget *form : allForms()) {
        for (QWidget *control : form->findChildren<QWidget *>()) {
            const QFontInfo used(control->font());
            EXPECT_TRUE(QFontDatabase::isSmoothlyScalable(used.family(), used.styleName())
                        && drawnFromOutlines(control->font()))
                << control->objectName().toStdString() << " in " << used.family().toStdString();
            // The face chosen for the control, the named one or a stand-in, is the one drawn.
            const QString chosen = control->font().family();
            if (metricTwins.contains(chosen)) {
                EXPECT_EQ(used.family().toStdString(), chosen.toStdString())
                    << control->objectName().toStdString();
            }
        }
    }
    EXPECT_EQ(child<QLabel>(&forms().splash(), "lblProductName")->font().pointSizeF(), 32.25);
}

} // namespace

namespace {

using namespace WindowRuntime;

const ControlEntry kProbeControls[] = {
    Label("lblName", "Name", {0, 0, 900, 255}),
    TextBox("txtName", {0, 300, 900, 285}),
    CommandButton("cmdOK", "OK", {0, 600, 900, 375}),
};

// A form that looks its controls up by whatever name a test gives.
class ProbeForm : public Form
{
public:
    explicit ProbeForm(const FormDescription &description = {.name = "frmProbe",
                                                             .caption = "Probe",
                                                             .client = {1000, 1000},
                                                             .controls = kProbeControls})
        : Form(description)
    { }
    void lookUpTextBox(const char *name) { textBox(name); }
    void lookUpLabel(const char *name) { label(name); }
    void connect(const char *name) { onClick(name, this, &ProbeForm::nothing); }
    void setCaption(const char *name, const char *caption) { label(name).SetCaption(caption); }

private:
    void nothing() { }
    void closeRequested() override { }
};

const ControlEntry kDefaultLabel[] = {Label("lblName", "Name", {0, 0, 900, 255}).defaultButton()};

// Where the face in use is wider than the layout allows, or a caption set later is wider than
// its box, a caption grows away from the side it is aligned to, within its container, instead
// of being cut; one that fits as shown keeps its box.
TEST(Captions, GrowAwayFromTheirAlignmentRatherThanBeCut)
{
    const char *wide = "A caption far wider than its box";
    const ControlEntry controls[] = {
        Label("lblRight", wide, {3000, 0, 600, 255}).aligned(Alignment::Right),
        Label("lblLeft", wide, {0, 300, 600, 255}),
        Label("lblFits", "Fits", {0, 600, 900, 255}),
        Label("lblCentre", wide, {0, 900, 600, 255}).aligned(Alignment::Centre),
        Label("lblValue", "", {3000, 1200, 600, 255}).aligned(Alignment::Right),
        // "Apple Ade" fits its 57 px; with the "&" it shows only without a buddy, it would not.
        Label("lblKey", "&Apple Ade", {0, 1500, 855, 255}).tab(0),
        TextBox("txtKey", {0, 1800, 900, 285}).tab(1),
    };
    ProbeForm form(
        {.name = "frmProbe", .caption = "Probe", .client = {6000, 2400}, .controls = controls});
    form.setCaption("lblValue", wide);
    const auto label = [&form](const char *name) {
        return form.findChild<QLabel *>(name);
    };
    for (const char *name : {"lblRight", "lblLeft", "lblCentre", "lblValue"}) {
        EXPECT_GE(label(name)->width(), label(name)->sizeHint().width()) << name;
    }
    EXPECT_EQ(label("lblRight")->geometry().right(), 239);
    EXPECT_EQ(label("lblLeft")->x(), 0);
    EXPECT_EQ(label("lblCentre")->x(), 0);
    EXPECT_EQ(label("lblValue")->geometry().right(), 239);
    EXPECT_EQ(label("lblFits")->geometry(), QRect(0, 40, 60, 17));
    EXPECT_EQ(label("lblKey")->geometry(), QRect(0, 100, 57, 17));
}

// A form unloaded earlier, and gone, holds back no later modal Show: that Show returns only once
// the form it shows is hidden again.
TEST(Unload, HoldsBackOnlyAModalShowWhileTheFormIsThere)
{
    (new ProbeForm)->Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ProbeForm modal;
    bool shownModally = false;
    QTimer::singleShot(0, &modal, [&] {
        shownModally = modal.isVisible() && modal.isModal();
        modal.Hide();
    });
    modal.Show(ShowModal);
    EXPECT_TRUE(shownModally);
}

struct MisnamedCase
{
    const char *name;
    std::function<void()> act;
    const char *message;
};

void PrintTo(const MisnamedCase &c, std::ostream *os)
{
    *os << c.name;
}

class Misnamed : public testing::TestWithParam<MisnamedCase>
{
};

// A fault in a form's code stops the program at once, in every build, rather than leave a null
// control or a dead button.
TEST_P(Misnamed, StopsAtOnce)
{
    EXPECT_DEATH(GetParam().act(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, Misnamed,
    testing::Values(
        MisnamedCase {"TextBox", [] { ProbeForm().lookUpTextBox("txtNmae"); },
                      "frmProbe has no QLineEdit named txtNmae"},
        MisnamedCase {"LabelAskedForAsTextBox", [] { ProbeForm().lookUpTextBox("lblName"); },
                      "frmProbe has no QLineEdit named lblName"},
        MisnamedCase {"Label", [] { ProbeForm().lookUpLabel("lblNaem"); },
                      "frmProbe has no QLabel named lblNaem"},
        MisnamedCase {"Button", [] { ProbeForm().connect("cmdOk"); },
                      "frmProbe has no button or menu item named cmdOk"},
        MisnamedCase {"LabelAsDefaultButton",
                      [] {
                          ProbeForm({.name = "frmProbe",
                                     .caption = "Probe",
                                     .client = {1000, 1000},
                                     .controls = kDefaultLabel});
                      },
                      "lblName: only a command button can be a default or cancel button"}),
    CaseName());

} // namespace
