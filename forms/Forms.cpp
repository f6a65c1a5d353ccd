// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#include "Forms.h"

#include "frmAbout.h"
#include "frmMain.h"
#include "frmSplash.h"
#include "frmSummary.h"
#include "frmTest.h"

Forms::Forms(sipster::RunTallies &tallies)
    : m_tallies(tallies)
{ }

Forms::~Forms()
{
    for (const QPointer<WindowRuntime::Form> &form : std::as_const(m_unloaded)) {
        delete form.data();
    }
}

template<class F> F &Forms::use(std::unique_ptr<F> &slot)
{
    if (!slot) {
        slot = std::make_unique<F>(*this);
    }
    return *slot;
}

template<class F> bool Forms::release(std::unique_ptr<F> &slot, WindowRuntime::Form &form)
{
    if (slot.get() != &form) {
        return false;
    }
    m_unloaded.append(slot.release());
    form.Unload();
    return true;
}

frmMain &Forms::main()
{
    return use(m_main);
}

frmTest &Forms::test()
{
    return use(m_test);
}

frmSummary &Forms::summary()
{
    return use(m_summary);
}

frmSplash &Forms::splash()
{
    return use(m_splash);
}

frmAbout &Forms::about()
{
    return use(m_about);
}

void Forms::Unload(WindowRuntime::Form &form)
{
    release(m_main, form) || release(m_test, form) || release(m_summary, form)
        || release(m_splash, form) || release(m_about, form);
}
