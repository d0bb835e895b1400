// The packer: argument checks, the archive layout of archive_format.h, and an
// output written beside OUT and renamed into place once complete.
#include "packer.h"

#include "archive_format.h"
#include "custom_lzh.h"
#include "extractor.h"
#include "image_end.h"
#include "image_marker.h"
#include "replace_file.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <set>
#include <stdexcept>
#include <system_error>

namespace packer {

const char* const kUsage =
    "usage: packstart-pack -o OUT [--image PACKSTART] [--trailer FILE] FILE...\n"
    "       packstart-pack --help | --version\n"
    "Builds the bootstrap OUT carrying the FILEs (one must be Setup.exe).\n"
    "  --image PACKSTART  the image to build on (default: the Linux Packstart; an installed\n"
    "                     packer finds the Windows one in /usr/share/packstart/windows)\n"
    "  --trailer FILE     bytes appended after the archive, for the setup program\n";

namespace {

namespace fs = std::filesystem;
constexpr std::size_t kLargestNumber = std::numeric_limits<std::int32_t>::max();

void appendNumber(Bytes& out, std::uint32_t value) {
    for (std::size_t i = 0; i < archive::kNumberSize; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

Bytes compressedBytes(const Bytes& input) {
    TMemoryStream target;
    TCustom_lzh codec;
    codec.Source = input.data();
    codec.SourceSize = static_cast<std::int32_t>(input.size());
    codec.Target = &target;
    if (!codec.Compress()) {
        throw std::runtime_error("not enough memory to compress");
    }
    return Bytes(target.Memory(), target.Memory() + target.Size());
}

struct Options {
    fs::path out;
    fs::path image;
    std::optional<fs::path> trailer;
    std::vector<fs::path> files;
};

std::optional<Options> parse(std::span<const char* const> args, std::ostream& err) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const bool takesValue = arg == "-o" || arg == "--image" || arg == "--trailer";
        if (takesValue && i + 1 == args.size()) {
            err << "packstart-pack: " << arg << " needs a value\n" << kUsage;
            return std::nullopt;
        }
        if (arg == "-o") {
            options.out = args[++i];
        } else if (arg == "--image") {
            options.image = args[++i];
        } else if (arg == "--trailer") {
            options.trailer = args[++i];
        } else if (arg.starts_with("-") && arg.size() > 1) {
            err << "packstart-pack: unknown option " << arg << "\n" << kUsage;
            return std::nullopt;
        } else {
            options.files.emplace_back(arg);
        }
    }
    if (options.out.empty() || options.files.empty()) {
        err << kUsage;
        return std::nullopt;
    }
    if (options.image.empty()) {
        std::error_code ec;
        const fs::path own = fs::read_symlink("/proc/self/exe", ec).parent_path();
        options.image = own / "Packstart";
        // Installed, the image is not a program of its own in bin/ but lies in lib/packstart/.
        if (const fs::path installed = own.parent_path() / "lib" / "packstart" / "Packstart";
            !fs::exists(options.image, ec) && fs::exists(installed, ec)) {
            options.image = installed;
        }
    }
    return options;
}

std::optional<Bytes> readWhole(const fs::path& path, std::ostream& err) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        err << "packstart-pack: cannot read " << path.string() << ": it is a folder\n";
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        err << "packstart-pack: cannot read " << path.string() << ": " << std::strerror(errno)
            << "\n";
        return std::nullopt;
    }
    Bytes bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) {
        err << "packstart-pack: cannot read " << path.string() << ": read error\n";
        return std::nullopt;
    }
    return bytes;
}

