// SPDX-License-Identifier: GPL-3.0-or-later
// Shared test entry point: a Qt application object for signals, timers and the clipboard,
// and a private home for the whole process.
#include "TestEnvironment.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Unit tests need no screen; desktop tests run with DISPLAY set by the harness.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestEnvironment environment;
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
