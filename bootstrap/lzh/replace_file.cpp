#include "replace_file.h"

#include <fstream>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace packaging {
namespace {

// A name beside `target` that no file has yet.
fs::path freshNameBeside(const fs::path& target) {
    std::random_device seed;
    std::mt19937_64 draw(seed());
    for (;;) {
        fs::path candidate = target;
        candidate += ".partial-" + std::to_string(draw() % 1'000'000'000);
        std::error_code ec;
        if (!fs::exists(candidate, ec) && !ec)
            return candidate;
    }
}

} // namespace

std::optional<std::string> replaceFile(const fs::path& target, std::span<const std::uint8_t> bytes,
                                       FileMode mode) {
    const fs::path partial = freshNameBeside(target);
    std::error_code ec;
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (!file) {
            fs::remove(partial, ec);
            return "write error";
        }
    }
    if (mode == FileMode::Executable)
        fs::permissions(partial,
                        fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec,
                        ec);
    if (!ec)
        fs::rename(partial, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        return ec.message();
    }
    return std::nullopt;
}

} // namespace packaging
