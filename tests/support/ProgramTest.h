// The base of the tests that use the program's settings: the shared block linked for the whole
// suite, and each test started on an empty registry with the hot keys enabled.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "Settings.h"
#include "TestSupport.h"

namespace TestSupport {

class TProgramTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Link = std::make_unique<TSettingsLink>(); }
    static void TearDownTestSuite() { Link.reset(); }
    void SetUp() override {
        ClearProgramRegistry();
        ASettings::SetEnabled(true);
    }

    inline static std::unique_ptr<TSettingsLink> Link;
};

} // namespace TestSupport
