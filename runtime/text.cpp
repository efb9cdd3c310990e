#include "runtime/text.hpp"

#include <iconv.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>

namespace tb {
namespace {

bool is_lead(unsigned char c) { return c >= 0x81 && c != 0xFF; }

// Offsets in text where characters start, plus text.size() at the end.
std::vector<std::size_t> character_starts(std::string_view text) {
    std::vector<std::size_t> starts;
    starts.reserve(text.size() + 1);
    for (std::size_t i = 0; i < text.size();) {
        starts.push_back(i);
        i += (is_lead(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
    }
    starts.push_back(text.size());
    return starts;
}

char fold(char c, bool ignore_case) {
    return (ignore_case && c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool matches_at(std::string_view text, std::size_t at, std::string_view part, bool ignore_case) {
    if (at + part.size() > text.size()) return false;
    for (std::size_t j = 0; j < part.size(); ++j)
        if (fold(text[at + j], ignore_case) != fold(part[j], ignore_case)) return false;
    return true;
}

// One iconv conversion; unconvertible input becomes `replacement`.
std::string convert(const char* to, const char* from, std::string_view in, std::string_view replacement,
                    std::size_t invalid_step) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    std::string out;
    out.resize(in.size() * 2 + 16);
    char* inp = const_cast<char*>(in.data());
    std::size_t inleft = in.size();
    char* outp = out.data();
    std::size_t outleft = out.size();
    while (inleft > 0) {
        std::size_t r = iconv(cd, &inp, &inleft, &outp, &outleft);
        if (r != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {
            std::size_t used = out.size() - outleft;
            out.resize(out.size() * 2);
            outp = out.data() + used;
            outleft = out.size() - used;
            continue;
        }
        // EILSEQ (not representable or not valid) or EINVAL (cut short): replace and skip.
        std::size_t skip = 1;
        if (errno == EILSEQ && invalid_step == 0) {
            // UTF-8 input: skip the whole character.
            unsigned char c = static_cast<unsigned char>(*inp);
            skip = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        } else if (errno == EILSEQ) {
            skip = invalid_step;
        }
        skip = std::min(skip, inleft);
        inp += skip;
        inleft -= skip;
        while (outleft < replacement.size() + 1) {
            std::size_t used = out.size() - outleft;
            out.resize(out.size() * 2);
            outp = out.data() + used;
            outleft = out.size() - used;
        }
        for (char c : replacement) { *outp++ = c; --outleft; }
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    iconv_close(cd);
    out.resize(out.size() - outleft);
    return out;
}

}  // namespace

Text gbk(std::string_view utf8_text) {
    bool ascii = true;
    for (char c : utf8_text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) return Text(utf8_text);
    return convert("GBK", "UTF-8", utf8_text, "?", 0);
}

std::string utf8(std::string_view gbk_text) {
    bool ascii = true;
    for (char c : gbk_text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) return std::string(gbk_text);
    return convert("UTF-8", "GBK", gbk_text, "\xEF\xBF\xBD", 1);
}

int length(std::string_view text) { return static_cast<int>(text.size()); }

std::vector<Text> split(std::string_view text, std::string_view separator) {
    std::vector<Text> pieces;
    if (text.empty()) return pieces;
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    std::size_t piece_start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (matches_at(text, i, separator, false)) {
            pieces.emplace_back(text.substr(piece_start, i - piece_start));
            i += separator.size();
            piece_start = i;
            continue;
        }
        i += (is_lead(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
    }
    if (piece_start < text.size()) pieces.emplace_back(text.substr(piece_start));
    return pieces;
}

int find(std::string_view text, std::string_view part, int start, bool ignore_case) {
    if (part.empty()) return text.empty() ? -1 : 1;
    if (start < 1) start = 1;
    for (std::size_t at : character_starts(text)) {
        if (at + 1 < static_cast<std::size_t>(start)) continue;
        if (at >= text.size()) break;
        if (matches_at(text, at, part, ignore_case)) return static_cast<int>(at) + 1;
    }
    return -1;
}

int compare(std::string_view a, std::string_view b, bool case_sensitive) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(fold(a[i], !case_sensitive));
        unsigned char y = static_cast<unsigned char>(fold(b[i], !case_sensitive));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

Text trim(std::string_view text) {
    auto starts = character_starts(text);
    // Characters: [starts[k], starts[k+1]).
    std::size_t first = 0;
    std::size_t last = starts.size() - 1;  // one past the last character index
    auto is_space = [&](std::size_t k) {
        std::string_view c = text.substr(starts[k], starts[k + 1] - starts[k]);
        return c == " " || c == "\xA1\xA1";
    };
    while (first < last && is_space(first)) ++first;
    while (last > first && is_space(last - 1)) --last;
    return Text(text.substr(starts[first], starts[last] - starts[first]));
}

Text number_text(long long value) { return std::to_string(value); }

long long text_number(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long v = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (v < 1000000000000LL) v = v * 10 + (text[i] - '0');
        ++i;
    }
    return negative ? -v : v;
}

bool starts_character(std::string_view text, std::size_t i) {
    for (std::size_t at = 0; at < text.size();) {
        if (at == i) return true;
        if (at > i) return false;
        at += (is_lead(static_cast<unsigned char>(text[at])) && at + 1 < text.size()) ? 2 : 1;
    }
    return i == text.size();
}

}  // namespace tb
