// Program entry of the claims register: the application object, then the register's start (see
// run_register.h), whose status is the program's.
#include "run_register.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return run_register(QApplication::arguments());
}
