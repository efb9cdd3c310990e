#include "tools/book/book.hpp"

#include "tools/book/artmap.hpp"

#include "content/volume.hpp"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tb::book {
namespace fs = std::filesystem;

std::string trim_copy(const std::string& s) {
    std::size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    std::size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

std::vector<std::string> split_trimmed(const std::string& s, std::string_view separator) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        std::size_t at = s.find(separator, start);
        if (at == std::string::npos) {
            out.push_back(trim_copy(s.substr(start)));
            break;
        }
        out.push_back(trim_copy(s.substr(start, at - start)));
        start = at + separator.size();
    }
    return out;
}

std::vector<std::string> split_fields(const std::string& line) { return split_trimmed(line, " | "); }

std::vector<std::pair<int, std::string>> content_lines(const fs::path& file, std::vector<Problem>& problems) {
    std::vector<std::pair<int, std::string>> lines;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        problems.push_back({file.string(), "cannot be read"});
        return lines;
    }
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        ++n;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string t = trim_copy(line);
        if (t.empty() || t[0] == '#') continue;
        lines.emplace_back(n, line);
    }
    return lines;
}

std::string where(const fs::path& file, int line) { return file.filename().string() + ":" + std::to_string(line); }

namespace {

int to_int(const std::string& s, int fallback) {
    try {
        std::size_t used = 0;
        int v = std::stoi(s, &used);
        return used == s.size() ? v : fallback;
    } catch (...) {
        return fallback;
    }
}

// A page names a heading by its English only; its Chinese comes from book/headings.txt, so a
// heading reads the same on every page that prints it.
using HeadingTable = std::map<std::string, std::string>;

Page read_page(const fs::path& file, int index, const HeadingTable& headings, std::vector<Problem>& problems) {
    Page page;
    page.index = index;
    page.file = file.string();
    static const std::map<std::string, ItemKind> kinds = {{"title", ItemKind::Title},
                                                          {"line", ItemKind::Line},
                                                          {"word", ItemKind::Word},
                                                          {"marker", ItemKind::Marker}};
    for (const auto& [n, line] : content_lines(file, problems)) {
        auto f = split_fields(line);
        const std::string& key = f[0];
        if (key == "heading") {
            if (f.size() != 2) {
                problems.push_back({where(file, n), "a heading is heading | English; its Chinese comes from headings.txt"});
                continue;
            }
            auto h = headings.find(f[1]);
            if (h == headings.end())
                problems.push_back({where(file, n), "the heading \"" + f[1] + "\" is not in headings.txt"});
            page.items.push_back({ItemKind::Heading, f[1], h == headings.end() ? std::string() : h->second, n});
        } else if (auto k = kinds.find(key); k != kinds.end()) {
            if (f.size() != 3) {
                problems.push_back({where(file, n), "an item needs kind | English | Chinese"});
                continue;
            }
            page.items.push_back({k->second, f[1], f[2], n});
        } else if (key == "fill") {
            if (f.size() != 5) {
                problems.push_back({where(file, n), "fill needs fill | box | sentence | answer | Chinese"});
                continue;
            }
            page.fills.push_back({to_int(f[1], 0), f[2], f[3], f[4], n});
        } else if (key == "tick") {
            if (f.size() != 5) {
                problems.push_back({where(file, n), "tick needs tick | box | statement | 1 or 0 | Chinese"});
                continue;
            }
            page.ticks.push_back({to_int(f[1], 0), f[2], to_int(f[3], -1), f[4], n});
        } else if (key == "scene" || key == "panel") {
            page.scenes.push_back(parse_scene(f, key == "panel", where(file, n), problems));
            page.scenes.back().source_line = n;
        } else if (key == "extra") {
            if (f.size() != 2) {
                problems.push_back({where(file, n), "extra needs extra | clip text"});
                continue;
            }
            page.extra_clip = f[1];
        } else {
            problems.push_back({where(file, n), "unknown kind \"" + key + "\""});
        }
    }
    return page;
}

}  // namespace

Book read_book(const fs::path& root, std::vector<Problem>& problems) {
    Book book;
    const fs::path headings_file = root / "headings.txt";
    HeadingTable headings;
    for (const auto& [n, line] : content_lines(headings_file, problems)) {
        auto f = split_fields(line);
        if (f.size() != 2) {
            problems.push_back({where(headings_file, n), "a heading needs English | Chinese"});
            continue;
        }
        book.headings.push_back({f[0], f[1], n});
        headings.emplace(f[0], f[1]);
    }
    for (int k = 0; k < volume::kContentPages; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "%02d.txt", k);
        book.pages.push_back(read_page(root / "pages" / name, k, headings, problems));
    }
    for (int u = 1; u <= volume::kLessons; ++u) {
        fs::path file = root / "words" / ("unit" + std::to_string(u) + ".txt");
        std::vector<Word> words;
        for (const auto& [n, line] : content_lines(file, problems)) {
            auto f = split_fields(line);
            if (f.size() != 2) {
                problems.push_back({where(file, n), "a word needs English | Chinese"});
                continue;
            }
            words.push_back({f[0], f[1], n});
        }
        book.units.push_back(std::move(words));
    }
    book.characters = read_characters(root / "characters.txt", problems);
    book.things = read_things(root / "things.txt", problems);
    fs::path extras = root / "extras.txt";
    for (const auto& [n, line] : content_lines(extras, problems)) {
        auto f = split_fields(line);
        if (f.size() < 2 || f.size() > 3) {
            problems.push_back({where(extras, n), "an entry needs key | text [| Chinese]"});
            continue;
        }
        book.extras[f[0]] = {f[1], f.size() == 3 ? f[2] : std::string()};
    }
    read_art_map(root / "art.txt", book, problems);
    return book;
}

std::string to_gbk(const std::string& utf8) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv has no GBK");
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inleft = utf8.size();
    char* o = out.data();
    std::size_t oleft = out.size();
    std::size_t r = iconv(cd, &in, &inleft, &o, &oleft);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1)) throw std::runtime_error("not representable in GBK: " + utf8);
    out.resize(out.size() - oleft);
    return out;
}

std::string page_text_gbk(const Page& page) {
    std::string t;
    for (const Item& item : page.items) {
        if (!t.empty()) t += "\r\n";
        t += to_gbk(item.english_line()) + "\r\n" + to_gbk(item.chinese_line());
    }
    return t;
}

std::string lesson_text_gbk(const std::vector<Word>& words) {
    std::string t;
    for (const Word& w : words) {
        if (!t.empty()) t += "\r\n";
        t += to_gbk(w.english) + "\r\n" + to_gbk(w.chinese);
    }
    return t;
}

}  // namespace tb::book
