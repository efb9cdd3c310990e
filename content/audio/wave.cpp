#include "content/audio/wave.hpp"

#include <cstring>

namespace tb::media {
namespace {

std::uint32_t u32_at(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint32_t>(d[at]) | static_cast<std::uint32_t>(d[at + 1]) << 8 |
           static_cast<std::uint32_t>(d[at + 2]) << 16 | static_cast<std::uint32_t>(d[at + 3]) << 24;
}
std::uint16_t u16_at(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint16_t>(d[at] | d[at + 1] << 8);
}
bool tag_at(std::span<const std::uint8_t> d, std::size_t at, const char* tag) {
    return std::memcmp(d.data() + at, tag, 4) == 0;
}

}  // namespace

ClipKind clip_kind(std::span<const std::uint8_t> data) {
    if (data.size() > 11 && tag_at(data, 0, "RIFF") && tag_at(data, 8, "WAVE")) return ClipKind::Wave;
    if (data.size() > 4 && tag_at(data, 0, "MThd")) return ClipKind::Midi;
    return ClipKind::None;
}

std::optional<WaveInfo> parse_wave(std::span<const std::uint8_t> data) {
    if (clip_kind(data) != ClipKind::Wave || data.size() <= 35) return std::nullopt;
    // The walk ends at the RIFF size's end or the buffer's end, whichever comes first.
    const std::uint64_t riff_end = std::uint64_t{u32_at(data, 4)} + 8;
    const std::uint64_t end = riff_end < data.size() ? riff_end : data.size();
    WaveInfo info;
    bool have_fmt = false;
    bool have_data = false;
    std::uint64_t pos = 12;
    while (pos + 8 <= end) {
        const std::uint32_t size = u32_at(data, static_cast<std::size_t>(pos) + 4);
        const std::uint64_t body = pos + 8;
        const std::uint64_t avail = end - body;
        const std::size_t b = static_cast<std::size_t>(body);
        if (tag_at(data, static_cast<std::size_t>(pos), "fmt ") && !have_fmt) {
            if (size < 16 || avail < 16) return std::nullopt;
            info.format_tag = u16_at(data, b);
            info.channels = u16_at(data, b + 2);
            info.sample_rate = u32_at(data, b + 4);
            info.bytes_per_second = u32_at(data, b + 8);
            info.block_align = u16_at(data, b + 12);
            info.bits_per_sample = u16_at(data, b + 14);
            // cbSize 12 and the MPEG Layer III extension: wID, flags, block size, frames per
            // block, codec delay.
            if (size >= 30 && avail >= 30 && u16_at(data, b + 16) >= 12) info.codec_delay = u16_at(data, b + 28);
            have_fmt = true;
        } else if (tag_at(data, static_cast<std::size_t>(pos), "fact") && size >= 4 && avail >= 4) {
            info.fact_samples = u32_at(data, b);
        } else if (tag_at(data, static_cast<std::size_t>(pos), "data") && !have_data) {
            const std::uint64_t n = size < avail ? size : avail;
            info.data = data.subspan(b, static_cast<std::size_t>(n));
            have_data = true;
        }
        // Chunks are padded to an even length.
        pos = body + size + (size & 1u);
    }
    if (!have_fmt || !have_data || info.data.empty()) return std::nullopt;
    return info;
}

}  // namespace tb::media
