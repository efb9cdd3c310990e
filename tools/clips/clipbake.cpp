// Bakes the book's audio clips: English text to speech (flite), speech to MPEG-2 Layer III (LAME)
// inside a RIFF/WAVE file, one file per clip, plus one packed file of every clip that the program
// carries inside itself.
//
//   clipbake bake <manifest> <assets dir> <cache dir>        every clip of the manifest, and the pack
//   clipbake one <voice> <stereo|mono> <out.wav> <text>       one clip
//   clipbake many <list>                                      the clips of a list, one per line:
//                                                             voice TAB kind TAB out.wav TAB text
//   clipbake phones <voice> <text>                            the phones the voice says for the text
//
// A voice is named by its role: "book" or "praise". With the random source seeded for each clip,
// a clip's sound does not depend on what was synthesised before it in the same process, so two
// worker processes share the clips to make.
// Clips are cached by a hash of everything that shapes them: a rebuild only synthesises the clips
// whose text or settings changed.
#include <flite/flite.h>
#include <lame.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/bytes.hpp"
#include "tools/clips/manifest.hpp"

namespace fs = std::filesystem;

namespace {

// Bump when the synthesis or encoding changes in a way the settings below do not show.
constexpr const char* kToolVersion = "clipbake 6";
// The book speaks in the voice a speech recogniser understands best on the book's own lines after
// the encoder (scripts/voice-check.sh; ahead of flite's other voices, festival's HTS voice and
// espeak-ng). Praise, correction and the mode prompts come in another voice, so the pupil hears
// which is the book and which is the program talking to them.
constexpr const char* kBookVoice = "rms";    // the pages, the word list and the drill
constexpr const char* kPraiseVoice = "slt";  // feedback and the mode prompts
constexpr double kPeak = 0.89;           // every clip's loudest sample, -1 dBFS
// LAME's own choice for 32 kbit/s at 16 kHz cuts at 5.5 kHz and takes the hiss of s and sh with
// it: the two channels carry the same voice, so the bits go further than it assumes.
constexpr int kLowpassHz = 7500;
constexpr int kSilenceThreshold = 300;
// The faint start of a fricative (the f of "fish") is lost in the encoder at this bit rate: the
// sound the pupil hears begins where the voice first passes this level.
constexpr int kOnsetThreshold = 1000;
constexpr double kLeadMs = 3.0;    // silence kept before the first sound
constexpr double kTrailMs = 120.0; // kept after the last sound

struct Encoding {
    int channels;
    int rate;
    int kbps;
    int frame_bytes;  // bytes of one MPEG-2 Layer III frame: 72 * bitrate / rate
};
const Encoding kStereo{2, 16000, 32, 144};
const Encoding kMono{1, 24000, 24, 72};

const Encoding* encoding_of(const std::string& kind) {
    if (kind == "stereo") return &kStereo;
    if (kind == "mono") return &kMono;
    return nullptr;
}

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "clipbake: %s\n", why.c_str());
    std::exit(1);
}

using namespace tb::bytes;

