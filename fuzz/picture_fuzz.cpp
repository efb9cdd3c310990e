// Feeds arbitrary bytes to the JPEG decoding core at full size and at the box sizes the program
// uses (the box is picked from the input's length, so each input is decoded one way, repeatably).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ui/widgets/pictures/jpeg_decode.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int kBoxes[][2] = {{0, 0}, {800, 540}, {152, 216}, {20, 20}};
    const auto* box = kBoxes[size % 4];
    tb::media::BgrxImage out;
    auto r = tb::media::decode_jpeg_bgrx({data, size}, box[0], box[1], out);
    if (!r.ok) {
        if (!out.pixels.empty()) std::abort();
        return 0;
    }
    if (out.width != r.width || out.height != r.height || out.width <= 0 || out.height <= 0 ||
        out.pixels.size() != static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height) * 4)
        std::abort();
    if (r.scale_num != 1 && r.scale_num != 2 && r.scale_num != 4 && r.scale_num != 8) std::abort();
    // Format_RGB32 needs the fourth byte of every pixel opaque.
    for (std::size_t i = 3; i < out.pixels.size(); i += 4)
        if (out.pixels[i] != 0xFF) std::abort();
    return 0;
}
