#include "tools/book/artmap.hpp"

#include <fstream>
#include <set>
#include <sstream>

namespace tb::book {

namespace {

const char* const kArtFile = "art.txt";

std::vector<std::string> tokens(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> out;
    for (std::string t; in >> t;) out.push_back(t);
    return out;
}

bool parse_colour(const std::string& hex, std::uint32_t& out) {
    if (hex.size() != 7 || hex[0] != '#') return false;
    std::uint32_t v = 0;
    for (std::size_t i = 1; i < hex.size(); ++i) {
        char c = hex[i];
        int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (d < 0) return false;
        v = v * 16 + static_cast<std::uint32_t>(d);
    }
    out = v;
    return true;
}

// name[#rrggbb][@scale][~]
bool parse_piece(std::string t, ArtPiece& p, std::string& error) {
    if (!t.empty() && t.back() == '~') {
        p.mirror = true;
        t.pop_back();
    }
    if (auto at = t.find('@'); at != std::string::npos) {
        try {
            std::size_t used = 0;
            p.scale = std::stod(t.substr(at + 1), &used);
            if (used != t.size() - at - 1 || p.scale < 0.2 || p.scale > 1) throw std::invalid_argument("");
        } catch (const std::exception&) {
            error = "a size is @0.2 to @1: \"" + t + "\"";
            return false;
        }
        t.resize(at);
    }
    if (auto hash = t.find('#'); hash != std::string::npos) {
        if (!parse_colour(t.substr(hash), p.tint)) {
            error = "a colour is #rrggbb in lower case: \"" + t + "\"";
            return false;
        }
        p.tinted = true;
        t.resize(hash);
    }
    for (char c : t)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) {
            error = "an icon name is lower case letters, digits and dashes: \"" + t + "\"";
            return false;
        }
    if (t.empty()) {
        error = "an icon name is missing";
        return false;
    }
    p.icon = t;
    return true;
}

// Pieces joined by " + ".
bool parse_row(const std::vector<std::string>& t, std::size_t from, Artwork& out, std::string& error) {
    for (std::size_t i = from; i < t.size(); i += 2) {
        ArtPiece p;
        if (!parse_piece(t[i], p, error)) return false;
        out.pieces.push_back(p);
        if (i + 1 < t.size() && t[i + 1] != "+") {
            error = "things side by side are joined by \" + \"";
            return false;
        }
        if (i + 1 == t.size() - 1) {
            error = "a \"+\" needs a thing after it";
            return false;
        }
    }
    if (out.pieces.empty()) {
        error = "no thing to draw";
        return false;
    }
    return true;
}

std::string join(const std::vector<std::string>& t) {
    std::string s;
    for (const auto& w : t) s += (s.empty() ? "" : " ") + w;
    return s;
}

}  // namespace

std::string art_key(const std::string& printed) {
    for (const char* article : {"a ", "an "}) {
        std::string a = article;
        if (printed.size() > a.size() && printed.compare(0, a.size(), a) == 0) return printed.substr(a.size());
    }
    return printed;
}

bool parse_artwork(const std::string& text, Artwork& out, std::string& error) {
    static const std::set<std::string> relations = {"on", "under", "in", "behind", "next-to"};
    out = Artwork{};
    auto t = tokens(text);
    out.written = join(t);
    if (t.empty()) {
        error = "no artwork";
        return false;
    }
    if (t[0] == "paint") {
        out.form = Artwork::Form::Paint;
        if (t.size() != 2 || !parse_colour(t[1], out.colour)) {
            error = "a colour is written paint #rrggbb";
            return false;
        }
        return true;
    }
    if (t[0] == "room") {
        out.form = Artwork::Form::Room;
        return parse_row(t, 1, out, error);
    }
    if (t.size() == 3 && t[1] == "*") {
        out.form = Artwork::Form::Count;
        try {
            std::size_t used = 0;
            out.count = std::stoi(t[0], &used);
            if (used != t[0].size() || out.count < 1 || out.count > 20) throw std::invalid_argument("");
        } catch (const std::exception&) {
            error = "a count is 1 to 20: \"" + t[0] + "\"";
            return false;
        }
        out.pieces.resize(1);
        return parse_piece(t[2], out.pieces[0], error);
    }
    if (t.size() == 3 && relations.count(t[1])) {
        out.form = Artwork::Form::Place;
        out.relation = t[1];
        out.pieces.resize(2);
        return parse_piece(t[0], out.pieces[0], error) && parse_piece(t[2], out.pieces[1], error);
    }
    return parse_row(t, 0, out, error);
}

void read_art_map(const std::filesystem::path& file, Book& book, std::vector<Problem>& problems) {
    for (const auto& [n, line] : content_lines(file, problems)) {
        std::string where = std::string(kArtFile) + ":" + std::to_string(n);
        auto f = split_fields(line);
        if (f.size() != 2 || f[0].empty()) {
            problems.push_back({where, "an entry is word | artwork"});
            continue;
        }
        std::string key = art_key(f[0]);
        if (book.art.count(key)) {
            problems.push_back({where, "\"" + key + "\" is mapped twice"});
            continue;
        }
        Artwork a;
        std::string error;
        if (!parse_artwork(f[1], a, error)) {
            problems.push_back({where, "\"" + key + "\": " + error});
            continue;
        }
        a.source_line = n;
        book.art.emplace(key, std::move(a));
    }
}

std::vector<Problem> check_art(const Book& book, const std::function<bool(const std::string&)>& has_icon) {
    std::vector<Problem> out;
    auto where = [](const Artwork& a) { return std::string(kArtFile) + ":" + std::to_string(a.source_line); };
    std::set<std::string> used;
    for (const Page& page : book.pages)
        for (const Item& item : page.items) {
            if (item.kind != ItemKind::Word && item.kind != ItemKind::Marker) continue;
            const std::string& word = item.kind == ItemKind::Word ? item.english : item.chinese;
            std::string key = art_key(word);
            if (!book.art.count(key))
                out.push_back({std::filesystem::path(page.file).filename().string() + ":" + std::to_string(item.source_line), "\"" + word + "\" has no artwork in art.txt"});
            used.insert(key);
        }
    std::map<std::string, std::string> by_artwork;
    for (const auto& [word, a] : book.art) {
        for (const ArtPiece& p : a.pieces)
            if (!has_icon(p.icon)) out.push_back({where(a), "\"" + word + "\": the art library has no icon \"" + p.icon + "\""});
        auto [it, fresh] = by_artwork.emplace(a.written, word);
        if (!fresh) out.push_back({where(a), "\"" + word + "\" and \"" + it->second + "\" share one artwork: " + a.written});
        if (!used.count(word)) out.push_back({where(a), "\"" + word + "\" is drawn nowhere in the pages"});
    }
    return out;
}

}  // namespace tb::book