// ---- one clip ---------------------------------------------------------------------------

}  // namespace
extern "C" {
cst_voice* register_cmu_us_rms(const char* voxdir);
cst_voice* register_cmu_us_slt(const char* voxdir);
}
namespace {

// The book's names, said the way a Chinese teacher of English says them rather than the way the
// synthesiser would guess from the spelling (Zhao as "jow", not "zay-oh"). CMU phones, vowels
// carry stress 1 or 0. Each name's possessive ("Zhao's") is added with a final z.
struct Pronunciation {
    const char* word;
    const char* phones;
};
constexpr Pronunciation kNames[] = {
    {"zhao", "jh aw1"},               // 赵
    {"tao", "t aw1"},                 // 涛 (Tao Tao)
    {"kai", "k ay1"},                 // 凯
    {"wang", "w aa1 ng"},             // 王 (Grandpa Wang)
    {"huahua", "hh w aa1 hh w aa0"},  // 花花
    {"sanya", "s aa1 n y aa0"},       // 三亚
    {"rosa", "r ow1 z ax0"},
    {"lily", "l ih1 l iy0"},
    {"ella", "eh1 l ax0"},
};

// The voice of a role, started once per process with the names in its lexicon.
cst_voice* voice_named(const std::string& role) {
    static std::map<std::string, cst_voice*> started;
    if (auto it = started.find(role); it != started.end()) return it->second;
    flite_init();
    cst_voice* v = role == "book" ? register_cmu_us_rms(nullptr) : role == "praise" ? register_cmu_us_slt(nullptr) : nullptr;
    if (!v) fail("no voice " + role);
    cst_lexicon* lex = val_lexicon(feat_val(v->features, "lexicon"));
    for (const Pronunciation& p : kNames)
        for (const std::string& entry : {std::string(p.word) + " : " + p.phones, std::string(p.word) + "'s : " + p.phones + " z"}) {
            cst_val* e = cst_lex_make_entry(lex, entry.c_str());
            if (!e) fail("bad pronunciation: " + entry);
            lex->lex_addenda = cons_val(e, lex->lex_addenda);
        }
    return started[role] = v;
}

const char* voice_name(const std::string& role) { return role == "praise" ? kPraiseVoice : kBookVoice; }

// The voice's samples, their loudest peak brought to kPeak so every clip sounds equally loud.
std::vector<short> synthesise(const std::string& voice, const std::string& text, int& rate) {
    cst_voice* v = voice_named(voice);
    // flite draws the noise of unvoiced sounds from rand(): seeded afresh, a clip's sound does not
    // depend on the clips made before it in the same process.
    std::srand(1);
    cst_wave* w = flite_text_to_wave(text.c_str(), v);
    if (!w || w->num_samples <= 0) fail("synthesis failed: " + text);
    rate = w->sample_rate;
    std::vector<short> s(w->samples, w->samples + w->num_samples * w->num_channels);
    delete_wave(w);
    int peak = 1;
    for (short x : s) peak = std::max(peak, std::abs(static_cast<int>(x)));
    const double gain = kPeak * 32767.0 / peak;
    for (short& x : s) x = static_cast<short>(std::lround(x * gain));
    return s;
}

// The phones the voice says for a text, one word's phones after another, pauses left out.
int print_phones(const std::string& voice, const std::string& text) {
    cst_utterance* u = flite_synth_text(text.c_str(), voice_named(voice));
    for (cst_item* i = relation_head(utt_relation(u, "Segment")); i; i = item_next(i)) {
        const std::string ph = item_feat_string(i, "name");
        if (ph != "pau") std::printf("%s ", ph.c_str());
    }
    std::printf("\n");
    delete_utterance(u);
    return 0;
}

// Cuts the synthesiser's leading silence (and most of its trailing silence).
std::vector<short> trim(const std::vector<short>& s, int rate) {
    auto above = [](int threshold) { return [threshold](short v) { return std::abs(static_cast<int>(v)) > threshold; }; };
    auto first = std::find_if(s.begin(), s.end(), above(kOnsetThreshold));
    if (first == s.end()) fail("the synthesiser gave silence");
    auto last = std::find_if(s.rbegin(), s.rend(), above(kSilenceThreshold)).base();
    const auto lead = static_cast<std::ptrdiff_t>(rate * kLeadMs / 1000);
    const auto trail = static_cast<std::ptrdiff_t>(rate * kTrailMs / 1000);
    auto b = first - std::min(lead, first - s.begin());
    auto e = last + std::min(trail, s.end() - last);
    return {b, e};
}

std::vector<std::uint8_t> encode(const std::vector<short>& pcm, int in_rate, const Encoding& enc) {
    lame_global_flags* gf = lame_init();
    lame_set_num_channels(gf, enc.channels);
    lame_set_in_samplerate(gf, in_rate);
    lame_set_out_samplerate(gf, enc.rate);
    lame_set_mode(gf, enc.channels == 2 ? JOINT_STEREO : MONO);
    lame_set_VBR(gf, vbr_off);
    lame_set_brate(gf, enc.kbps);
    lame_set_quality(gf, 2);
    lame_set_lowpassfreq(gf, kLowpassHz);
    // An Info tag does not fit in a 144-byte frame: the delay and the length travel in the WAVE
    // instead (the codec delay field and the "fact" chunk).
    lame_set_bWriteVbrTag(gf, 0);
    if (lame_init_params(gf) < 0) fail("LAME refused the settings");

    std::vector<std::uint8_t> mp3(pcm.size() * 5 / 4 + 7200 + 16384);
    const int n = static_cast<int>(pcm.size());
    std::vector<short> right(pcm);  // the same voice on both channels
    int used = lame_encode_buffer(gf, pcm.data(), enc.channels == 2 ? right.data() : nullptr, n, mp3.data(),
                                  static_cast<int>(mp3.size()));
    if (used < 0) fail("LAME encoding failed");
    int tail = lame_encode_flush(gf, mp3.data() + used, static_cast<int>(mp3.size()) - used);
    if (tail < 0) fail("LAME flush failed");
    mp3.resize(static_cast<std::size_t>(used + tail));
    const int delay = lame_get_encoder_delay(gf);
    const int padding = lame_get_encoder_padding(gf);
    const int frames = lame_get_frameNum(gf);
    const int per_frame = lame_get_framesize(gf);
    lame_close(gf);

    const std::uint32_t samples = static_cast<std::uint32_t>(std::max(0, frames * per_frame - delay - padding));
    constexpr int kDecoderDelay = 529;  // what a Layer III decoder adds before the first sample
    std::vector<std::uint8_t> w;
    put_bytes(w, "RIFF");
    put_u32(w, 0);
    put_bytes(w, "WAVE");
    put_bytes(w, "fmt ");
    put_u32(w, 30);
    put_u16(w, 0x0055);
    put_u16(w, static_cast<std::uint16_t>(enc.channels));
    put_u32(w, static_cast<std::uint32_t>(enc.rate));
    put_u32(w, static_cast<std::uint32_t>(enc.kbps * 1000 / 8));
    put_u16(w, 1);   // block align
    put_u16(w, 0);   // bits per sample
    put_u16(w, 12);  // extension size
    put_u16(w, 1);   // wID: MPEG Layer III
    put_u32(w, 2);   // fdwFlags: padding off
    put_u16(w, static_cast<std::uint16_t>(enc.frame_bytes));
    put_u16(w, 1);   // frames per block
    put_u16(w, static_cast<std::uint16_t>(delay + kDecoderDelay));  // samples before the sound begins
    put_bytes(w, "fact");
    put_u32(w, 4);
    put_u32(w, samples);
    put_bytes(w, "data");
    put_u32(w, static_cast<std::uint32_t>(mp3.size()));
    w.insert(w.end(), mp3.begin(), mp3.end());
    if (mp3.size() & 1) w.push_back(0);
    patch_u32(w, 4, static_cast<std::uint32_t>(w.size() - 8));
    return w;
}

void write_file(const fs::path& p, const std::vector<std::uint8_t>& bytes) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!f) fail("cannot write " + p.string());
}

