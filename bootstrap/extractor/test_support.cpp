// The bootstrap tests' helpers over std::filesystem and posix_spawn.
#include "test_support.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace packstart_test {

ScratchFolder::ScratchFolder() {
    std::random_device seed;
    path_ = fs::temp_directory_path() / ("packstart_test_" + std::to_string(seed()));
    fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

fs::path ScratchFolder::folder(const std::string& name) const {
    const fs::path made = path_ / name;
    fs::create_directories(made);
    return made;
}

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

std::string textOf(std::span<const std::uint8_t> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, std::span<const std::uint8_t> bytes, bool executable) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + path.string());
        }
    }
    if (executable) {
        fs::permissions(path, fs::perms::owner_exec | fs::perms::group_exec, fs::perm_options::add);
    }
}

Bytes sampleBytes(std::size_t size, unsigned seed) {
    std::mt19937 draw(seed);
    Bytes out;
    out.reserve(size);
    while (out.size() < size) {
        // Runs of a few repeated symbols between stretches of noise.
        const std::uint8_t symbol = static_cast<std::uint8_t>(draw());
        const std::size_t run = draw() % 24;
        for (std::size_t i = 0; i < run && out.size() < size; ++i) {
            out.push_back(i % 3 == 0 ? symbol : static_cast<std::uint8_t>('a' + draw() % 4));
        }
    }
    return out;
}

Bytes number(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

Bytes joined(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Bytes bootstrapBytes(const Bytes& image, const Bytes& archive, const Bytes& trailer) {
    return joined({image, archive, number(static_cast<std::uint32_t>(archive.size())), trailer});
}

std::vector<std::string> entriesOf(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

Outcome run(const fs::path& program, const std::vector<std::string>& arguments,
            const std::map<std::string, std::string>& environment) {
    const auto quoted = [](const std::string& word) {
        std::string out = "'";
        for (const char c : word)
            out += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return out + "'";
    };
    char errorPath[] = "/tmp/packstart_stderr_XXXXXX";
    const int errorFile = mkstemp(errorPath);
    if (errorFile < 0)
        throw std::runtime_error("mkstemp: " + std::string(std::strerror(errno)));
    close(errorFile);
    // exec: the program replaces the shell, so a signal that ends it ends the run as such.
    std::string command = "exec env";
    const auto add = [&](const std::string& word) {
        command += ' ';
        command += quoted(word);
    };
    for (const auto& [name, value] : environment)
        add(name + "=" + value);
    add(program.string());
    for (const std::string& word : arguments)
        add(word);
    const int raw = std::system((command + " </dev/null 2>" + errorPath).c_str());
    Outcome outcome{WIFEXITED(raw) && WEXITSTATUS(raw) != 127 ? WEXITSTATUS(raw) : -1,
                    textOf(readFile(errorPath))};
    unlink(errorPath);
    if (raw == -1 || (WIFEXITED(raw) && WEXITSTATUS(raw) == 127))
        throw std::runtime_error("cannot start " + program.string());
    return outcome;
}

std::optional<Bytes> waitForFile(const fs::path& path, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        std::error_code ec;
        if (fs::exists(path, ec)) {
            return readFile(path);
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace packstart_test
