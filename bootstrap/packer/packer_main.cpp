// Program entry of packstart-pack (see packer.h).
#include "packer.h"

#include <exception>
#include <iostream>
#include <new>

int main(int argc, char** argv) {
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
