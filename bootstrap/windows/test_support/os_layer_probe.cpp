// Runs the Win32 OS layer's file and folder services once each and prints what
// they gave, one "name=value" line each on standard error, for the Windows tests
// to check under Wine.
#include "os_services.h"

#include <cstdio>
#include <string>

namespace {

void print(const char* name, const std::string& value) {
    std::fprintf(stderr, "%s=%s\n", name, value.c_str());
}

// In the order of os::FolderResult.
const char* folderResult(os::FolderResult result) {
    const char* const names[] = {"created", "ours", "other", "failed"};
    return names[static_cast<int>(result)];
}

} // namespace

// The folders, the program's own path, writing and reading at an offset are
// checked by the test that runs a whole bootstrap; these are the rest.
int main() {
    // A name of its own each run, so that "create" always makes it anew.
    const std::string folder =
        os::temporaryFolder() + "os_layer_probe_" + std::to_string(os::clockSeed());
    print("folder", folder);
    std::string reason;
    print("create", folderResult(os::createFolder(folder, reason)));
    print("again", folderResult(os::createFolder(folder, reason)));

    const std::string file = folder + os::kPathSeparator + "file.bin";
    os::File::Failure failure;
    os::File::open(file, os::File::Mode::create, failure); // made, and closed at once
    {
        const os::File again = os::File::open(file, os::File::Mode::create, failure);
        print("create_again", again.isOpen() ? "yes" : failure.nameTaken ? "taken" : "failed");
    }
    print("folder_exists", os::fileExists(folder) ? "yes" : "no");
    print("on_a_file", folderResult(os::createFolder(file, reason)));
    print("deleted", os::deleteFile(file) ? "yes" : "no");
    print("deleted_again", os::deleteFile(file) ? "yes" : "no");
    os::File missing = os::File::open(file, os::File::Mode::readShared, failure);
    print("missing_open", missing.isOpen() ? "yes" : "no");
    print("reason", failure.reason);
    return 0;
}
