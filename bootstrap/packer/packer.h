// packstart-pack: builds a bootstrap file from the Packstart image and the files
// it is to carry.
//
//   packstart-pack -o OUT [--image PACKSTART] [--trailer FILE] FILE...
//
// OUT = the image (exactly as long as its headers say), the payload archive of
// the FILEs (each under its own file name, in its letter case, compressed by
// TCustom_lzh), the archive's length as 4 bytes little-endian, then the
// trailer's bytes. The image defaults to the Packstart beside the packer, or
// to the one in ../lib/packstart when the packer is installed. OUT
// appears only complete and executable; on any refusal no OUT is written.
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace packer {

using Bytes = std::vector<std::uint8_t>;

struct PayloadFile {
    std::string name; // as it goes into the archive
    Bytes bytes;      // uncompressed
};

// One entry as stored: data size, name length, name, then `data` as given.
// Nothing is checked, so tests can build damaged entries too.
Bytes entryBytes(std::string_view name, std::span<const std::uint8_t> data);
// The whole archive: the entry count, then each file's entry with its bytes compressed.
Bytes archiveBytes(const std::vector<PayloadFile>& files);
// Why `name` cannot go into an archive, or an empty text when it can.
std::string nameProblem(std::string_view name);

// How the command is called, as --help and a wrong call show it.
extern const char* const kUsage;

// Runs the command with its arguments (without the program name); 0 on
// success, 2 for a wrong call (`err` shows the usage), 1 on any other
// failure, which `err` explains.
int runPacker(std::span<const char* const> args, std::ostream& err);

} // namespace packer
