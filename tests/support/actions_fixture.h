#pragma once

#include <gtest/gtest.h>

#include "app/main_actions.h"
#include "support/recording_runner.h"
#include "support/recording_view.h"
#include "support/temp_home.h"

// The main window's actions on a program folder of their own, with a view and
// a runner that record what they are asked.
class ActionsTest : public ::testing::Test {
protected:
    TempHome home;
    RecordingView view;
    RecordingRunner runner;
    MainActions actions{view, runner};
};
