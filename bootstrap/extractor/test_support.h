// Shared by the bootstrap's tests: a scratch folder removed afterwards, whole-file
// reads and writes, sample bytes, bootstrap files assembled from an image and an
// archive, and running a program with extra environment.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace packstart_test {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// A fresh folder under the system's temporary folder; removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& path() const { return path_; }
    // Makes `name` (and its parents) inside the scratch folder.
    fs::path folder(const std::string& name) const;

private:
    fs::path path_;
};

Bytes bytesOf(std::string_view text);
std::string textOf(std::span<const std::uint8_t> bytes);
Bytes readFile(const fs::path& path);
void writeFile(const fs::path& path, std::span<const std::uint8_t> bytes, bool executable = false);
// Reproducible bytes that compress somewhat, as real payload files do.
Bytes sampleBytes(std::size_t size, unsigned seed);

// `value` as 4 bytes, little-endian: how archive counts and sizes and stream lengths are stored.
Bytes number(std::uint32_t value);
Bytes joined(std::initializer_list<Bytes> parts);
// image + archive + the archive's length + trailer.
Bytes bootstrapBytes(const Bytes& image, const Bytes& archive, const Bytes& trailer = {});
// The strings' characters, as a command takes its arguments.
inline std::vector<const char*> pointersTo(const std::vector<std::string>& strings) {
    std::vector<const char*> pointers;
    for (const std::string& s : strings)
        pointers.push_back(s.c_str());
    return pointers;
}
// The names of the entries directly in `folder`, sorted.
std::vector<std::string> entriesOf(const fs::path& folder);

struct Outcome {
    int status = -1; // the exit status, or -1 when the program did not exit normally
    std::string standardError;
};
// Runs `program` with `arguments` and the current environment plus `environment`.
Outcome run(const fs::path& program, const std::vector<std::string>& arguments,
            const std::map<std::string, std::string>& environment = {});

// Waits up to `limit` for `path` to exist; its bytes then, or nothing.
std::optional<Bytes> waitForFile(const fs::path& path,
                                 std::chrono::milliseconds limit = std::chrono::seconds(20));

} // namespace packstart_test
