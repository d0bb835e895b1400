// Program entry of the claims register: the application object, then the register's start (see
// run_register.h), whose status is the program's.
#include "run_register.h"

#include <QApplication>

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const auto answered = answer_help_or_version(arguments))
        return *answered;
    QApplication app(argc, argv);
    return run_register(QApplication::arguments());
}
