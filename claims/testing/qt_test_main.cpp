// Entry point of the register's test executables. It creates the QApplication
// the widgets need, on the offscreen platform unless the caller chose another,
// because CTest's discovery run starts the binary without any test environment
// and Qt aborts when it finds no display. Settings the forms remember go to Qt's test folders,
// never into the settings of the user who runs the tests.
#include "lsan_suppressions.h"

#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
