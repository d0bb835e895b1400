// libFuzzer entry for the bootstrap's reading of its own file: any bytes as the file behind the
// image. The image headers are parsed for where the archive starts, and the archive is read
// entry by entry and each entry decoded, as a run does before it writes anything. The only
// failures allowed are the bootstrap's own errors; a header never makes the reader allocate
// more than the file holds, and a decoded entry stays within its codec's bound.
#include "archive_format.h"
#include "archive_reader.h"
#include "bootstrap_error.h"
#include "image_end.h"
#include "lzh_format.h"
#include "se_compress.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The input as a file the reader opens by name, as the bootstrap opens itself.
std::string input_file(const std::uint8_t* data, std::size_t size) {
    static const int fd = memfd_create("archive_fuzz", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        std::abort();
    return "/proc/self/fd/" + std::to_string(fd);
}

void read_image_end(const std::uint8_t* data, std::size_t size) {
    (void)image::imageEnd([&](std::uint64_t offset, std::span<std::uint8_t> into) {
        if (offset > size || into.size() > size - offset)
            throw EBootstrapError(kReadErrorKind, kStreamReadError);
        std::memcpy(into.data(), data + offset, into.size());
    });
}

void read_archive(const std::string& path, std::size_t size) {
    FileStream file = FileStream::openForReading(path);
    ArchiveReader reader(file, 0);
    TMemoryStream compressed;
    TMemoryStream decoded;
    for (std::int32_t entry = 0; entry < reader.Count(); ++entry) {
        const std::string name = reader.ReadEntry(compressed);
        if (name.size() > archive::kLongestName || compressed.Size() > size)
            std::abort(); // the reader took more than the file holds
        const std::size_t stored = compressed.Size();
        if (!TSECompress::DecompressStream(compressed, decoded))
            return; // the run stops at an entry that does not decode
        // A stream states its length, and the codec refuses one that its body cannot produce.
        const std::size_t body = stored - std::min<std::size_t>(stored, lzh::kLengthFieldSize);
        if (decoded.Size() > body * lzh::kMostBytesPerBodyByte + lzh::kLongestMatch)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > (1u << 16))
        return 0;
    try {
        read_image_end(data, size);
    } catch (const EBootstrapError&) {
    }
    try {
        read_archive(input_file(data, size), size);
    } catch (const EBootstrapError&) {
    }
    return 0;
}
