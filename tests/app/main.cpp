// SPDX-License-Identifier: MIT
// Runs the app tests: a QApplication (offscreen unless a platform is chosen), then GoogleTest.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // Many tests share a process, and Qt's threads may run by then: a test that must end a
    // process of its own runs the program afresh rather than forking this one.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    return RUN_ALL_TESTS();
}
