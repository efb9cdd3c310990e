// Feeds arbitrary bytes to the WAVE parser: it must never read outside them, and whatever it
// returns must lie inside them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "content/audio/wave.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    (void)tb::media::clip_kind(bytes);
    if (const auto info = tb::media::parse_wave(bytes)) {
        if (info->data.empty() || info->data.data() < data || info->data.data() + info->data.size() > data + size)
            std::abort();
    }
    return 0;
}