std::vector<std::uint8_t> read_file(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    if (!f) fail("cannot read " + p.string());
    return {std::istreambuf_iterator<char>(f), {}};
}

int bake_one(const std::string& voice, const std::string& kind, const fs::path& out, const std::string& text) {
    const Encoding* enc = encoding_of(kind);
    if (!enc) fail("unknown kind " + kind);
    int rate = 0;
    const auto speech = trim(synthesise(voice, text, rate), rate);
    write_file(out, encode(speech, rate, *enc));
    return 0;
}

// ---- the whole manifest -----------------------------------------------------------------

struct Entry {
    std::string group, name, kind, text;
    int line;
    std::string key;
};

std::vector<Entry> read_manifest(const fs::path& path) {
    std::ifstream f(path);
    if (!f) fail("cannot read the manifest " + path.string());
    std::vector<Entry> out;
    std::set<std::string> seen;
    std::string line;
    for (int no = 1; std::getline(f, line); ++no) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const auto fields = tb::clips::split_manifest_line(line);
        const std::string where = path.string() + ":" + std::to_string(no) + ": ";
        if (!fields) fail(where + "expected group|name|kind|text");
        Entry e{fields->group, fields->name, fields->kind, fields->text, no, {}};
        auto plain = [](const std::string& s) {
            return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-'; });
        };
        if (!plain(e.group) || !plain(e.name)) fail(where + "group and name are letters, digits, _ and -");
        if (!encoding_of(e.kind)) fail(where + "kind is stereo or mono");
        if (e.text.find_first_not_of(" \t") == std::string::npos) fail(where + "no text");
        if (!seen.insert(e.group + "/" + e.name).second) fail(where + "clip " + e.group + "/" + e.name + " twice");
        out.push_back(std::move(e));
    }
    if (out.empty()) fail("the manifest lists no clip");
    return out;
}

