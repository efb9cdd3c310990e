// Bakes the volume's texts for the program and lists the clips the audio bake makes.
//
//   contentbake check <book dir>                     checks the book's rules, nothing written
//   contentbake bake <book dir> <assets dir> [<window units>]
//                                                    checks, then writes texts/ and texts.pack;
//                                                    with the layout's units file of the main
//                                                    window, refuses any box of it the book
//                                                    gives no answer
//   contentbake manifest <book dir> <manifest file>  writes the clip manifest (unchecked: the
//                                                    configure step runs it; the bake checks)
//
// The texts pack: "TBTX", u32 version 1, u32 entry count, then per entry u32 name length, the
// name, u32 value length, the value. Little-endian. Entries:
//   page00..page33      page text (GBK, CR LF between lines)
//   drill1..drill6      lesson word text (GBK, CR LF between lines)
//   fill/<P>/<B>        expected answer of fill-in box B on printed page P
//   tick/<P>/<B>        "1" (must be ticked) or "0" (must stay empty)
//   wordlist/<H>        the clip of word-list hotspot H, by its name in the clip pack
//   edition             the edition label (GBK)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "runtime/bytes.hpp"
#include "tools/book/book.hpp"
#include "tools/book/wordlist.hpp"
#include "tools/content/check.hpp"

namespace fs = std::filesystem;
using namespace tb::book;

