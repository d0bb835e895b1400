// Program entry of Packstart: one extractor run on its own executable. Any
// error other than the codec's (which only fails an entry) ends the program
// with an "Application Error" message and exit status 1.
#include "extractor.h"
#include "os_services.h"

#include <exception>
#include <new>

namespace {

int applicationError(const char* text) {
    os::messageBox(text, "Application Error", os::MessageStyle::stop);
    return 1;
}

} // namespace

int main() {
    try {
        TExtractor extractor(os::ownModulePath());
        extractor.Run();
        return 0;
    } catch (const std::bad_alloc&) {
        return applicationError("Out of memory");
    } catch (const std::exception& error) {
        return applicationError(error.what());
    }
}
