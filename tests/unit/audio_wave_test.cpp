// Recognising clips: which bytes play_sound accepts as a WAVE clip and what it reads from them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/audio/wave.hpp"
#include "runtime/bytes.hpp"

namespace {
using tb::media::ClipKind;
using tb::media::parse_wave;
using Bytes = std::vector<std::uint8_t>;

using tb::bytes::put_u16;
using tb::bytes::put_u32;
Bytes chunk(const char* id, const Bytes& body) {
    Bytes b(id, id + 4);
    put_u32(b, static_cast<std::uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1) b.push_back(0);
    return b;
}
Bytes fmt_mp3(unsigned channels = 2, std::uint32_t rate = 16000, unsigned delay = 1105) {
    Bytes f;
    put_u16(f, 0x55);
    put_u16(f, channels);
    put_u32(f, rate);
    put_u32(f, 4000);
    put_u16(f, 1);
    put_u16(f, 0);
    put_u16(f, 12);
    put_u16(f, 1);
    put_u32(f, 2);
    put_u16(f, 144);
    put_u16(f, 1);
    put_u16(f, delay);
    return f;
}
Bytes riff(const std::vector<Bytes>& chunks, long size_adjust = 0) {
    Bytes b{'R', 'I', 'F', 'F'};
    std::size_t n = 4;
    for (const auto& c : chunks) n += c.size();
    put_u32(b, static_cast<std::uint32_t>(static_cast<long>(n) + size_adjust));
    b.insert(b.end(), {'W', 'A', 'V', 'E'});
    for (const auto& c : chunks) b.insert(b.end(), c.begin(), c.end());
    return b;
}
const Bytes kAudio(300, 0xAB);

TEST(AudioWave, KindComesFromTheFirstBytes) {
    EXPECT_EQ(tb::media::clip_kind(riff({chunk("fmt ", fmt_mp3()), chunk("data", kAudio)})), ClipKind::Wave);
    const Bytes midi{'M', 'T', 'h', 'd', 0};
    EXPECT_EQ(tb::media::clip_kind(midi), ClipKind::Midi);
    EXPECT_EQ(tb::media::clip_kind(Bytes{'M', 'T', 'h', 'd'}), ClipKind::None);  // needs more than 4 bytes
    EXPECT_EQ(tb::media::clip_kind(Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V'}), ClipKind::None);
    EXPECT_EQ(tb::media::clip_kind(Bytes{}), ClipKind::None);
    EXPECT_EQ(tb::media::clip_kind(Bytes(64, 'x')), ClipKind::None);
    EXPECT_FALSE(parse_wave(midi));
}

TEST(AudioWave, ReadsFormatDelayLengthAndDataInEitherOrder) {
    Bytes fact;
    put_u32(fact, 23456);
    for (bool data_first : {false, true}) {
        const Bytes fmt = chunk("fmt ", fmt_mp3(1, 24000, 1105));
        const Bytes data = chunk("data", kAudio);
        const Bytes w = data_first ? riff({data, chunk("fact", fact), fmt}) : riff({fmt, chunk("fact", fact), data});
        const auto info = parse_wave(w);
        ASSERT_TRUE(info) << data_first;
        EXPECT_EQ(info->format_tag, 0x55);
        EXPECT_EQ(info->channels, 1);
        EXPECT_EQ(info->sample_rate, 24000u);
        EXPECT_EQ(info->codec_delay, 1105);
        EXPECT_EQ(info->fact_samples, 23456u);
        ASSERT_EQ(info->data.size(), kAudio.size());
        EXPECT_EQ(info->data[0], 0xAB);
    }
}

TEST(AudioWave, MissingOrEmptyChunksAreRefused) {
    EXPECT_FALSE(parse_wave(riff({chunk("data", kAudio)})));
    EXPECT_FALSE(parse_wave(riff({chunk("fmt ", fmt_mp3()), chunk("LIST", kAudio)})));
    EXPECT_FALSE(parse_wave(riff({chunk("fmt ", fmt_mp3()), chunk("data", {}), chunk("junk", kAudio)})));
    EXPECT_FALSE(parse_wave(riff({chunk("fmt ", Bytes(10, 1)), chunk("data", kAudio)})));  // fmt too short
}

TEST(AudioWave, ChunksBeyondTheRiffSizeAreNotRead) {
    const Bytes fmt = chunk("fmt ", fmt_mp3());
    const Bytes data = chunk("data", kAudio);
    // The RIFF size ends right after "fmt ": the data chunk lies outside the file.
    EXPECT_FALSE(parse_wave(riff({fmt, data}, -static_cast<long>(data.size()))));
    // A RIFF size beyond the buffer is held to the buffer.
    EXPECT_TRUE(parse_wave(riff({fmt, data}, 100000)));
}

TEST(AudioWave, TruncatedAndCorruptFilesNeverReadOutOfBounds) {
    const Bytes good = riff({chunk("fmt ", fmt_mp3()), chunk("data", kAudio)});
    // Cut before the data chunk's header ends: refused; any cut from there on keeps what is left.
    for (std::size_t n = 0; n < good.size(); ++n) {
        const Bytes cut(good.begin(), good.begin() + static_cast<long>(n));
        const auto info = parse_wave(cut);
        if (n <= 12 + 38 + 8) {
            EXPECT_FALSE(info) << n;
        } else {
            ASSERT_TRUE(info) << n;
            EXPECT_EQ(info->data.size(), n - (12 + 38 + 8));
        }
    }
    // Huge chunk sizes and sizes that would wrap a 32-bit position.
    Bytes huge = good;
    huge[16] = huge[17] = huge[18] = huge[19] = 0xFF;
    EXPECT_FALSE(parse_wave(huge));
    Bytes wrap = riff({chunk("junk", Bytes(4, 0)), chunk("fmt ", fmt_mp3()), chunk("data", kAudio)});
    wrap[16] = 0xF8;
    wrap[17] = wrap[18] = wrap[19] = 0xFF;
    EXPECT_FALSE(parse_wave(wrap));
    // Exactly 36 bytes is the least a WAVE clip may have; 35 is refused even when well formed.
    Bytes tiny = riff({chunk("fmt ", Bytes(16, 0)), chunk("data", Bytes{})});
    ASSERT_EQ(tiny.size(), 44u);
    EXPECT_FALSE(parse_wave(Bytes(tiny.begin(), tiny.begin() + 35)));
}

}  // namespace
