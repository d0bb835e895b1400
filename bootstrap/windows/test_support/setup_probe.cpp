// Stands in for the setup program in the Windows tests: records the command line
// it was given and its own path in the file that SETUP_MARKER names, renamed into
// place so that the test never reads half of it.
#include <cstdlib>
#include <fstream>
#include <string>
#include <windows.h>

int main() {
    const char* marker = std::getenv("SETUP_MARKER");
    if (marker == nullptr) {
        return 1;
    }
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    const std::string partial = std::string(marker) + ".part";
    {
        std::ofstream out(partial, std::ios::binary);
        out << "cmdline=" << GetCommandLineA() << "\nmodule=" << module << "\n";
    }
    return MoveFileExA(partial.c_str(), marker, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
