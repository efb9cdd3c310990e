#include "content/audio/wave.hpp"

#include <algorithm>
#include <string_view>

#include "runtime/bytes.hpp"

namespace tb::media {
namespace {

bool is(std::span<const std::uint8_t> id, std::string_view tag) {
    return std::equal(id.begin(), id.end(), tag.begin(), tag.end(),
                      [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); });
}

}  // namespace

ClipKind clip_kind(std::span<const std::uint8_t> data) {
    bytes::Reader r(data);
    if (data.size() > 11 && r.tag("RIFF")) {
        r.skip(4);
        if (r.tag("WAVE")) return ClipKind::Wave;
    }
    if (data.size() > 4 && r.tag("MThd")) return ClipKind::Midi;
    return ClipKind::None;
}

std::optional<WaveInfo> parse_wave(std::span<const std::uint8_t> data) {
    if (clip_kind(data) != ClipKind::Wave || data.size() <= 35) return std::nullopt;
    // The walk ends at the RIFF size's end or the buffer's end, whichever comes first.
    bytes::Reader head(data);
    head.skip(4);
    const std::uint64_t riff_end = std::uint64_t{head.u32()} + 8;
    bytes::Reader r(data.first(static_cast<std::size_t>(std::min<std::uint64_t>(riff_end, data.size()))));
    r.seek(12);
    WaveInfo info;
    bool have_fmt = false;
    bool have_data = false;
    while (r.remaining() >= 8) {
        const auto id = r.take(4);
        const std::uint32_t size = r.u32();
        // A chunk that claims more than the file holds is cut to what is there.
        const auto body = r.take(static_cast<std::size_t>(std::min<std::uint64_t>(size, r.remaining())));
        bytes::Reader c(body);
        if (is(id, "fmt ") && !have_fmt) {
            if (size < 16 || body.size() < 16) return std::nullopt;
            info.format_tag = c.u16();
            info.channels = c.u16();
            info.sample_rate = c.u32();
            info.bytes_per_second = c.u32();
            info.block_align = c.u16();
            info.bits_per_sample = c.u16();
            // cbSize 12 and the MPEG Layer III extension: wID, flags, block size, frames per
            // block, codec delay.
            if (body.size() >= 30 && c.u16() >= 12) {
                c.skip(10);
                info.codec_delay = c.u16();
            }
            have_fmt = true;
        } else if (is(id, "fact") && body.size() >= 4) {
            info.fact_samples = c.u32();
        } else if (is(id, "data") && !have_data) {
            info.data = body;
            have_data = true;
        }
        // Chunks are padded to an even length.
        if (size & 1u) r.skip(1);
    }
    if (!have_fmt || !have_data || info.data.empty()) return std::nullopt;
    return info;
}

std::uint64_t clip_duration_ms(std::span<const std::uint8_t> clip) {
    if (clip_kind(clip) != ClipKind::Wave) return 0;
    const auto info = parse_wave(clip);
    if (!info) return 0;
    if (info->fact_samples && info->sample_rate > 0) return std::uint64_t{*info->fact_samples} * 1000 / info->sample_rate;
    if (info->bytes_per_second > 0) return info->data.size() * std::uint64_t{1000} / info->bytes_per_second;
    return 0;
}

}  // namespace tb::media
