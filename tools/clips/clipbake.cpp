// Bakes the book's audio clips: English text to speech (espeak-ng), speech to MPEG-2 Layer III
// (LAME) inside a RIFF/WAVE file, one file per clip, plus one packed file of every clip that the
// program carries inside itself.
//
//   clipbake bake <manifest> <assets dir> <cache dir>   every clip of the manifest, and the pack
//   clipbake one <stereo|mono> <out.wav> <text>          one clip (runs in a process of its own)
//
// espeak-ng gives repeatable samples only for the first synthesis in a fresh process (and can
// hang when re-initialised), so each clip is synthesised by a child process of its own, two at a
// time. Clips are cached by a hash of everything that shapes them: a rebuild only synthesises the
// clips whose text or settings changed.
#include <espeak-ng/speak_lib.h>
#include <lame.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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

namespace fs = std::filesystem;

namespace {

// Bump when the synthesis or encoding changes in a way the settings below do not show.
constexpr const char* kToolVersion = "clipbake 2";
constexpr const char* kVoice = "en-us";
constexpr int kSpeechRate = 150;  // words per minute; espeak's default is 175
constexpr int kSilenceThreshold = 300;
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

std::vector<short> g_speech;

int on_samples(short* wav, int n, espeak_EVENT*) {
    if (wav && n > 0) g_speech.insert(g_speech.end(), wav, wav + n);
    return 0;
}

std::vector<short> synthesise(const std::string& text, int& rate) {
    rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    if (rate <= 0) fail("espeak-ng did not start");
    espeak_SetSynthCallback(on_samples);
    if (espeak_SetVoiceByName(kVoice) != EE_OK) fail("no English voice");
    espeak_SetParameter(espeakRATE, kSpeechRate, 0);
    if (espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr) != EE_OK)
        fail("synthesis failed: " + text);
    espeak_Synchronize();
    return g_speech;
}

// Cuts the synthesiser's leading silence (and most of its trailing silence).
std::vector<short> trim(const std::vector<short>& s, int rate) {
    auto loud = [](short v) { return std::abs(static_cast<int>(v)) > kSilenceThreshold; };
    auto first = std::find_if(s.begin(), s.end(), loud);
    if (first == s.end()) fail("the synthesiser gave silence");
    auto last = std::find_if(s.rbegin(), s.rend(), loud).base();
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

int bake_one(const std::string& kind, const fs::path& out, const std::string& text) {
    const Encoding* enc = encoding_of(kind);
    if (!enc) fail("unknown kind " + kind);
    int rate = 0;
    const auto speech = trim(synthesise(text, rate), rate);
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
        std::vector<std::string> parts;
        std::size_t at = 0;
        for (int i = 0; i < 3; ++i) {
            const std::size_t bar = line.find('|', at);
            if (bar == std::string::npos) break;
            parts.push_back(line.substr(at, bar - at));
            at = bar + 1;
        }
        const std::string where = path.string() + ":" + std::to_string(no) + ": ";
        if (parts.size() != 3) fail(where + "expected group|name|kind|text");
        Entry e{parts[0], parts[1], parts[2], line.substr(at), no, {}};
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

std::string cache_key(const Entry& e) {
    const Encoding& enc = *encoding_of(e.kind);
    std::ostringstream s;
    s << kToolVersion << '\n' << kVoice << ' ' << kSpeechRate << ' ' << kSilenceThreshold << ' ' << kLeadMs << ' '
      << kTrailMs << '\n' << enc.channels << ' ' << enc.rate << ' ' << enc.kbps << '\n' << e.text;
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (unsigned char c : s.str()) h = (h ^ c) * 1099511628211ull;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return hex;
}

void synthesise_missing(const std::vector<Entry>& entries, const fs::path& cache) {
    std::vector<const Entry*> todo;
    std::set<std::string> queued;
    for (const Entry& e : entries)
        if (!fs::exists(cache / (e.key + ".wav")) && queued.insert(e.key).second) todo.push_back(&e);
    std::printf("clipbake: %zu of %zu clips to synthesise\n", todo.size(), entries.size());
    std::fflush(stdout);
    constexpr std::size_t kParallel = 2;
    std::map<pid_t, const Entry*> running;
    std::size_t next = 0;
    bool failed = false;
    while (next < todo.size() || !running.empty()) {
        while (!failed && next < todo.size() && running.size() < kParallel) {
            const Entry* e = todo[next++];
            const std::string tmp = (cache / (e->key + ".tmp")).string();
            pid_t pid = fork();
            if (pid < 0) fail("fork failed");
            if (pid == 0) {
                execl("/proc/self/exe", "clipbake", "one", e->kind.c_str(), tmp.c_str(), e->text.c_str(), static_cast<char*>(nullptr));
                _exit(127);
            }
            running[pid] = e;
        }
        if (running.empty()) break;
        int status = 0;
        const pid_t pid = wait(&status);
        if (pid < 0) fail("wait failed");
        const Entry* e = running[pid];
        running.erase(pid);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
            fs::rename(cache / (e->key + ".tmp"), cache / (e->key + ".wav"));
        } else {
            std::fprintf(stderr, "clipbake: line %d (%s/%s) failed\n", e->line, e->group.c_str(), e->name.c_str());
            failed = true;
        }
    }
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
    if (argc == 5 && a[1] == "one") return bake_one(a[2], a[3], a[4]);
    if (argc == 5 && a[1] == "bake") return bake_all(a[2], a[3], a[4]);
    std::fprintf(stderr,
                 "usage: clipbake bake <manifest> <assets dir> <cache dir>\n"
                 "       clipbake one <stereo|mono> <out.wav> <text>\n");
    return 2;
}
