// The bytes by which the packer tells a Packstart image from any other
// executable: Packstart carries them whole. The packer joins the two halves
// only at run time, so that its own file never carries them whole and is
// never taken for an image.
#pragma once

#include <array>
#include <string_view>

namespace image {

inline constexpr std::string_view kMarkerHead = "Packstart image:";
inline constexpr std::string_view kMarkerTail = " a payload archive follows";

constexpr std::array<char, kMarkerHead.size() + kMarkerTail.size()> marker() {
    std::array<char, kMarkerHead.size() + kMarkerTail.size()> joined{};
    for (std::size_t i = 0; i < kMarkerHead.size(); ++i) {
        joined[i] = kMarkerHead[i];
    }
    for (std::size_t i = 0; i < kMarkerTail.size(); ++i) {
        joined[kMarkerHead.size() + i] = kMarkerTail[i];
    }
    return joined;
}

} // namespace image
