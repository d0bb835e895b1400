// Leak suppressions for the register's test programs under AddressSanitizer. Fontconfig and Qt's
// platform plugins keep allocations for the life of the process; they are not ours to free. Our
// own code stays under leak detection. Include this in exactly one source file of a program (the
// one with main()): it defines the function the sanitizer asks for its suppressions.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libQt6Gui.so\n"
           "leak:libqoffscreen.so\n"
           "leak:libdbus-1.so\n";
}
#endif
