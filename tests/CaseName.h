// SPDX-FileCopyrightText: 2026 The Sipster team
//
// SPDX-License-Identifier: MIT

#pragma once

#include <gtest/gtest.h>
#include <string>

// Names a parameterised case after its table row's `name`, so failures read as sentences.
struct CaseName
{
    template<class Case> std::string operator()(const testing::TestParamInfo<Case> &info) const
    {
        return info.param.name;
    }
};