const char* role_of(const Entry& e) { return e.group == "feedback" || e.group == "prompts" ? "praise" : "book"; }

std::string cache_key(const Entry& e) {
    const Encoding& enc = *encoding_of(e.kind);
    std::ostringstream s;
    s << kToolVersion << '\n' << voice_name(role_of(e)) << ' ' << kPeak << ' ' << kLowpassHz << ' ' << kSilenceThreshold << ' ' << kOnsetThreshold << ' ' << kLeadMs << ' '
      << kTrailMs << '\n' << enc.channels << ' ' << enc.rate << ' ' << enc.kbps << '\n' << e.text << '\n';
    for (const Pronunciation& p : kNames) s << p.word << ' ' << p.phones << ';';
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (unsigned char c : s.str()) h = (h ^ c) * 1099511628211ull;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return hex;
}

// Makes every clip of a list: voice TAB kind TAB out.wav TAB text per line.
int bake_many(const fs::path& list) {
    std::ifstream f(list);
    if (!f) fail("cannot read " + list.string());
    std::string line;
    while (std::getline(f, line)) {
        std::vector<std::string> parts;
        std::size_t at = 0;
        for (int i = 0; i < 3; ++i) {
            const std::size_t tab = line.find('\t', at);
            if (tab == std::string::npos) fail(list.string() + ": expected voice, kind, file and text");
            parts.push_back(line.substr(at, tab - at));
            at = tab + 1;
        }
        bake_one(parts[0], parts[1], parts[2], line.substr(at));
    }
    return 0;
}

