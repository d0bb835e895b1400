// Speed of the LZH codec as a packager runs it: the built `lzh` command as a
// whole process (start, reading, coding, writing, exit), both ways, and the
// codec alone in this process, on the same corpus.
//
// Corpus recipe (about 20 MB, files a stock Debian 12 machine has), in this
// order, .gz files decompressed, folders as their regular files in name order:
// the licence texts, the coreutils info manual and bash's manual page, perl
// and its base modules, the C library, the dpkg, tar and bash changelogs, four
// coreutils message catalogues, the C++ library, ldconfig, tar, the apt
// library and dpkg. A missing file is skipped and named. The corpus is written
// to a folder of the build tree, with its size and SHA-256 printed so that
// runs on different machines can be compared.
//
// Figures: MB = 10^6 bytes of uncompressed data; wall time by the clock (the
// median and the best of several runs), processor time as the child's user +
// system time (the median). The load average is printed beside them: the
// machine may be shared, and wall time suffers first. Compressing runs the
// match finder on two threads beside the coder when the machine has two
// processors (else on one), and decompressing writes on a thread of
// its own: on an idle machine their wall time is less than their processor
// time, on a busy one it is more.
#include "custom_lzh.h"
#include "load_average.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

struct Part {
    const char* path;
    bool gzipped;
};

constexpr Part kRecipe[] = {
    {"/usr/share/common-licenses", false},
    {"/usr/share/info/coreutils.info.gz", true},
    {"/usr/share/man/man1/bash.1.gz", true},
    {"/usr/bin/perl", false},
    {"/usr/lib/x86_64-linux-gnu/perl-base", false},
    {"/usr/lib/x86_64-linux-gnu/libc.so.6", false},
    {"/usr/share/doc/dpkg/changelog.gz", true},
    {"/usr/share/doc/tar/changelog.gz", true},
    {"/usr/share/doc/bash/changelog.gz", true},
    {"/usr/share/locale/de/LC_MESSAGES/coreutils.mo", false},
    {"/usr/share/locale/es/LC_MESSAGES/coreutils.mo", false},
    {"/usr/share/locale/fr/LC_MESSAGES/coreutils.mo", false},
    {"/usr/share/locale/ja/LC_MESSAGES/coreutils.mo", false},
    {"/usr/lib/x86_64-linux-gnu/libstdc++.so.6", false},
    {"/sbin/ldconfig", false},
    {"/usr/bin/tar", false},
    {"/usr/lib/x86_64-linux-gnu/libapt-pkg.so.6.0", false},
    {"/usr/bin/dpkg", false},
};

constexpr int kCompressRuns = 5;
constexpr int kDecompressRuns = 9;

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What a command prints, read whole; empty when it cannot run.
Bytes commandOutput(const std::string& command) {
    Bytes out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return out;
    }
    std::uint8_t chunk[65536];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
        out.insert(out.end(), chunk, chunk + n);
    }
    pclose(pipe);
    return out;
}

void append(Bytes& corpus, const Part& part) {
    std::error_code ec;
    if (fs::is_directory(part.path, ec)) {
        std::vector<fs::path> files;
        for (const auto& entry : fs::recursive_directory_iterator(part.path, ec)) {
            if (entry.is_regular_file() && !entry.is_symlink()) {
                files.push_back(entry.path());
            }
        }
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) {
            const Bytes bytes = readFile(file);
            corpus.insert(corpus.end(), bytes.begin(), bytes.end());
        }
    } else if (fs::is_regular_file(part.path, ec)) {
        const Bytes bytes = part.gzipped
                                ? commandOutput(std::string("gzip -dc '") + part.path + "'")
                                : readFile(part.path);
        corpus.insert(corpus.end(), bytes.begin(), bytes.end());
    } else {
        std::printf("corpus: %s missing, skipped\n", part.path);
    }
}

void writeFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

struct Timing {
    double medianWall;
    double bestWall;
    double medianProcessor;
};

Timing summarise(std::vector<double> wall, std::vector<double> processor) {
    std::sort(wall.begin(), wall.end());
    std::sort(processor.begin(), processor.end());
    return {wall[wall.size() / 2], wall.front(), processor[processor.size() / 2]};
}

double seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// Runs `lzh mode in out` as its own process `runs` times; empty on a failure.
std::vector<Timing> timeCommand(const char* mode, const fs::path& in, const fs::path& out,
                                int runs) {
    std::vector<double> wall;
    std::vector<double> processor;
    std::string program = LZH_PATH;
    std::string modeArg = mode;
    std::string inArg = in.string();
    std::string outArg = out.string();
    char* argv[] = {program.data(), modeArg.data(), inArg.data(), outArg.data(), nullptr};
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        pid_t child = 0;
        if (posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
            return {};
        }
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        wall.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        processor.push_back(seconds(usage.ru_utime) + seconds(usage.ru_stime));
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            return {};
        }
    }
    return {summarise(wall, processor)};
}

template <class Run> Timing timeInProcess(int runs, Run run) {
    std::vector<double> wall;
    std::vector<double> processor;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t startTicks = std::clock();
        run();
        processor.push_back(static_cast<double>(std::clock() - startTicks) / CLOCKS_PER_SEC);
        wall.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return summarise(wall, processor);
}

void report(const char* what, double megabytes, int runs, const Timing& timing) {
    std::printf("%-22s %6.1f MB/s wall (median of %d; best %6.1f), %6.1f MB/s processor"
                "  [load %s]\n",
                what, megabytes / timing.medianWall, runs, megabytes / timing.bestWall,
                megabytes / timing.medianProcessor, loadAverage().c_str());
}

} // namespace

int main() {
    const fs::path folder = LZH_BENCH_DIR;
    fs::create_directories(folder);
    const fs::path corpusFile = folder / "corpus";
    const fs::path packedFile = folder / "corpus.lzh";
    const fs::path unpackedFile = folder / "corpus.out";

    Bytes corpus;
    for (const Part& part : kRecipe) {
        append(corpus, part);
    }
    if (corpus.empty()) {
        std::printf("corpus: no file of the recipe found, nothing measured\n");
        return 0;
    }
    writeFile(corpusFile, corpus);
    const Bytes digest = commandOutput("sha256sum '" + corpusFile.string() + "'");
    std::printf("corpus: %zu bytes in %s, SHA-256 %.64s\n", corpus.size(),
                corpusFile.string().c_str(), reinterpret_cast<const char*>(digest.data()));
    const double mb = static_cast<double>(corpus.size()) / 1e6;

    const auto compressing = timeCommand("c", corpusFile, packedFile, kCompressRuns);
    const auto decompressing = timeCommand("d", packedFile, unpackedFile, kDecompressRuns);
    if (compressing.empty() || decompressing.empty() || readFile(unpackedFile) != corpus) {
        std::printf("lzh command: round trip FAILED\n");
        return 1;
    }
    const Bytes packedBytes = readFile(packedFile);
    std::printf("compressed: %zu bytes, ratio %.3f\n", packedBytes.size(),
                static_cast<double>(packedBytes.size()) / static_cast<double>(corpus.size()));
    report("lzh c, whole process", mb, kCompressRuns, compressing.front());
    report("lzh d, whole process", mb, kDecompressRuns, decompressing.front());

    TMemoryStream packed;
    TMemoryStream unpacked;
    const Timing compressTiming = timeInProcess(kCompressRuns, [&] {
        TCustom_lzh codec;
        codec.Source = corpus.data();
        codec.SourceSize = static_cast<std::int32_t>(corpus.size());
        codec.Target = &packed;
        codec.Compress();
    });
    const Timing decompressTiming = timeInProcess(kDecompressRuns, [&] {
        TCustom_lzh codec;
        codec.Source = packed.Memory();
        codec.SourceSize = static_cast<std::int32_t>(packed.Size());
        codec.Target = &unpacked;
        codec.Decompress();
    });
    if (!std::equal(packedBytes.begin(), packedBytes.end(), packed.Memory(),
                    packed.Memory() + packed.Size()) ||
        !std::equal(corpus.begin(), corpus.end(), unpacked.Memory(),
                    unpacked.Memory() + unpacked.Size())) {
        std::printf("codec: round trip FAILED\n");
        return 1;
    }
    report("Compress, codec alone", mb, kCompressRuns, compressTiming);
    report("Decompress, codec alone", mb, kDecompressRuns, decompressTiming);
    std::printf(
        "aim: 17 MB/s compress, 120 MB/s decompress, whole process on a quiet machine"
        " (compress uses up to 3 threads, decompress 2: processor figures are their sum)\n");
    return 0;
}