// The image's bytes when its headers account for the whole file.
std::optional<Bytes> readImage(const fs::path& path, std::ostream& err) {
    auto bytes = readWhole(path, err);
    if (!bytes) {
        return std::nullopt;
    }
    // Joined here, at run time: the packer's own file must not carry the marker whole.
    const std::string marker = std::string(image::kMarkerHead) + std::string(image::kMarkerTail);
    if (std::search(bytes->begin(), bytes->end(), marker.begin(), marker.end()) == bytes->end()) {
        err << "packstart-pack: " << path.string()
            << " is not a Packstart image (it does not carry the Packstart marker)\n";
        return std::nullopt;
    }
    std::optional<std::uint64_t> end;
    try {
        end = image::imageEnd([&](std::uint64_t offset, std::span<std::uint8_t> into) {
            if (offset > bytes->size() || into.size() > bytes->size() - offset) {
                throw std::out_of_range("past the end");
            }
            std::memcpy(into.data(), bytes->data() + offset, into.size());
        });
    } catch (const std::out_of_range&) {
        end.reset();
    }
    if (!end || *end > bytes->size()) {
        err << "packstart-pack: " << path.string()
            << " is not a Packstart image (no complete ELF or PE executable)\n";
        return std::nullopt;
    }
    if (*end < bytes->size()) {
        err << "packstart-pack: " << path.string() << " has " << bytes->size() - *end
            << " bytes after its executable image (a bootstrap already, or not stripped)\n";
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::vector<PayloadFile>> readPayload(const std::vector<fs::path>& paths,
                                                    std::ostream& err) {
    std::vector<PayloadFile> files;
    for (const fs::path& path : paths) {
        PayloadFile file{path.filename().string(), {}};
        if (const std::string problem = nameProblem(file.name); !problem.empty()) {
            err << "packstart-pack: " << path.string() << ": " << problem << "\n";
            return std::nullopt;
        }
        auto bytes = readWhole(path, err);
        if (!bytes) {
            return std::nullopt;
        }
        if (bytes->size() > kLargestNumber) {
            err << "packstart-pack: " << path.string() << " is too large (2 GiB at most)\n";
            return std::nullopt;
        }
        file.bytes = std::move(*bytes);
        files.push_back(std::move(file));
    }
    // Packstart writes names in upper case, so two that differ only in case are one file.
    std::set<std::string> upperNames;
    for (const PayloadFile& file : files) {
        if (!upperNames.insert(extractor::upperCaseAscii(file.name)).second) {
            err << "packstart-pack: two files are named " << file.name
                << " when letter case is ignored\n";
            return std::nullopt;
        }
    }
    if (!upperNames.contains(std::string(extractor::kFileList[0].name))) {
        err << "packstart-pack: no Setup.exe among the files: Packstart would start nothing\n";
        return std::nullopt;
    }
    return files;
}

} // namespace

Bytes entryBytes(std::string_view name, std::span<const std::uint8_t> data) {
    Bytes entry;
    entry.reserve(2 * archive::kNumberSize + name.size() + data.size());
    appendNumber(entry, static_cast<std::uint32_t>(data.size()));
    appendNumber(entry, static_cast<std::uint32_t>(name.size()));
    entry.insert(entry.end(), name.begin(), name.end());
    entry.insert(entry.end(), data.begin(), data.end());
    return entry;
}

Bytes archiveBytes(const std::vector<PayloadFile>& files) {
    Bytes archive;
    appendNumber(archive, static_cast<std::uint32_t>(files.size()));
    for (const PayloadFile& file : files) {
        const Bytes entry = entryBytes(file.name, compressedBytes(file.bytes));
        archive.insert(archive.end(), entry.begin(), entry.end());
    }
    return archive;
}

std::string nameProblem(std::string_view name) {
    if (name.size() > archive::kLongestName) {
        return "its name is longer than 255 bytes";
    }
    return std::string(archive::unsafeNameReason(name));
}

int runPacker(std::span<const char* const> args, std::ostream& err) {
    const auto options = parse(args, err);
    if (!options) {
        return 2;
    }
    auto out = readImage(options->image, err);
    if (!out) {
        return 1;
    }
    const auto files = readPayload(options->files, err);
    if (!files) {
        return 1;
    }
    std::optional<Bytes> trailer;
    if (options->trailer && !(trailer = readWhole(*options->trailer, err))) {
        return 1;
    }
    const Bytes archive = archiveBytes(*files);
    if (archive.size() > std::numeric_limits<std::uint32_t>::max()) {
        err << "packstart-pack: the archive would pass 4 GiB\n";
        return 1;
    }
    out->insert(out->end(), archive.begin(), archive.end());
    appendNumber(*out, static_cast<std::uint32_t>(archive.size()));
    if (trailer) {
        out->insert(out->end(), trailer->begin(), trailer->end());
    }
    if (const auto reason =
            packaging::replaceFile(options->out, *out, packaging::FileMode::Executable)) {
        err << "packstart-pack: cannot write " << options->out.string() << ": " << *reason << "\n";
        return 1;
    }
    return 0;
}

} // namespace packer
