// The two halves of the voice check (scripts/voice-check.sh runs a speech recogniser between them):
//
//   voicecheck prep <manifest> <clips dir> <work dir>   decodes the page, drill and feedback clips into
//                                                       16 kHz mono raw files the recogniser reads, with
//                                                       <work dir>/clips.ctl and <work dir>/clips.ref
//   voicecheck score <work dir>/clips.ref <hyp file>    word error rates and the worst lines
//
// Every clip is brought to the same footing before the recogniser hears it: its active speech level
// set to -26 dBFS, a quarter second of silence around it, and a faint noise floor 40 dB below the
// speech (the recogniser mis-handles exact digital silence).
#include <mpg123.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tools/clips/manifest.hpp"

namespace fs = std::filesystem;

namespace {

constexpr int kRate = 16000;
constexpr double kSpeechLevelDb = -26.0;
constexpr double kNoiseBelowDb = 40.0;
constexpr double kPadSeconds = 0.25;

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "voicecheck: %s\n", why.c_str());
    std::exit(1);
}

std::vector<std::uint8_t> read_file(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    if (!f) fail("cannot read " + p.string());
    return {std::istreambuf_iterator<char>(f), {}};
}

// The "data" chunk of a RIFF/WAVE clip: the MPEG frames.
std::vector<std::uint8_t> mpeg_frames(const std::vector<std::uint8_t>& w) {
    auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(w[at] | w[at + 1] << 8 | w[at + 2] << 16 | static_cast<std::uint32_t>(w[at + 3]) << 24);
    };
    for (std::size_t at = 12; at + 8 <= w.size();) {
        const std::uint32_t size = u32(at + 4);
        if (std::equal(w.begin() + static_cast<std::ptrdiff_t>(at), w.begin() + static_cast<std::ptrdiff_t>(at) + 4, "data")) {
            if (at + 8 + size > w.size()) break;
            return {w.begin() + static_cast<std::ptrdiff_t>(at + 8), w.begin() + static_cast<std::ptrdiff_t>(at + 8 + size)};
        }
        at += 8 + size + (size & 1);
    }
    return {};
}

// Decodes to mono at the clip's own rate (the page and drill clips are 16 kHz).
std::vector<float> decode(const std::vector<std::uint8_t>& frames, long& rate) {
    int err = 0;
    mpg123_handle* h = mpg123_new(nullptr, &err);
    if (!h) fail("mpg123 did not start");
    mpg123_param(h, MPG123_FLAGS, MPG123_MONO_MIX | MPG123_QUIET, 0);
    mpg123_format_none(h);
    for (long r : {16000L, 22050L, 24000L}) mpg123_format(h, r, MPG123_MONO, MPG123_ENC_SIGNED_16);
    mpg123_open_feed(h);
    std::vector<float> out;
    std::vector<unsigned char> buf(16384);
    std::size_t done = 0;
    int rc = mpg123_decode(h, frames.data(), frames.size(), buf.data(), buf.size(), &done);
    for (;;) {
        if (rc == MPG123_NEW_FORMAT) {
            int ch = 0, enc = 0;
            mpg123_getformat(h, &rate, &ch, &enc);
        }
        const auto* s = reinterpret_cast<const std::int16_t*>(buf.data());
        for (std::size_t i = 0; i < done / 2; ++i) out.push_back(s[i] / 32768.0f);
        if (rc == MPG123_NEED_MORE || rc == MPG123_ERR || rc == MPG123_DONE) break;
        rc = mpg123_decode(h, nullptr, 0, buf.data(), buf.size(), &done);
    }
    mpg123_delete(h);
    return out;
}

// Active speech level: the power of the 20 ms frames within 40 dB of the loudest frame.
double active_level(const std::vector<float>& s, long rate) {
    const std::size_t n = static_cast<std::size_t>(rate / 50);
    std::vector<double> power;
    for (std::size_t at = 0; at + n <= s.size(); at += n) {
        double p = 0;
        for (std::size_t i = at; i < at + n; ++i) p += double(s[i]) * s[i];
        power.push_back(p / double(n));
    }
    if (power.empty()) return 0;
    const double top = *std::max_element(power.begin(), power.end());
    double sum = 0;
    int count = 0;
    for (double p : power)
        if (p > top * 1e-4) sum += p, ++count;
    return count ? std::sqrt(sum / count) : 0;
}

void prep_one(const fs::path& clip, const fs::path& out) {
    long rate = 0;
    std::vector<float> s = decode(mpeg_frames(read_file(clip)), rate);
    if (rate != kRate) fail(clip.string() + ": not a 16 kHz clip");
    const double level = active_level(s, rate);
    const double gain = level > 0 ? std::pow(10.0, kSpeechLevelDb / 20) / level : 0;
    const double noise = std::pow(10.0, (kSpeechLevelDb - kNoiseBelowDb) / 20);
    const std::size_t pad = static_cast<std::size_t>(kPadSeconds * kRate);
    std::vector<std::int16_t> pcm;
    std::uint32_t seed = 12345;
    auto uniform = [&] {  // a fixed noise so the check is repeatable
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) / double(1 << 24) - 0.5;
    };
    for (std::size_t i = 0; i < s.size() + 2 * pad; ++i) {
        const double v = (i >= pad && i < pad + s.size()) ? s[i - pad] * gain : 0.0;
        const double n = (uniform() + uniform() + uniform()) * 2.0 * noise;  // about the asked RMS
        pcm.push_back(static_cast<std::int16_t>(std::clamp((v + n) * 32767.0, -32768.0, 32767.0)));
    }
    std::ofstream f(out, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(pcm.data()), static_cast<std::streamsize>(pcm.size() * 2));
    if (!f) fail("cannot write " + out.string());
}

