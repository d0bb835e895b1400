// Program entry of Packstart: one extractor run on its own executable. Any
// error other than the codec's (which only fails an entry) ends the program
// with an "Application Error" message and exit status 1. The one argument
// it answers is --version alone; any other command line is ignored, as a
// bootstrap's always was.
#include "bootstrap_error.h"
#include "extractor.h"
#include "image_marker.h"
#include "os_services.h"
#include "vetra_version.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>

namespace {

// The packer takes as its image only a file that carries this.
[[gnu::used]] constexpr auto kMarker = image::marker();

// The box names the kind of error and then its text.
int applicationError(const std::string& kind, const std::string& text) {
    os::messageBox(kind + ": " + text, "Application Error", os::MessageStyle::stop);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Packstart %s\n", kVetraVersion);
        return 0;
    }
    try {
        TExtractor extractor(os::ownModulePath());
        extractor.Run();
        return 0;
    } catch (const std::bad_alloc&) {
        return applicationError(kOutOfMemoryKind, "Out of memory");
    } catch (const EBootstrapError& error) {
        return applicationError(error.kind(), error.what());
    } catch (const std::exception& error) {
        return applicationError("Exception", error.what());
    }
}
