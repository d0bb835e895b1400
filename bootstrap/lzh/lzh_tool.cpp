// The `lzh` command: argument checks, whole-file reading, and writing through
// a temporary file beside the output so that a failure leaves OUT untouched.
#include "lzh_tool.h"

#include "lzh_decoder.h"
#include "lzh_encoder.h"
#include "lzh_exception.h"
#include "lzh_format.h"
#include "memory_stream.h"
#include "replace_file.h"

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

namespace lzh {

const char* const kUsage = "usage: lzh c IN OUT   compress IN into OUT\n"
                           "       lzh d IN OUT   decompress IN into OUT\n"
                           "       lzh --help | --version\n";

namespace {

namespace fs = std::filesystem;

std::string whyUnreadable(const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) {
        return "no such file";
    }
    if (status.type() == fs::file_type::directory) {
        return "it is a folder";
    }
    return "it cannot be opened for reading";
}

// The whole file in a memory stream (whose large blocks fault in cheaply).
std::optional<TMemoryStream> readWhole(const fs::path& path, std::ostream& err) {
    std::ifstream file(path, std::ios::binary);
    std::error_code ec;
    if (!file || fs::is_directory(path, ec)) {
        err << "lzh: cannot read " << path.string() << ": " << whyUnreadable(path) << "\n";
        return std::nullopt;
    }
    // One read of the whole file where its size is known; a file that is not
    // seekable (a pipe) is read to its end in steps.
    TMemoryStream bytes;
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    if (size > 0 && file) {
        bytes.SetSizeForOverwrite(static_cast<std::size_t>(size));
        file.read(reinterpret_cast<char*>(bytes.Memory()), size);
        bytes.SetSize(static_cast<std::size_t>(file.gcount()));
    }
    file.clear(file.rdstate() & std::ios::badbit);
    bytes.SetPosition(bytes.Size());
    char chunk[65536];
    while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
        bytes.Write(chunk, static_cast<std::size_t>(file.gcount()));
    }
    if (file.bad()) {
        err << "lzh: cannot read " << path.string() << ": read error\n";
        return std::nullopt;
    }
    return bytes;
}

// The decoded parts going to the output file on a thread of their own while
// the next part is decoded; without a thread, each as it comes.
class StreamedOutput final : public PartSink {
public:
    explicit StreamedOutput(packaging::FileReplacement& file) : file_(file) {
        try {
            thread_ = std::thread([this] { run(); });
        } catch (const std::system_error&) {
        }
    }
    StreamedOutput(const StreamedOutput&) = delete;
    StreamedOutput& operator=(const StreamedOutput&) = delete;
    ~StreamedOutput() { stop(); }

    // Returns once the part before is written: the decoder reuses its buffer next.
    void put(const std::uint8_t* bytes, std::size_t count) override {
        if (!thread_.joinable()) {
            file_.append({bytes, count});
            return;
        }
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return pending_.empty(); });
        pending_ = {bytes, count};
        changed_.notify_all();
    }

    void end() override { stop(); }

private:
    void run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return !pending_.empty() || stopping_; });
            if (pending_.empty()) {
                return;
            }
            lock.unlock();
            file_.append(pending_); // a failure sticks to the file
            lock.lock();
            pending_ = {};
            changed_.notify_all();
        }
    }

    void stop() {
        if (thread_.joinable()) {
            {
                const std::lock_guard lock(mutex_);
                stopping_ = true;
            }
            changed_.notify_all();
            thread_.join();
        }
    }

    packaging::FileReplacement& file_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::span<const std::uint8_t> pending_; // the part being written, until it is
    bool stopping_ = false;
    std::thread thread_;
};

const char* const kNotAStream =
    ": not a compressed stream (too short, or it states a length its data cannot hold)\n";

// Decodes into OUT as the decoding goes.
int decompress(const TMemoryStream& source, const fs::path& in, const fs::path& out,
               std::ostream& err) {
    const std::span<const std::uint8_t> stream(source.Memory(), source.Size());
    const auto length = statedLength(stream);
    if (!length) {
        err << "lzh: cannot decompress " << in.string() << kNotAStream;
        return 1;
    }
    packaging::FileReplacement file(out);
    try {
        StreamedOutput output(file);
        decode(stream, *length, output);
    } catch (const ElzhException&) {
        err << "lzh: cannot decompress " << in.string() << kNotAStream;
        return 1;
    }
    if (const auto failure = file.commit()) {
        err << "lzh: cannot write " << out.string() << ": " << *failure << "\n";
        return 1;
    }
    return 0;
}

// The stream going to OUT as it is made, a megabyte at a time, so that most
// of it is on its way to the disk by the end.
class FileSink final : public ByteSink {
public:
    explicit FileSink(packaging::FileReplacement& file) : file_(file) { buffer_.reserve(kStep); }

    void put(const std::uint8_t* bytes, std::size_t count) override {
        buffer_.insert(buffer_.end(), bytes, bytes + count);
        if (buffer_.size() >= kStep) {
            flush();
        }
    }

    void flush() {
        file_.append(buffer_); // a failure sticks to the file
        buffer_.clear();
    }

private:
    static constexpr std::size_t kStep = std::size_t{1} << 20;
    packaging::FileReplacement& file_;
    std::vector<std::uint8_t> buffer_;
};

int compressInto(const TMemoryStream& source, const fs::path& in, const fs::path& out,
                 std::ostream& err) {
    packaging::FileReplacement file(out);
    FileSink sink(file);
    EncodeResult result{};
    try {
        result = encode({source.Memory(), source.Size()}, sink, nullptr);
    } catch (const ElzhException&) {
        err << "lzh: cannot compress " << in.string() << ": not enough memory\n";
        return 1;
    }
    const auto field = lengthField(static_cast<std::uint32_t>(result.consumed));
    sink.put(field.data(), field.size());
    sink.flush();
    if (const auto failure = file.commit()) {
        err << "lzh: cannot write " << out.string() << ": " << *failure << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int runTool(std::span<const char* const> args, std::ostream& err) {
    if (args.size() != 3 ||
        (std::string_view(args[0]) != "c" && std::string_view(args[0]) != "d")) {
        err << kUsage;
        return 2;
    }
    const bool compress = std::string_view(args[0]) == "c";
    const fs::path in(args[1]);
    const fs::path out(args[2]);

    const auto source = readWhole(in, err);
    if (!source) {
        return 1;
    }
    if (source->Size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        err << "lzh: " << in.string() << " is too large (2 GiB at most)\n";
        return 1;
    }
    if (!compress) {
        return decompress(*source, in, out, err);
    }
    return compressInto(*source, in, out, err);
}

} // namespace lzh
