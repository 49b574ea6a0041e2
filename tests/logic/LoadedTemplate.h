// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TestTemplates.h"

#include <gtest/gtest.h>
#include <vector>

// The template of these rows, loaded; a template that does not load fails
// the test.
inline TDataMod Loaded(const std::vector<TKeyRow>& keys, const std::vector<TCharRow>& chars)
{
    TDataMod data(Cp1252());
    EXPECT_TRUE(data.LoadTemplateFromMemory(TemplateZip(keys, chars, "bkcolor=0")));
    return data;
}
