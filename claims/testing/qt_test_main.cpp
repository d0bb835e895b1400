// Entry point of the register's test executables. It creates the QApplication
// the widgets need, on the offscreen platform unless the caller chose another,
// because CTest's discovery run starts the binary without any test environment
// and Qt aborts when it finds no display.
#include <QApplication>
#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
// Fontconfig and Qt's platform plugins keep allocations for the life of the
// process; they are not ours to free. Our own code stays under leak detection.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libQt6Gui.so\n"
           "leak:libqoffscreen.so\n"
           "leak:libdbus-1.so\n";
}
#endif

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
