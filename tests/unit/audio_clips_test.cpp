// The baked clips and the catalogue that finds them: formats, lengths, leading silence, and
// the shape of every group.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "content/audio/decoder.hpp"
#include "content/audio/wave.hpp"
#include "content/catalogue.hpp"
#include "content/volume.hpp"
#include "runtime/embedded.hpp"

namespace {
namespace cat = tb::catalogue;

struct Decoded {
    long rate;
    int channels;
    std::vector<std::int16_t> pcm;  // stereo frames at the asked rate
};

Decoded decode(tb::Clip clip, int device_rate) {
    const auto info = tb::media::parse_wave(clip);
    EXPECT_TRUE(info);
    tb::media::ClipDecoder d(info->data, device_rate, info->codec_delay, info->fact_samples.value_or(0));
    Decoded out{};
    std::int16_t buf[4096 * 2];
    while (std::size_t n = d.read(buf, 4096)) out.pcm.insert(out.pcm.end(), buf, buf + n * 2);
    out.rate = d.source_rate();
    out.channels = d.source_channels();
    return out;
}

std::size_t leading_silence(const std::vector<std::int16_t>& pcm) {
    auto it = std::find_if(pcm.begin(), pcm.end(), [](std::int16_t s) { return std::abs(s) > 300; });
    return static_cast<std::size_t>(it - pcm.begin()) / 2;
}

// Every page clip and every drill clip of the volume.
std::vector<tb::Clip> page_and_drill_clips() {
    std::vector<tb::Clip> all;
    for (int p = 0; p < tb::volume::kContentPages; ++p)
        for (tb::Clip c : cat::page_clips(p)) all.push_back(c);
    for (int l = 1; l <= tb::volume::kLessons; ++l)
        for (tb::Clip c : cat::drill_clips(l)) all.push_back(c);
    return all;
}

void expect_clip(tb::Clip clip, int channels, int rate, int bytes_per_second) {
    const auto info = tb::media::parse_wave(clip);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->format_tag, 0x55);
    EXPECT_EQ(info->channels, channels);
    EXPECT_EQ(info->sample_rate, static_cast<std::uint32_t>(rate));
    EXPECT_EQ(info->bytes_per_second, static_cast<std::uint32_t>(bytes_per_second));
    EXPECT_EQ(info->block_align, 1);
    ASSERT_TRUE(info->fact_samples);
    const Decoded d = decode(clip, rate);
    EXPECT_EQ(d.rate, rate);
    EXPECT_EQ(d.channels, channels);
    EXPECT_EQ(d.pcm.size() / 2, *info->fact_samples);
    // The sound begins within 10 ms.
    EXPECT_LE(leading_silence(d.pcm), static_cast<std::size_t>(rate / 100));
}

TEST(AudioClips, SentenceClipsAreJointStereo16kHzAndStartAtOnce) {
    for (int page : {0, 6, 33}) {
        const auto clips = cat::page_clips(page);
        ASSERT_FALSE(clips.empty());
        expect_clip(clips.front(), 2, 16000, 4000);
        expect_clip(clips.back(), 2, 16000, 4000);
    }
    expect_clip(cat::word_list_clip(131), 2, 16000, 4000);
    expect_clip(cat::drill_clips(6).back(), 2, 16000, 4000);
    expect_clip(cat::practice_right_clips().front(), 2, 16000, 4000);
}

TEST(AudioClips, EveryClipStartsWithin10Ms) {
    std::vector<tb::Clip> all = page_and_drill_clips();
    for (int n = 1; n <= 184; ++n)
        if (tb::Clip c = cat::word_list_clip(n); !c.empty()) all.push_back(c);
    std::size_t worst = 0;
    for (tb::Clip c : all) {
        const Decoded d = decode(c, 16000);
        worst = std::max(worst, leading_silence(d.pcm));
    }
    EXPECT_LE(worst, 160u);
}

TEST(AudioClips, EveryClipIsHeard) {
    // A voice that gave silence or a whisper would leave the pupil clicking at nothing: every clip
    // carries at least a tenth of a second of sound and peaks within 12 dB of full scale.
    std::vector<tb::Clip> all = page_and_drill_clips();
    for (tb::Clip c : cat::practice_right_clips()) all.push_back(c);
    for (tb::Clip c : cat::practice_wrong_clips()) all.push_back(c);
    for (tb::Clip c : {cat::practice_prompt(), cat::find_prompt(), cat::complete_prompt()}) all.push_back(c);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Decoded d = decode(all[i], 16000);
        std::size_t sounding = 0;
        int peak = 0;
        for (std::int16_t s : d.pcm) {
            sounding += std::abs(s) > 300;
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        }
        EXPECT_GE(sounding / 2, 16000u / 10) << "clip " << i;
        EXPECT_GE(peak, 32768 / 4) << "clip " << i;
    }
}

TEST(AudioClips, PromptsAreMono24kHz) {
    for (tb::Clip c : {cat::practice_prompt(), cat::find_prompt(), cat::complete_prompt()}) expect_clip(c, 1, 24000, 3000);
}

