#pragma once
// Recognising clips: a RIFF/WAVE file (its "fmt " fields and its "data" chunk) or a MIDI file.
// Plain C++ with bounds checks on every read: it sees whatever bytes a caller hands to
// play_sound.
#include <cstdint>
#include <optional>
#include <span>

namespace tb::media {

enum class ClipKind { None, Wave, Midi };

// What the first bytes say the data is: WAVE needs more than 11 bytes with "RIFF" at 0 and
// "WAVE" at 8; MIDI more than 4 bytes starting "MThd"; anything else is None.
ClipKind clip_kind(std::span<const std::uint8_t> data);

inline constexpr std::uint16_t kFormatPcm = 0x0001;
inline constexpr std::uint16_t kFormatMpeg = 0x0050;
inline constexpr std::uint16_t kFormatMpegLayer3 = 0x0055;

struct WaveInfo {
    std::uint16_t format_tag = 0;
    std::uint16_t channels = 0;
    std::uint32_t sample_rate = 0;
    std::uint32_t bytes_per_second = 0;
    std::uint16_t block_align = 0;
    std::uint16_t bits_per_sample = 0;
    // The MPEG Layer III extension's codec delay in samples, when the "fmt " chunk carries it.
    std::uint16_t codec_delay = 0;
    // The "fact" chunk's sample count per channel, when present.
    std::optional<std::uint32_t> fact_samples;
    // The "data" chunk's bytes (a view into the parsed buffer).
    std::span<const std::uint8_t> data;
};

// Parses a WAVE clip: more than 35 bytes, chunks walked from byte 12 while inside both the
// RIFF size and the buffer, "fmt " and "data" in either order. No "fmt " (or one shorter than
// 16 bytes), no "data" or an empty "data" gives nothing. A "data" chunk that claims more bytes
// than the file holds is cut to what is there.
std::optional<WaveInfo> parse_wave(std::span<const std::uint8_t> data);

// How long a WAVE clip plays at normal speed, in milliseconds: its "fact" sample count over its
// rate, else its data over its bytes per second; 0 for anything else.
std::uint64_t clip_duration_ms(std::span<const std::uint8_t> clip);

}  // namespace tb::media