void synthesise_missing(const std::vector<Entry>& entries, const fs::path& cache) {
    std::vector<const Entry*> todo;
    std::set<std::string> queued;
    for (const Entry& e : entries)
        if (!fs::exists(cache / (e.key + ".wav")) && queued.insert(e.key).second) todo.push_back(&e);
    std::printf("clipbake: %zu of %zu clips to synthesise\n", todo.size(), entries.size());
    std::fflush(stdout);
    if (todo.empty()) return;
    constexpr std::size_t kWorkers = 2;
    std::map<pid_t, std::vector<const Entry*>> running;
    for (std::size_t w = 0; w < kWorkers && w < todo.size(); ++w) {
        std::vector<const Entry*> share;
        for (std::size_t i = w; i < todo.size(); i += kWorkers) share.push_back(todo[i]);
        const fs::path list = cache / ("worker" + std::to_string(w) + ".list");
        std::ofstream out(list, std::ios::trunc);
        for (const Entry* e : share)
            out << role_of(*e) << '\t' << e->kind << '\t' << (cache / (e->key + ".tmp")).string() << '\t' << e->text << '\n';
        out.close();
        if (!out) fail("cannot write " + list.string());
        const pid_t pid = fork();
        if (pid < 0) fail("fork failed");
        if (pid == 0) {
            execl("/proc/self/exe", "clipbake", "many", list.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        running[pid] = std::move(share);
    }
    bool failed = false;
    while (!running.empty()) {
        int status = 0;
        const pid_t pid = wait(&status);
        if (pid < 0) fail("wait failed");
        const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        for (const Entry* e : running[pid]) {
            const fs::path tmp = cache / (e->key + ".tmp");
            if (ok) {
                fs::rename(tmp, cache / (e->key + ".wav"));
            } else {
                fs::remove(tmp);
            }
        }
        failed = failed || !ok;
        running.erase(pid);
    }
    for (std::size_t w = 0; w < kWorkers; ++w) fs::remove(cache / ("worker" + std::to_string(w) + ".list"));
    if (failed) fail("some clips could not be made");
}

// The pack: "TBCP", u32 version 1, u32 entry count, then the directory (per entry: u32 kind
// 1 = clip list / 2 = clip, u32 offset, u32 name length, the name, zero padding to 4 bytes),
// then the clips as binary constants (u32 1, u32 length, the bytes, padding to 4) and the
// groups as clip lists (u32 1, u32 count, count u32 offsets of constants). Little-endian;
// offsets count from the start of the pack. Groups are named after their folder, clips
// "group/name".
std::vector<std::uint8_t> pack(const std::vector<Entry>& entries, const std::vector<std::vector<std::uint8_t>>& files) {
    std::vector<std::string> groups;
    for (const Entry& e : entries)
        if (std::find(groups.begin(), groups.end(), e.group) == groups.end()) groups.push_back(e.group);
    struct Dir {
        std::string name;
        std::uint32_t kind;
        std::uint32_t offset;
    };
    std::vector<Dir> dir;
    for (const auto& g : groups) dir.push_back({g, 1, 0});
    for (const Entry& e : entries) dir.push_back({e.group + "/" + e.name, 2, 0});
    auto pad4 = [](std::size_t n) { return (n + 3) & ~std::size_t{3}; };
    std::size_t at = 12;
    for (const Dir& d : dir) at += 12 + pad4(d.name.size());
    std::vector<std::uint32_t> clip_at(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        clip_at[i] = static_cast<std::uint32_t>(at);
        dir[groups.size() + i].offset = clip_at[i];
        at += 8 + pad4(files[i].size());
    }
    for (std::size_t g = 0; g < groups.size(); ++g) {
        dir[g].offset = static_cast<std::uint32_t>(at);
        at += 8 + 4 * static_cast<std::size_t>(std::count_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.group == groups[g]; }));
    }
    if (at > 0xFFFFFFFFu) fail("the pack outgrew 4 GB");
    std::vector<std::uint8_t> o;
    o.reserve(at);
    put_bytes(o, "TBCP");
    put_u32(o, 1);
    put_u32(o, static_cast<std::uint32_t>(dir.size()));
    for (const Dir& d : dir) {
        put_u32(o, d.kind);
        put_u32(o, d.offset);
        put_string(o, d.name);
        put_align(o, 4);
    }
    for (const auto& f : files) {
        put_u32(o, 1);
        put_blob(o, f);
        put_align(o, 4);
    }
    for (const auto& g : groups) {
        std::vector<std::uint32_t> refs;
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i].group == g) refs.push_back(clip_at[i]);
        put_u32(o, 1);
        put_u32(o, static_cast<std::uint32_t>(refs.size()));
        for (auto r : refs) put_u32(o, r);
    }
    if (o.size() != at) fail("pack layout mismatch");
    return o;
}

int bake_all(const fs::path& manifest, const fs::path& assets, const fs::path& cache) {
    auto entries = read_manifest(manifest);
    fs::create_directories(cache);
    for (Entry& e : entries) e.key = cache_key(e);
    synthesise_missing(entries, cache);
    std::vector<std::vector<std::uint8_t>> files;
    for (const Entry& e : entries) {
        files.push_back(read_file(cache / (e.key + ".wav")));
        const fs::path out = assets / "clips" / e.group / (e.name + ".wav");
        fs::create_directories(out.parent_path());
        write_file(out, files.back());
    }
    write_file(assets / "clips.pack", pack(entries, files));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> a(argv, argv + argc);
    if (argc == 6 && a[1] == "one") return bake_one(a[2], a[3], a[4], a[5]);
    if (argc == 3 && a[1] == "many") return bake_many(a[2]);
    if (argc == 4 && a[1] == "phones") return print_phones(a[2], a[3]);
    if (argc == 5 && a[1] == "bake") return bake_all(a[2], a[3], a[4]);
    std::fprintf(stderr,
                 "usage: clipbake bake <manifest> <assets dir> <cache dir>\n"
                 "       clipbake one <voice> <stereo|mono> <out.wav> <text>\n"
                 "       clipbake many <list>\n"
                 "       clipbake phones <voice> <text>\n");
    return 2;
}
