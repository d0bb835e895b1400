// Program entry of packstart-pack (see packer.h).
#include "packer.h"
#include "vetra_version.h"

#include <exception>
#include <iostream>
#include <new>
#include <string_view>

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--help") {
        std::cout << packer::kUsage;
        return 0;
    }
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::cout << "packstart-pack " << kVetraVersion << "\n";
        return 0;
    }
    try {
        return packer::runPacker({argv + 1, static_cast<std::size_t>(argc > 0 ? argc - 1 : 0)},
                                 std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << "packstart-pack: Out of memory\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "packstart-pack: " << e.what() << "\n";
        return 1;
    }
}