// What the recogniser should hear: lower case, punctuation dropped, digits spelled out.
std::string normalise(const std::string& text) {
    static const char* const kDigits[] = {"zero", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine"};
    std::string out;
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isdigit(u)) {
            out += std::string(" ") + kDigits[c - '0'] + " ";
        } else if (std::isalpha(u) || c == '\'') {
            out += static_cast<char>(std::tolower(u));
        } else {
            out += ' ';
        }
    }
    std::istringstream in(out);
    std::string w, joined;
    while (in >> w) {
        while (!w.empty() && w.front() == '\'') w.erase(w.begin());
        while (!w.empty() && w.back() == '\'') w.pop_back();
        if (!w.empty()) joined += (joined.empty() ? "" : " ") + w;
    }
    return joined;
}

std::vector<std::string> words_of(const std::string& s) {
    std::istringstream in(s);
    return {std::istream_iterator<std::string>(in), {}};
}

// Sentences are page lines of three or more words; words are the drill's (the word list plays the same clips).
std::string category(const std::string& group, const std::string& ref) {
    if (group.rfind("drill", 0) == 0) return "words";
    return words_of(ref).size() >= 3 ? "sentences" : "short lines";
}

int prep(const fs::path& manifest, const fs::path& clips, const fs::path& work) {
    std::ifstream m(manifest);
    if (!m) fail("cannot read " + manifest.string());
    fs::create_directories(work);
    std::ofstream ctl(work / "clips.ctl"), ref(work / "clips.ref");
    std::string line;
    int count = 0;
    while (std::getline(m, line)) {
        if (line.empty() || line[0] == '#') continue;
        const auto f = tb::clips::split_manifest_line(line);
        if (!f) continue;
        const std::string& group = f->group;
        if (group.rfind("page", 0) != 0 && group.rfind("drill", 0) != 0 && group != "feedback") continue;
        const std::string id = group + "_" + f->name;
        const std::string text = normalise(f->text);
        prep_one(clips / group / (f->name + ".wav"), work / (id + ".raw"));
        ctl << id << '\n';
        ref << id << '\t' << category(group, text) << '\t' << text << '\n';
        ++count;
    }
    std::printf("voicecheck: %d clips ready\n", count);
    return 0;
}

std::size_t edit_distance(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diag = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diag + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diag = up;
        }
    }
    return row[b.size()];
}

int score(const fs::path& ref_file, const fs::path& hyp_file) {
    // pocketsphinx_batch writes "words (id score)" per line.
    std::map<std::string, std::string> heard;
    std::ifstream hyp(hyp_file);
    if (!hyp) fail("cannot read " + hyp_file.string());
    std::string line;
    while (std::getline(hyp, line)) {
        const std::size_t open = line.rfind('(');
        if (open == std::string::npos) continue;
        std::istringstream id(line.substr(open + 1));
        std::string name;
        id >> name;
        heard[name] = normalise(line.substr(0, open));
    }
    struct Line {
        std::string id, category, ref, hyp;
        double wer;
    };
    std::vector<Line> lines;
    std::map<std::string, std::pair<std::size_t, std::size_t>> totals;  // errors, reference words
    std::ifstream ref(ref_file);
    if (!ref) fail("cannot read " + ref_file.string());
    int silent = 0;
    while (std::getline(ref, line)) {
        const std::size_t t1 = line.find('\t'), t2 = line.find('\t', t1 + 1);
        if (t2 == std::string::npos) continue;
        Line l{line.substr(0, t1), line.substr(t1 + 1, t2 - t1 - 1), line.substr(t2 + 1), heard[line.substr(0, t1)], 0};
        const auto r = words_of(l.ref), h = words_of(l.hyp);
        const std::size_t e = edit_distance(r, h);
        l.wer = r.empty() ? 0 : double(e) / double(r.size());
        totals[l.category].first += e;
        totals[l.category].second += r.size();
        if (h.empty()) ++silent;
        lines.push_back(l);
    }
    for (const char* c : {"sentences", "words", "short lines"}) {
        const auto& t = totals[c];
        if (t.second) std::printf("%-12s WER %.2f  (%zu errors in %zu words)\n", c, double(t.first) / double(t.second), t.first, t.second);
    }
    std::printf("clips in which nothing was heard: %d of %zu\n", silent, lines.size());
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
        return a.wer != b.wer ? a.wer > b.wer : words_of(a.ref).size() > words_of(b.ref).size();
    });
    std::printf("the ten worst lines:\n");
    for (std::size_t i = 0; i < lines.size() && i < 10; ++i)
        std::printf("  %-14s %.2f  said \"%s\"  heard \"%s\"\n", lines[i].id.c_str(), lines[i].wer, lines[i].ref.c_str(),
                    lines[i].hyp.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> a(argv, argv + argc);
    mpg123_init();
    if (argc == 5 && a[1] == "prep") return prep(a[2], a[3], a[4]);
    if (argc == 4 && a[1] == "score") return score(a[2], a[3]);
    std::fprintf(stderr,
                 "usage: voicecheck prep <manifest> <clips dir> <work dir>\n"
                 "       voicecheck score <clips.ref> <hyp file>\n");
    return 2;
}