namespace {

std::string num(int n, int width) {
    char b[16];
    std::snprintf(b, sizeof b, "%0*d", width, n);
    return b;
}

bool write_file(const fs::path& p, const std::string& bytes) {
    if (p.has_parent_path()) fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// The manifest is made at every configure: an unchanged one keeps its time stamp, so the clip
// bake does not run again for nothing.
bool write_if_changed(const fs::path& p, const std::string& bytes) {
    {
        std::ifstream in(p, std::ios::binary);
        if (in) {
            std::string old{std::istreambuf_iterator<char>(in), {}};
            if (old == bytes) return true;
        }
    }
    return write_file(p, bytes);
}

// The clip a word-list hotspot plays: the heading its own, each word cell its drill word's.
std::vector<std::pair<int, std::string>> wordlist_clips(const Book& book) {
    std::vector<std::pair<int, std::string>> out;
    for (const Cell& c : wordlist_cells(book)) {
        if (c.kind == CellKind::Heading) out.emplace_back(c.number, "wordlist/" + num(c.number, 3));
        if (c.kind == CellKind::Word) out.emplace_back(c.number, "drill" + std::to_string(c.unit) + "/" + num(c.word, 3));
    }
    return out;
}

std::string manifest(const Book& book) {
    std::ostringstream m;
    m << "# Generated from book/ by contentbake: do not edit.\n"
         "# group|name|kind|text\n";
    auto line = [&](const std::string& group, const std::string& name, const char* kind, const std::string& text) {
        m << group << '|' << name << '|' << kind << '|' << text << '\n';
    };
    for (const Page& p : book.pages) {
        const std::string group = "page" + num(p.index, 2);
        int n = 0;
        for (const Item& item : p.items) line(group, num(++n, 3), "stereo", item.english);
        if (p.extra_clip) line(group, num(++n, 3), "stereo", *p.extra_clip);
    }
    for (const Cell& c : wordlist_cells(book))
        if (c.kind == CellKind::Heading) line("wordlist", num(c.number, 3), "stereo", c.english);
    for (std::size_t u = 0; u < book.units.size(); ++u) {
        int n = 0;
        for (const Word& w : book.units[u]) line("drill" + std::to_string(u + 1), num(++n, 3), "stereo", w.english);
    }
    auto extra = [&](const std::string& key) {
        auto e = book.extras.find(key);
        return e == book.extras.end() ? key : e->second.text;
    };
    for (const char* key : {"right1", "right2", "right3", "wrong1", "wrong2", "wrong3", "wrong4"})
        line("feedback", key, "stereo", extra(key));
    for (const char* key : {"practice", "find", "complete"}) line("prompts", key, "mono", extra(key));
    return m.str();
}

std::string texts_pack(const std::vector<std::pair<std::string, std::string>>& entries) {
    tb::Blob o;
    tb::bytes::put_bytes(o, "TBTX");
    tb::bytes::put_u32(o, 1);
    tb::bytes::put_u32(o, static_cast<std::uint32_t>(entries.size()));
    for (const auto& [name, value] : entries) {
        tb::bytes::put_string(o, name);
        tb::bytes::put_string(o, value);
    }
    return std::string(o.begin(), o.end());
}

bool report(const std::vector<Problem>& problems) {
    for (const Problem& p : problems) std::fprintf(stderr, "%s: %s\n", p.where.c_str(), p.what.c_str());
    if (!problems.empty())
        std::fprintf(stderr, "contentbake: the book breaks %zu rule(s); see book/README.md\n", problems.size());
    return problems.empty();
}

// The exercise boxes among the units the layout bake wrote for the main window (its JSON, one
// "name" per unit): 编辑框P_B and 选择框打钩P_B, as the answer entries name them (fill/P/B,
// tick/P/B). Each maps to the entry its box needs.
std::vector<std::pair<std::string, std::string>> boxes_of(const fs::path& units_file, bool& read) {
    std::ifstream in(units_file, std::ios::binary);
    read = static_cast<bool>(in);
    const std::string json{std::istreambuf_iterator<char>(in), {}};
    const std::pair<std::string, std::string> kinds[] = {{"编辑框", "fill/"}, {"选择框打钩", "tick/"}};
    std::vector<std::pair<std::string, std::string>> out;
    const std::string key = "\"name\": \"";
    for (auto at = json.find(key); at != std::string::npos; at = json.find(key, at)) {
        at += key.size();
        const std::string name = json.substr(at, json.find('"', at) - at);
        for (const auto& [prefix, entry] : kinds) {
            if (name.rfind(prefix, 0) != 0) continue;
            std::string rest = name.substr(prefix.size());
            const auto underscore = rest.find('_');
            if (underscore != std::string::npos) rest[underscore] = '/';
            out.emplace_back(name, entry + rest);
        }
    }
    return out;
}

Book read_checked(const fs::path& root, bool& ok) {
    std::vector<Problem> problems;
    Book book = read_book(root, problems);
    if (problems.empty()) tb::content::check_book(root, book, problems);
    ok = report(problems);
    return book;
}

int bake(const fs::path& root, const fs::path& assets, const std::optional<fs::path>& window_units) {
    bool ok = false;
    const Book book = read_checked(root, ok);
    if (!ok) return 1;
    std::vector<std::pair<std::string, std::string>> entries;
    bool written = true;
    for (const Page& p : book.pages) {
        const std::string name = "page" + num(p.index, 2);
        entries.emplace_back(name, page_text_gbk(p));
        written &= write_file(assets / "texts" / (name + ".txt"), entries.back().second);
    }
    for (std::size_t u = 0; u < book.units.size(); ++u) {
        const std::string name = "drill" + std::to_string(u + 1);
        entries.emplace_back(name, lesson_text_gbk(book.units[u]));
        written &= write_file(assets / "texts" / (name + ".txt"), entries.back().second);
    }
    for (const Page& p : book.pages) {
        const std::string printed = std::to_string(p.printed_left_page());
        for (const auto& f : p.fills) entries.emplace_back("fill/" + printed + "/" + std::to_string(f.box), f.answer);
        for (const auto& t : p.ticks)
            entries.emplace_back("tick/" + printed + "/" + std::to_string(t.box), std::to_string(t.expected));
    }
    for (const auto& [hotspot, clip] : wordlist_clips(book)) entries.emplace_back("wordlist/" + std::to_string(hotspot), clip);
    entries.emplace_back("edition", to_gbk(book.extras.at("edition").text));
    // A box the pupil can fill or tick but the program holds no answer for is a fault of the
    // build, found here rather than by a pupil.
    if (window_units) {
        bool read = false;
        const auto boxes = boxes_of(*window_units, read);
        if (!read) {
            std::fprintf(stderr, "contentbake: cannot read %s\n", window_units->string().c_str());
            return 1;
        }
        int unanswered = 0;
        for (const auto& [unit, entry] : boxes) {
            const bool answered = std::any_of(entries.begin(), entries.end(), [&](const auto& e) { return e.first == entry; });
            if (answered) continue;
            std::fprintf(stderr, "%s: %s: the main window has this box, but the book gives it no answer (%s)\n",
                         window_units->string().c_str(), unit.c_str(), entry.c_str());
            ++unanswered;
        }
        if (unanswered) return 1;
    }
    written &= write_file(assets / "texts.pack", texts_pack(entries));
    if (!written) {
        std::fprintf(stderr, "contentbake: cannot write under %s\n", assets.string().c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> a(argv, argv + argc);
    try {
        if (argc == 3 && a[1] == "check") {
            bool ok = false;
            read_checked(a[2], ok);
            return ok ? 0 : 1;
        }
        if ((argc == 4 || argc == 5) && a[1] == "bake")
            return bake(a[2], a[3], argc == 5 ? std::optional<fs::path>(a[4]) : std::nullopt);
        if (argc == 4 && a[1] == "manifest") {
            std::vector<Problem> problems;
            const Book book = read_book(a[2], problems);
            return write_if_changed(a[3], manifest(book)) ? 0 : 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "contentbake: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr,
                 "usage: contentbake check <book dir>\n"
                 "       contentbake bake <book dir> <assets dir> [<window units>]\n"
                 "       contentbake manifest <book dir> <manifest file>\n");
    return 2;
}
