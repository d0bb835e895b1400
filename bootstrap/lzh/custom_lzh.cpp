// TCustom_lzh's operations and the link between it and the codec.
#include "custom_lzh.h"

#include "lzh_decoder.h"
#include "lzh_encoder.h"
#include "lzh_exception.h"
#include "lzh_format.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::size_t kMostPerCall = 0xFFFF; // ReadSource and WriteTarget take 16-bit counts

// Hands the codec's output to WriteTarget and replays its fetches as
// ReadSource calls.
class CodecLink final : public lzh::ByteSink, public lzh::FetchListener {
public:
    explicit CodecLink(TCustom_lzh& owner) : owner_(owner) {}

    void put(const std::uint8_t* bytes, std::size_t count) override {
        while (count > 0) {
            std::uint16_t done = 0;
            owner_.WriteTarget(bytes, static_cast<std::uint16_t>(std::min(count, kMostPerCall)),
                               done);
            bytes += done;
            count -= done;
        }
    }

    void fetched(std::uint64_t fetches) override {
        for (; calls_ < fetches; ++calls_) {
            std::uint8_t byte;
            std::uint16_t done;
            owner_.ReadSource(&byte, 1, done);
        }
    }

    // Watching the codec's fetches when OnProgress wants them.
    FetchListener* listener() { return owner_.OnProgress != nullptr ? this : nullptr; }

    // Leaves SourcePos and Remaining as `fetches` single-byte reads would.
    void settle(std::uint64_t fetches) {
        if (owner_.OnProgress != nullptr) {
            fetched(fetches);
            return;
        }
        const auto size = static_cast<std::uint64_t>(std::max(owner_.SourceSize, 0));
        owner_.SourcePos = static_cast<std::int32_t>(std::min(fetches, size));
        owner_.Remaining = owner_.SourceSize - owner_.SourcePos;
    }

private:
    TCustom_lzh& owner_;
    std::uint64_t calls_ = 0;
};

} // namespace

bool TCustom_lzh::StartOperation() {
    if (Target == nullptr) {
        return false;
    }
    Target->Clear();
    SourcePos = 0;
    Remaining = 0;
    return Source != nullptr || SourceSize <= 0;
}

bool TCustom_lzh::Decompress() {
    if (!StartOperation()) {
        return false;
    }
    const auto stated =
        lzh::statedLength({Source, static_cast<std::size_t>(std::max(SourceSize, 0))});
    if (!stated) {
        return false;
    }
    const std::int32_t length = *stated;
    CodecLink link(*this);
    if (length <= 0) {
        link.settle(0);
        return true;
    }
    // The output is decoded in place, in a target sized for it up front.
    Target->SetSizeForOverwrite(static_cast<std::size_t>(length) + lzh::kDecodeSlack);
    try {
        const lzh::DecodeResult result = lzh::decode({Source, static_cast<std::size_t>(SourceSize)},
                                                     length, Target->Memory(), link.listener());
        Target->SetSize(result.produced);
        Target->SetPosition(result.produced);
        link.settle(result.fetches);
    } catch (const ElzhException&) {
        Target->Clear();
        return false;
    } catch (...) {
        Target->Clear(); // no unwritten bytes left behind for the caller to see
        throw;
    }
    return true;
}

bool TCustom_lzh::Compress() {
    if (!StartOperation()) {
        return false;
    }
    lzh::EncodeResult result{};
    try {
        CodecLink link(*this);
        result = lzh::encode({Source, static_cast<std::size_t>(std::max(SourceSize, 0))}, link,
                             link.listener());
        link.settle(result.fetches);
    } catch (const ElzhException&) {
        return false;
    }
    const auto field = lzh::lengthField(static_cast<std::uint32_t>(result.consumed));
    Target->SetPosition(Target->Size());
    Target->Write(field.data(), field.size());
    return true;
}

void TCustom_lzh::ReadSource(void* buffer, std::uint16_t count, std::uint16_t& done) {
    const std::int32_t available = std::max(SourceSize - SourcePos, 0);
    done = static_cast<std::uint16_t>(std::min<std::int32_t>(count, available));
    std::copy_n(Source + SourcePos, done, static_cast<std::uint8_t*>(buffer));
    SourcePos += done;
    Remaining = SourceSize - SourcePos;
    if (OnProgress != nullptr) {
        OnProgress(Remaining, ProgressData);
    }
}

void TCustom_lzh::WriteTarget(const void* buffer, std::uint16_t count, std::uint16_t& done) {
    Target->Write(buffer, count);
    done = count;
}
