#pragma once
// The program as at a fresh start, for the tests that drive its own windows: the carried
// template set, the program's own handler table and program-wide state reset. Each test must
// leave no run-time error of a handler behind.
#include <gtest/gtest.h>

#include "app/handlers.hpp"
#include "app/state.hpp"
#include "runtime/embedded.hpp"
#include "ui/widgets/widgets.hpp"

namespace tb::test {

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::close_all_windows();
        ui::load_templates(embedded_blob("templates"));
        app::install_handlers();
        app::reset_state();
        ui::take_handler_error();
    }
    void TearDown() override {
        ui::close_all_windows();
        auto e = ui::take_handler_error();
        EXPECT_FALSE(e) << "a handler raised a run-time error: " << utf8(e->message);
    }
};

}  // namespace tb::test
