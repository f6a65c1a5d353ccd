// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include "UserDriver.h"
#include "Zestra.h"
#include "frmAbout.h"
#include "frmMain.h"
#include "frmSplash.h"
#include "frmSummary.h"
#include "frmTest.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

// Starts the program as main() does and checks, when the test ends, that no window is left.
class FormsFixture : public testing::Test
{
protected:
    void SetUp() override { m_zestra = std::make_unique<Zestra>(); }

    void TearDown() override
    {
        m_zestra.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(visibleWindows().empty()) << testing::PrintToString(visibleWindows());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }

    Forms &forms() { return m_zestra->forms(); }
    sipster::RunTallies &tallies() { return forms().tallies(); }

    // Shows the main window as it is after the splash, modeless: the state most steps start from.
    frmMain &startAtMain()
    {
        forms().main().Show(WindowRuntime::ShowModeless);
        return forms().main();
    }

    template<class Control = QWidget> static Control *child(QWidget *form, const char *name)
    {
        auto *found = form->findChild<Control *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static QString text(QWidget *form, const char *name)
    {
        if (auto *label = form->findChild<QLabel *>(QString::fromLatin1(name))) {
            return label->text();
        }
        return child<QLineEdit>(form, name)->text();
    }

    std::unique_ptr<Zestra> m_zestra;
    UserDriver user;
};
