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

int main() {
    const std::string temporary = os::temporaryFolder();
    print("temp", temporary);
    print("system", os::systemFolder());
    print("self", os::ownModulePath());

    // A name of its own each run, so that "create" always makes it anew.
    const std::string folder = temporary + "os_layer_probe_" + std::to_string(os::clockSeed());
    print("folder", folder);
    std::string reason;
    print("create", folderResult(os::createFolder(folder, reason)));
    print("again", folderResult(os::createFolder(folder, reason)));

    const std::string file = folder + os::kPathSeparator + "file.bin";
    os::File::Failure failure;
    {
        os::File out = os::File::open(file, os::File::Mode::create, failure);
        print("written", out.write("0123456789", 10) ? "yes" : "no");
    }
    print("exists", os::fileExists(file) ? "yes" : "no");
    print("folder_exists", os::fileExists(folder) ? "yes" : "no");
    print("on_a_file", folderResult(os::createFolder(file, reason)));
    {
        os::File again = os::File::open(file, os::File::Mode::create, failure);
        print("create_again", again.isOpen() ? "yes" : failure.nameTaken ? "taken" : "failed");
        os::File in = os::File::open(file, os::File::Mode::readShared, failure);
        char bytes[8] = {};
        const auto size = in.seek(0, os::File::Origin::end);
        in.seek(4, os::File::Origin::begin);
        const auto got = in.read(bytes, sizeof bytes);
        print("size", size ? std::to_string(*size) : "none");
        print("read", got ? std::string(bytes, *got) : "none");
    }
    print("deleted", os::deleteFile(file) ? "yes" : "no");
    print("deleted_again", os::deleteFile(file) ? "yes" : "no");
    os::File missing = os::File::open(file, os::File::Mode::readShared, failure);
    print("missing_open", missing.isOpen() ? "yes" : "no");
    print("reason", failure.reason);
    return 0;
}
