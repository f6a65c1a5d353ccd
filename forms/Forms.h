// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include "core/RunTallies.h"

#include <QList>
#include <QPointer>
#include <memory>

class frmMain;
class frmTest;
class frmSummary;
class frmSplash;
class frmAbout;

namespace WindowRuntime {
class Form;
}

// The program's five windows. Each is created, hidden, the first time it is referred to and kept
// until the program ends or it is unloaded.
class Forms
{
public:
    explicit Forms(sipster::RunTallies &tallies);
    ~Forms();
    Forms(const Forms &) = delete;
    Forms &operator=(const Forms &) = delete;

    sipster::RunTallies &tallies() const { return m_tallies; }

    frmMain &main();
    frmTest &test();
    frmSummary &summary();
    frmSplash &splash();
    frmAbout &about();

    // Hides and destroys a form (see Form::Unload); referring to it again creates a fresh one.
    void Unload(WindowRuntime::Form &form);

private:
    template<class F> F &use(std::unique_ptr<F> &slot);
    template<class F> bool release(std::unique_ptr<F> &slot, WindowRuntime::Form &form);

    sipster::RunTallies &m_tallies;
    std::unique_ptr<frmMain> m_main;
    std::unique_ptr<frmTest> m_test;
    std::unique_ptr<frmSummary> m_summary;
    std::unique_ptr<frmSplash> m_splash;
    std::unique_ptr<frmAbout> m_about;
    // Unloaded forms not yet destroyed, in case the program ends first.
    QList<QPointer<WindowRuntime::Form>> m_unloaded;
};