TEST(AudioClips, DecodingConvertsToTheDeviceRate) {
    // A 24 kHz mono prompt on a 48 kHz stereo device: twice the frames, the same on both sides.
    const tb::Clip clip = cat::practice_prompt();
    const auto frames = *tb::media::parse_wave(clip)->fact_samples;
    const Decoded d = decode(clip, 48000);
    EXPECT_NEAR(static_cast<double>(d.pcm.size() / 2), 2.0 * frames, 2.0);
    for (std::size_t i = 0; i < d.pcm.size(); i += 2) ASSERT_EQ(d.pcm[i], d.pcm[i + 1]);
    EXPECT_LE(leading_silence(d.pcm), 480u);
}

TEST(AudioClips, CatalogueHasTheBooksShape) {
    std::size_t total = 0;
    for (int p = 0; p < tb::volume::kContentPages; ++p) {
        const auto clips = cat::page_clips(p);
        EXPECT_EQ(clips.size(), static_cast<std::size_t>(tb::volume::page_clip_count(p))) << "page index " << p;
        for (tb::Clip c : clips) EXPECT_TRUE(tb::media::parse_wave(c)) << "page index " << p;
        total += clips.size();
    }
    EXPECT_EQ(total, 747u);
    EXPECT_TRUE(cat::page_clips(-1).empty());
    EXPECT_TRUE(cat::page_clips(34).empty());
    EXPECT_NE(cat::page_clips(0).front().data(), cat::page_clips(1).front().data());

    // The word list's 184 cells: its heading and the 130 words have clips; unit headers, note
    // labels and writing lines have none.
    int with_clip = 0;
    for (int n = 1; n <= 184; ++n) {
        const tb::Clip c = cat::word_list_clip(n);
        if (c.empty()) continue;
        EXPECT_TRUE(tb::media::parse_wave(c)) << n;
        ++with_clip;
    }
    EXPECT_EQ(with_clip, 131);
    EXPECT_TRUE(cat::word_list_clip(0).empty());
    EXPECT_TRUE(cat::word_list_clip(185).empty());

    for (int l = 1; l <= tb::volume::kLessons; ++l)
        EXPECT_EQ(cat::drill_clips(l).size(), static_cast<std::size_t>(tb::volume::kLessonWords[l - 1])) << l;
    EXPECT_TRUE(cat::drill_clips(0).empty());
    EXPECT_TRUE(cat::drill_clips(7).empty());
}

TEST(AudioClips, FeedbackListsShareTheirClips) {
    const auto right = cat::practice_right_clips();
    const auto wrong = cat::practice_wrong_clips();
    ASSERT_EQ(right.size(), 3u);
    ASSERT_EQ(wrong.size(), 4u);
    for (tb::Clip c : right) EXPECT_TRUE(tb::media::parse_wave(c));
    for (tb::Clip c : wrong) EXPECT_TRUE(tb::media::parse_wave(c));
    auto same = [](const std::vector<tb::Clip>& a, const std::vector<tb::Clip>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](tb::Clip x, tb::Clip y) { return x.data() == y.data(); });
    };
    EXPECT_TRUE(same(cat::find_right_clips(), right));
    EXPECT_TRUE(same(cat::find_wrong_clips(), wrong));
    EXPECT_TRUE(same(cat::fill_in_right_clips(), right));
    EXPECT_TRUE(same(cat::ordering_right_clips(), right));
    // Fill-in and ordering leave out the second wrong clip.
    const std::vector<tb::Clip> three_wrong{wrong[0], wrong[2], wrong[3]};
    EXPECT_TRUE(same(cat::fill_in_wrong_clips(), three_wrong));
    EXPECT_TRUE(same(cat::ordering_wrong_clips(), three_wrong));
}

TEST(AudioClips, ABrokenPackGivesEmptyClipsNeverBytesOutsideIt) {
    const tb::ClipPack& full = cat::clip_pack();
    ASSERT_TRUE(full.valid());
    ASSERT_EQ(full.group_names().size(), 34u + 1 + 6 + 2);
    const auto whole = tb::embedded_blob("clips");
    for (std::size_t cut : {std::size_t{0}, std::size_t{11}, std::size_t{12}, std::size_t{100}, std::size_t{30000}, whole.size() / 2, whole.size() - 1}) {
        const auto part = whole.first(cut);
        const tb::ClipPack pack(part);
        for (const char* g : {"page00", "page33", "wordlist", "drill6", "feedback", "prompts"}) {
            for (tb::Clip c : pack.group(g)) {
                if (c.empty()) continue;
                EXPECT_GE(c.data(), part.data());
                EXPECT_LE(c.data() + c.size(), part.data() + part.size());
            }
        }
        const tb::Clip last = pack.clip("prompts/complete");
        if (!last.empty()) {
            EXPECT_LE(last.data() + last.size(), part.data() + part.size());
        }
        EXPECT_TRUE(pack.group("prompts").empty()) << cut;  // the last list, cut short
    }
}

TEST(AudioClips, MarkPicturesComeFromTheirBlobs) {
    EXPECT_EQ(cat::mark_picture(true).data(), tb::embedded_blob("mark-right").data());
    EXPECT_EQ(cat::mark_picture(false).data(), tb::embedded_blob("mark-wrong").data());
}

}  // namespace
