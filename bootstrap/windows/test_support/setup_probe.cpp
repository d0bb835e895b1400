// Stands in for the setup program in the Windows tests: records the command line
// it was given, its own path and the bytes of the Setup.ini beside it in the file
// that SETUP_MARKER names, renamed into place so that the test never reads half
// of it.
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <windows.h>

int main() {
    const char* marker = std::getenv("SETUP_MARKER");
    if (marker == nullptr) {
        return 1;
    }
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string folder = module;
    folder.erase(folder.find_last_of('\\') + 1);
    std::ifstream ini(folder + "Setup.ini", std::ios::binary);
    const std::string handOver{std::istreambuf_iterator<char>(ini),
                               std::istreambuf_iterator<char>()};

    const std::string partial = std::string(marker) + ".part";
    {
        std::ofstream out(partial, std::ios::binary);
        out << "cmdline=" << GetCommandLineA() << "\nmodule=" << module << "\nini=" << handOver;
    }
    return MoveFileExA(partial.c_str(), marker, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
