// The template compiler: turns the window sources (windows/*.json, UTF-8, one or more files per
// window) into the template set the program carries, and writes the header of unit ids the
// program's logic names units by.
//
//   tapbook_template_compiler [--out templates.bin] [--header unit_ids.hpp] [--assets DIR]
//                             [--extras book/extras.txt] [--allow-missing-units]
//                             [--page-units WINDOW=FILE] SOURCE.json...
//
// A source file names its window by "window" (the namespace in the header). The file that also
// gives the window's "id" defines the window; further files of the same window only add
// "units" (a generated file of extra units, say), in command-line order. Windows are written in
// ascending id order. Handler names are resolved against ui/store/handlers.def, the same list the
// program binds by, so offsets can never drift.
//
// A text may be given as {"extras": "key"} (optionally "column": n, from 1): the text of that
// entry of the book's extras list ("key | text | text..."), so a wording the book owns is kept
// in one place. A PageControl may list its pages' units by name ("page_units": one array of
// names per page); those units may come from a later file (a generated one), and take the page
// book as parent and that page ("page_units_at": [left, top] gives them their stored place).
// --page-units adds the units of such a file to a window, after all sources, whatever window the
// file names; --allow-missing-units lets a build without it go on with those pages empty.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "runtime/text.hpp"
#include "tools/book/book.hpp"
#include "ui/store/template_store.hpp"
#include "ui/store/template_writer.hpp"
#include "ui/store/type_blocks.hpp"

namespace {

using namespace tb;
using namespace tb::ui;

const char* const kHandlers[] = {
#define TB_HANDLER(name) #name,
#include "ui/store/handlers.def"
#undef TB_HANDLER
};

struct CompileError {
    std::string message;
};

[[noreturn]] void error(const std::string& where, const std::string& what) { throw CompileError{where + ": " + what}; }

struct Options {
    std::string out, header, assets = "build/assets", extras;
    bool allow_missing_units = false;
    std::vector<std::string> sources;
    std::vector<std::pair<std::string, std::string>> page_units;  // window key, file
};

// ---- The book's extras list ----------------------------------------------------------------

// key -> its texts after the key.
std::map<std::string, std::vector<std::string>> g_extras;
bool g_extras_loaded = false;

// Read as the bake's other tools read book files: "key | text [| text...]".
void load_extras(const std::string& path) {
    std::vector<book::Problem> problems;
    for (const auto& [n, line] : book::content_lines(path, problems)) {
        std::vector<std::string> parts = book::split_fields(line);
        if (parts.size() < 2 || parts[0].empty()) error(path + ":" + std::to_string(n), "expected \"key | text\"");
        g_extras[parts[0]] = std::vector<std::string>(parts.begin() + 1, parts.end());
    }
    if (!problems.empty()) error(path, problems.front().what);
    g_extras_loaded = true;
}

// ---- JSON helpers ------------------------------------------------------------------------

std::string str(const QString& s) { return s.toStdString(); }

// Converts a UTF-8 text of a source to GBK, refusing characters GBK cannot hold.
Text to_gbk(const std::string& where, const QString& s) {
    std::string u = str(s);
    Text g = gbk(u);
    if (utf8(g) != u) error(where, "text \"" + u + "\" holds a character GBK cannot store");
    return g;
}

std::uint32_t to_u32(const std::string& where, const QJsonValue& v) {
    if (v.isDouble()) {
        double d = v.toDouble();
        if (d < -2147483648.0 || d > 4294967295.0 || d != static_cast<double>(static_cast<long long>(d)))
            error(where, "number out of range");
        return static_cast<std::uint32_t>(static_cast<long long>(d));
    }
    if (v.isString()) {
        std::string s = str(v.toString());
        if (s == "default") return kDefaultColour;
        char* end = nullptr;
        if (!s.empty() && s[0] == '-') {
            long long n = std::strtoll(s.c_str(), &end, 0);
            if (*end != 0 || n < -2147483648LL) error(where, "\"" + s + "\" is not a number");
            return static_cast<std::uint32_t>(static_cast<std::int32_t>(n));
        }
        unsigned long long n = std::strtoull(s.c_str(), &end, 0);
        if (s.empty() || *end != 0 || n > 0xFFFFFFFFull) error(where, "\"" + s + "\" is not a number");
        return static_cast<std::uint32_t>(n);
    }
    error(where, "expected a number");
}

std::int32_t to_i32(const std::string& where, const QJsonValue& v) {
    return static_cast<std::int32_t>(to_u32(where, v));
}

// A text of a source: a string, or {"extras": key, "column": n} naming a text of the book's
// extras list (column 1 when not given). Without an extras list the object's "default" stands.
Text text_value(const std::string& where, const QJsonValue& j) {
    if (j.isString()) return to_gbk(where, j.toString());
    if (!j.isObject() || !j.toObject().contains("extras")) error(where, "expected a text");
    QJsonObject o = j.toObject();
    for (auto it = o.begin(); it != o.end(); ++it)
        if (it.key() != "extras" && it.key() != "column" && it.key() != "default")
            error(where, "unknown field \"" + str(it.key()) + "\" of an extras text");
    std::string key = str(o.value("extras").toString());
    if (!g_extras_loaded) {
        if (!o.contains("default")) error(where, "names extras entry \"" + key + "\" but no --extras list is given");
        return to_gbk(where, o.value("default").toString());
    }
    auto it = g_extras.find(key);
    if (it == g_extras.end()) error(where, "the extras list has no entry \"" + key + "\"");
    double column = o.contains("column") ? o.value("column").toDouble() : 1;
    if (column < 1 || column > static_cast<double>(it->second.size()) || column != static_cast<int>(column))
        error(where, "extras entry \"" + key + "\" has no column " + std::to_string(column));
    return to_gbk(where, QString::fromStdString(it->second[static_cast<std::size_t>(column) - 1]));
}

// An object whose keys must all be used: a misspelt key is an error, not a silent default.
class Fields {
public:
    Fields(std::string where, QJsonObject obj) : where_(std::move(where)), obj_(std::move(obj)) {}
    bool has(const char* key) const { return obj_.contains(key); }
    QJsonValue get(const char* key) {
        used_.insert(key);
        return obj_.value(key);
    }
    std::string at(const char* key) const { return where_ + ", \"" + key + "\""; }
    const std::string& where() const { return where_; }
    void u32(const char* key, std::uint32_t& v) {
        if (has(key)) v = to_u32(at(key), get(key));
    }
    void flag(const char* key, std::uint32_t& v) {
        if (has(key)) {
            auto j = get(key);
            v = j.isBool() ? (j.toBool() ? 1 : 0) : to_u32(at(key), j);
        }
    }
    void text(const char* key, Text& v) {
        if (has(key)) v = text_value(at(key), get(key));
    }
    void finish() const {
        for (auto it = obj_.begin(); it != obj_.end(); ++it)
            if (!used_.count(str(it.key()))) error(where_, "unknown field \"" + str(it.key()) + "\"");
    }

private:
    std::string where_;
    QJsonObject obj_;
    std::set<std::string> used_;
};

// ---- Assets --------------------------------------------------------------------------------

class Assets {
public:
    Assets(const Options& o, bool read) : o_(o), read_(read) {}
    Blob load(const std::string& where, const QJsonValue& v) {
        if (!v.isString()) error(where, "expected an asset path");
        std::string rel = str(v.toString());
        if (rel.empty()) return {};
        if (rel.find("..") != std::string::npos || rel[0] == '/') error(where, "asset path \"" + rel + "\" leaves the assets folder");
        if (!read_) return {};
        std::string path = o_.assets + "/" + rel;
        std::ifstream in(path, std::ios::binary);
        if (!in) error(where, "asset \"" + path + "\" does not exist");
        return Blob(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    const Options& o_;
    bool read_;
};

FontBlob read_font(Fields& f, const char* key) {
    if (!f.has(key)) return std::nullopt;
    QJsonValue v = f.get(key);
    if (v.isNull()) return std::nullopt;
    if (!v.isObject()) error(f.at(key), "expected a font object");
    Fields ff(f.at(key), v.toObject());
    Font font;
    ff.text("face", font.face);
    if (font.face.size() >= 32) error(ff.where(), "face name longer than 31 bytes");
    std::uint32_t size = static_cast<std::uint32_t>(font.size_pt), angle = 0, bold = 0, italic = 0, underline = 0, strike = 0;
    ff.u32("size", size);
    ff.u32("angle", angle);
    ff.flag("bold", bold);
    ff.flag("italic", italic);
    ff.flag("underline", underline);
    ff.flag("strike_out", strike);
    ff.finish();
    font.size_pt = static_cast<int>(size);
    font.angle = static_cast<int>(angle);
    font.bold = bold;
    font.italic = italic;
    font.underline = underline;
    font.strike_out = strike;
    return font;
}

template <std::size_t N>
void read_words(Fields& f, const char* key, std::array<std::uint32_t, N>& words) {
    if (!f.has(key)) return;
    QJsonArray a = f.get(key).toArray();
    if (a.size() > static_cast<qsizetype>(N)) error(f.at(key), "more than " + std::to_string(N) + " words");
    for (qsizetype i = 0; i < a.size(); ++i) words[static_cast<std::size_t>(i)] = to_u32(f.at(key), a[i]);
}

std::vector<Text> read_texts(Fields& f, const char* key) {
    std::vector<Text> out;
    if (!f.has(key)) return out;
    for (const auto& v : f.get(key).toArray()) out.push_back(text_value(f.at(key), v));
    return out;
}

// ---- Type blocks ---------------------------------------------------------------------------

struct TypeInfo {
    const char* name;
    UnitType type;
};
const TypeInfo kTypes[] = {
    {"Window", UnitType::Window},     {"EditBox", UnitType::EditBox},       {"PicBox", UnitType::PicBox},
    {"DrawPanel", UnitType::DrawPanel}, {"GroupBox", UnitType::GroupBox}, {"Label", UnitType::Label},
    {"Button", UnitType::Button},     {"CheckBox", UnitType::CheckBox},     {"ComboBox", UnitType::ComboBox},
    {"TransLabel", UnitType::TransLabel}, {"SuperBtn", UnitType::SuperBtn}, {"RichEdit", UnitType::RichEdit},
    {"PageControl", UnitType::PageControl},
};

UnitType type_by_name(const std::string& where, const std::string& name) {
    for (const auto& t : kTypes)
        if (name == t.name) return t.type;
    error(where, "unknown unit type \"" + name + "\"");
}

// Reads a block's fields from a unit's "block" object by their keys; fields without a key keep
// their defaults.
class JsonFields {
public:
    JsonFields(Fields& f, Assets& assets, std::size_t& page_count) : f_(f), assets_(assets), page_count_(page_count) {}
    void word(std::uint32_t& v, Field k) {
        if (*k.key) f_.u32(k.key, v);
    }
    void flag(std::uint32_t& v, Field k) {
        if (*k.key) f_.flag(k.key, v);
    }
    void pick(std::uint32_t& v, std::uint32_t, Field k) { word(v, k); }
    void text(Text& v, Field k) {
        if (*k.key) f_.text(k.key, v);
    }
    void blob(Blob& v, Field k) {
        if (*k.key && f_.has(k.key)) v = assets_.load(f_.at(k.key), f_.get(k.key));
    }
    void font(FontBlob& v, Field k) { v = read_font(f_, k.key); }
    void inline_font(Font& v, Field k) {
        if (auto font = read_font(f_, k.key)) v = *font;
    }
    template <std::size_t N> void words(std::array<std::uint32_t, N>& v, Field k) {
        if (*k.key) read_words(f_, k.key, v);
    }
    template <std::size_t N> void version_words(std::array<std::uint32_t, N>& v, Field k, std::size_t (*)(std::uint32_t)) {
        words(v, k);
    }
    void word_list(std::vector<std::uint32_t>& v, Field k) {
        if (f_.has(k.key))
            for (const auto& j : f_.get(k.key).toArray()) v.push_back(to_u32(f_.at(k.key), j));
    }
    void text_list(std::vector<Text>& v, Field k) {
        v = read_texts(f_, k.key);
        if (v.size() > 0xFFFF) error(f_.at(k.key), "too many items");
    }
    void page_table(PageControlBlock& b, Field k) {
        b.page_titles = read_texts(f_, k.key);
        page_count_ = b.page_titles.size();
    }
    template <std::size_t N> void bytes(std::array<std::uint8_t, N>&, Field) {}

private:
    Fields& f_;
    Assets& assets_;
    std::size_t& page_count_;
};

template <typename Block>
Blob compile_block(Fields& f, Assets& assets, std::size_t& page_count) {
    Block b;
    JsonFields j(f, assets, page_count);
    Block::visit(b, j);
    if constexpr (std::is_same_v<Block, ComboBoxBlock>) {
        // Shorthands for the two option words the sources set.
        f.u32("style", b.options[0]);
        f.u32("background", b.options[1]);
    }
    return encode(b);
}

// Encodes a unit's "block"; page_count receives a PageControl's number of pages.
Blob encode_block(UnitType type, Fields& f, Assets& assets, std::size_t& page_count) {
    return with_block<Blob>(type, [&]<typename Block>(std::type_identity<Block>) { return compile_block<Block>(f, assets, page_count); });
}

// ---- Units and windows ---------------------------------------------------------------------

struct Unit {
    UnitSpec spec;
    std::string name_utf8;
    std::string parent_name;  // UTF-8, empty: the window
    int page = -1;
    std::size_t page_count = 0;
    std::vector<std::vector<std::string>> page_units;  // PageControl: each page's units by name
    std::optional<std::pair<std::int32_t, std::int32_t>> page_units_at;  // their stored left, top
    std::string where;
};

struct Window {
    std::string key;  // header namespace
    bool defined = false;
    WindowSpec spec;
    UnitSpec own;
    std::vector<Unit> units;
};

std::uint32_t handler_offset(const std::string& where, const std::string& name) {
    for (std::size_t i = 0; i < std::size(kHandlers); ++i)
        if (name == kHandlers[i]) return static_cast<std::uint32_t>(i);
    error(where, "unknown handler \"" + name + "\" (not in ui/store/handlers.def)");
}

std::vector<Binding> read_events(Fields& f) {
    std::vector<Binding> out;
    if (!f.has("events")) return out;
    QJsonObject ev = f.get("events").toObject();
    for (auto it = ev.begin(); it != ev.end(); ++it) {
        std::string where = f.at("events") + ", event " + str(it.key());
        Binding b;
        b.event = to_i32(where, QJsonValue(it.key()));
        b.handler = it.value().isNull() ? kNoHandler : handler_offset(where, str(it.value().toString()));
        out.push_back(b);
    }
    return out;
}

void read_common(Fields& f, UnitSpec& u) {
    if (f.has("place")) {
        QJsonArray p = f.get("place").toArray();
        if (p.size() != 4) error(f.at("place"), "expected [left, top, width, height]");
        u.left = to_i32(f.at("place"), p[0]);
        u.top = to_i32(f.at("place"), p[1]);
        u.width = to_i32(f.at("place"), p[2]);
        u.height = to_i32(f.at("place"), p[3]);
    }
    if (f.has("cursor")) {
        QJsonValue c = f.get("cursor");
        if (c.toString() == "hand") u.cursor = kCursorHand;
        else if (c.toString() == "arrow") u.cursor = kCursorArrow;
        else u.cursor = to_u32(f.at("cursor"), c);
    }
    f.text("tag", u.tag);
    f.text("comment", u.comment);
    std::uint32_t visible = 1, disabled = 0, tab_stop = 0;
    f.flag("visible", visible);
    f.flag("disabled", disabled);
    f.flag("tab_stop", tab_stop);
    u.flags = (visible ? kFlagVisible : 0) | (disabled ? kFlagDisabled : 0) | (tab_stop ? kFlagTabStop : 0);
    f.u32("tab_order", u.tab_order);
    u.bindings = read_events(f);
}

Unit read_unit(const std::string& file, const QJsonObject& obj, std::size_t index, Assets& assets) {
    Unit u;
    u.where = file + ", unit " + std::to_string(index);
    if (obj.contains("name")) u.where = file + ", unit \"" + str(obj.value("name").toString()) + "\"";
    Fields f(u.where, obj);
    f.text("name", u.spec.name);
    u.name_utf8 = utf8(u.spec.name);
    if (f.has("id")) u.spec.id = to_u32(f.at("id"), f.get("id"));
    std::string type_name = str(f.get("type").toString());
    UnitType type = type_by_name(u.where, type_name);
    if (type == UnitType::Window) error(u.where, "a window's own record is the window file itself");
    u.spec.type_code = static_cast<std::uint32_t>(type);
    u.spec.tab_order = static_cast<std::uint32_t>(index + 1);
    read_common(f, u.spec);
    if (f.has("parent")) u.parent_name = str(f.get("parent").toString());
    if (f.has("page")) u.page = static_cast<int>(to_i32(f.at("page"), f.get("page")));
    if (f.has("page_units")) {
        if (type != UnitType::PageControl) error(f.at("page_units"), "only a PageControl has pages");
        for (const auto& page : f.get("page_units").toArray()) {
            if (!page.isArray()) error(f.at("page_units"), "expected one array of unit names per page");
            std::vector<std::string> names;
            for (const auto& n : page.toArray()) {
                if (!n.isString() || n.toString().isEmpty()) error(f.at("page_units"), "expected unit names");
                names.push_back(str(n.toString()));
            }
            u.page_units.push_back(std::move(names));
        }
    }
    if (f.has("page_units_at")) {
        QJsonArray at = f.get("page_units_at").toArray();
        if (!f.has("page_units") || at.size() != 2) error(f.at("page_units_at"), "expected [left, top] for the units of \"page_units\"");
        u.page_units_at = std::make_pair(to_i32(f.at("page_units_at"), at[0]), to_i32(f.at("page_units_at"), at[1]));
    }
    if (f.has("block")) {
        Fields bf(f.at("block"), f.get("block").toObject());
        u.spec.type_block = encode_block(type, bf, assets, u.page_count);
        bf.finish();
    }
    if (u.page_units.size() > u.page_count)
        error(f.at("page_units"), "lists more pages than the block's \"pages\" has titles");
    f.finish();
    return u;
}

QJsonObject read_json(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) error(path, "cannot be read");
    QByteArray data = file.readAll();
    QJsonParseError pe;
    QJsonDocument doc = QJsonDocument::fromJson(data, &pe);
    if (pe.error != QJsonParseError::NoError) {
        int line = 1 + static_cast<int>(std::count(data.begin(), data.begin() + pe.offset, '\n'));
        error(path + ":" + std::to_string(line), str(pe.errorString()));
    }
    if (!doc.isObject()) error(path, "expected a JSON object");
    return doc.object();
}

void read_source(const std::string& path, std::map<std::string, Window>& windows, Assets& assets) {
    QJsonObject obj = read_json(path);
    Fields f(path, obj);
    std::string key = str(f.get("window").toString());
    if (key.empty()) error(path, "\"window\" names no window");
    Window& w = windows[key];
    w.key = key;
    if (f.has("id")) {
        if (w.defined) error(path, "window \"" + key + "\" is defined twice");
        w.defined = true;
        w.spec.id = to_u32(f.at("id"), f.get("id"));
        f.u32("window_word", w.spec.window_word);
        f.u32("class_id", w.spec.class_id);
        f.text("text1", w.spec.text1);
        f.text("text2", w.spec.text2);
        w.own.type_code = static_cast<std::uint32_t>(UnitType::Window);
        w.own.id = 0x06000000u | (w.spec.id & 0x00FFFFFFu);
        f.u32("unit_id", w.own.id);
        read_common(f, w.own);
        if (f.has("block")) {
            Fields bf(f.at("block"), f.get("block").toObject());
            std::size_t unused = 0;
            w.own.type_block = encode_block(UnitType::Window, bf, assets, unused);
            bf.finish();
        }
    }
    if (f.has("units")) {
        QJsonArray units = f.get("units").toArray();
        for (qsizetype i = 0; i < units.size(); ++i)
            w.units.push_back(read_unit(path, units[i].toObject(), w.units.size(), assets));
    }
    f.finish();
}

// Gives the units a page book lists by name its parent and page. A name no unit has is an error,
// or with allow_missing a warning (the generated file of the page units is not in this build).
void place_page_units(Window& w, bool allow_missing) {
    std::size_t missing = 0;
    std::map<std::string, std::size_t> by_name;
    for (std::size_t i = 0; i < w.units.size(); ++i)
        if (!w.units[i].name_utf8.empty()) by_name.emplace(w.units[i].name_utf8, i);
    for (const Unit& book : w.units) {
        for (std::size_t page = 0; page < book.page_units.size(); ++page) {
            for (const std::string& name : book.page_units[page]) {
                auto it = by_name.find(name);
                if (it == by_name.end()) {
                    if (!allow_missing) error(book.where, "page " + std::to_string(page) + " lists \"" + name + "\", which no unit is called");
                    ++missing;
                    continue;
                }
                Unit& u = w.units[it->second];
                // A unit may name its page itself: the book's list must agree with it.
                if (u.parent_name.empty() && (u.page < 0 || u.page == static_cast<int>(page))) {
                    u.parent_name = book.name_utf8;
                    u.page = static_cast<int>(page);
                } else if (u.parent_name != book.name_utf8 || u.page != static_cast<int>(page)) {
                    error(u.where, "placed on page " + std::to_string(page) + " of " + book.name_utf8 + " and elsewhere too");
                }
                if (book.page_units_at) {
                    u.spec.left = book.page_units_at->first;
                    u.spec.top = book.page_units_at->second;
                }
            }
        }
    }
    if (missing)
        std::fprintf(stderr, "warning: window \"%s\": %zu units its page books list are not in this build; their pages stay empty\n",
                     w.key.c_str(), missing);
}

// A page-units file, as the layout step writes it: a source whose "units" join window `key`
// after all the sources, whatever the file's own "window" calls it. Its page pictures name the
// page book as parent and their page; the page book's "page_units" must agree.
void read_page_units(const std::string& key, const std::string& path, std::map<std::string, Window>& windows,
                     Assets& assets) {
    auto it = windows.find(key);
    if (it == windows.end()) error(path, "adds units to window \"" + key + "\", which no source defines");
    Window& w = it->second;
    Fields f(path, read_json(path));
    f.get("window");  // the layout's own name for the window
    QJsonArray units = f.get("units").toArray();
    for (qsizetype i = 0; i < units.size(); ++i)
        w.units.push_back(read_unit(path, units[i].toObject(), w.units.size(), assets));
    f.finish();
}

// Ids, parents and child lists of one window; returns its spec.
WindowSpec link_window(Window& w, bool allow_missing_units) {
    if (!w.defined) error("window \"" + w.key + "\"", "has units but no file defines it (\"id\")");
    std::set<std::uint32_t> used = {w.own.id};
    for (const auto& u : w.units) {
        if (u.spec.id == 0) continue;
        if (!used.insert(u.spec.id).second) error(u.where, "unit id used twice");
    }
    std::uint32_t next = 0x16000001u;
    std::map<std::string, std::size_t> by_name;
    for (std::size_t i = 0; i < w.units.size(); ++i) {
        Unit& u = w.units[i];
        if (u.spec.id == 0) {
            while (used.count(next)) ++next;
            u.spec.id = next;
            used.insert(next);
        }
        if (!u.name_utf8.empty() && !by_name.emplace(u.name_utf8, i).second) error(u.where, "unit name used twice");
    }
    place_page_units(w, allow_missing_units);
    for (std::size_t i = 0; i < w.units.size(); ++i) {
        Unit& u = w.units[i];
        if (u.parent_name.empty()) {
            if (u.page >= 0) error(u.where, "\"page\" given for a unit that is not on a page container");
            continue;
        }
        auto it = by_name.find(u.parent_name);
        if (it == by_name.end() || it->second >= i)
            error(u.where, "parent \"" + u.parent_name + "\" is not a unit stored before it");
        Unit& p = w.units[it->second];
        u.spec.parent = p.spec.id;
        if (p.spec.type_code == static_cast<std::uint32_t>(UnitType::PageControl)) {
            if (u.page < 0 || static_cast<std::size_t>(u.page) >= p.page_count)
                error(u.where, "needs a \"page\" below " + std::to_string(p.page_count) + " (the page count) of " + u.parent_name);
        } else if (u.page >= 0) {
            error(u.where, "\"page\" given but the parent is no page container");
        } else {
            p.spec.children.push_back(u.spec.id);
        }
    }
    // A page container lists each page's units as a group ended by 0.
    for (auto& p : w.units) {
        if (p.spec.type_code != static_cast<std::uint32_t>(UnitType::PageControl)) continue;
        for (std::size_t page = 0; page < p.page_count; ++page) {
            for (const auto& u : w.units)
                if (u.spec.parent == p.spec.id && u.page == static_cast<int>(page)) p.spec.children.push_back(u.spec.id);
            p.spec.children.push_back(0);
        }
    }
    WindowSpec spec = w.spec;
    spec.units.push_back(w.own);
    for (const auto& u : w.units) spec.units.push_back(u.spec);
    return spec;
}

// ---- The header ----------------------------------------------------------------------------

// True for names C++ accepts as identifiers here: ASCII letters, digits and '_' and CJK
// ideographs, not starting with a digit.
bool is_identifier(const std::string& utf8_name) {
    if (utf8_name.empty() || (utf8_name[0] >= '0' && utf8_name[0] <= '9') || utf8_name == "window") return false;
    QString s = QString::fromStdString(utf8_name);
    for (auto it = s.cbegin(); it != s.cend(); ++it) {
        char32_t c = it->unicode();
        if (it->isHighSurrogate()) return false;
        bool ascii = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        bool cjk = (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF);
        if (!ascii && !cjk) return false;
    }
    return true;
}

std::string hex(std::uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

std::string make_header(const std::vector<const Window*>& windows) {
    std::ostringstream h;
    h << "// Generated by the template compiler from windows/*.json: do not edit.\n"
         "// The window ids and unit ids the program's logic names units by.\n"
         "#pragma once\n#include <cstdint>\n\nnamespace tb::ids {\n";
    for (const Window* w : windows) {
        h << "\nnamespace " << w->key << " {\n";
        h << "inline constexpr std::uint32_t window = " << hex(w->spec.id) << ";\n";
        for (const auto& u : w->units) {
            if (!is_identifier(u.name_utf8)) {
                if (!u.name_utf8.empty()) h << "// not an identifier: " << u.name_utf8 << " = " << hex(u.spec.id) << "\n";
                continue;
            }
            h << "inline constexpr std::uint32_t " << u.name_utf8 << " = " << hex(u.spec.id) << ";\n";
        }
        h << "}  // namespace " << w->key << "\n";
    }
    h << "\n}  // namespace tb::ids\n";
    return h.str();
}

void write_file(const std::string& path, const void* data, std::size_t size, bool only_if_changed) {
    if (only_if_changed) {
        std::ifstream in(path, std::ios::binary);
        std::string old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in && old.size() == size && std::equal(old.begin(), old.end(), static_cast<const char*>(data))) return;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) error(path, "cannot be written");
}

int run(const Options& o) {
    Assets assets(o, !o.out.empty());
    if (!o.extras.empty()) load_extras(o.extras);
    std::map<std::string, Window> by_key;
    for (const auto& s : o.sources) read_source(s, by_key, assets);
    for (const auto& [key, path] : o.page_units) read_page_units(key, path, by_key, assets);
    std::vector<const Window*> ordered;
    std::vector<WindowSpec> specs;
    std::vector<Window*> all;
    for (auto& [key, w] : by_key) all.push_back(&w);
    std::sort(all.begin(), all.end(), [](const Window* a, const Window* b) { return a->spec.id < b->spec.id; });
    std::set<std::uint32_t> window_ids;
    for (Window* w : all) {
        specs.push_back(link_window(*w, o.allow_missing_units));
        if (!window_ids.insert(w->spec.id).second) error("window \"" + w->key + "\"", "window id used twice");
        ordered.push_back(w);
    }
    if (!o.out.empty()) {
        Blob set = write_template_set(specs);
        std::string why;
        if (!TemplateSet::parse(set, &why)) error(o.out, "the written set does not read back: " + why);
        write_file(o.out, set.data(), set.size(), false);
    }
    if (!o.header.empty()) {
        std::string h = make_header(ordered);
        write_file(o.header, h.data(), h.size(), true);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "%s needs a value\n", a.c_str());
                std::exit(2);
            }
            into = argv[++i];
        };
        if (a == "--out") value(o.out);
        else if (a == "--header") value(o.header);
        else if (a == "--assets") value(o.assets);
        else if (a == "--extras") value(o.extras);
        else if (a == "--page-units") {
            std::string v;
            value(v);
            auto eq = v.find('=');
            if (eq == std::string::npos || eq == 0) {
                std::fprintf(stderr, "--page-units needs WINDOW=FILE\n");
                return 2;
            }
            o.page_units.emplace_back(v.substr(0, eq), v.substr(eq + 1));
        }
        else if (a == "--allow-missing-units") o.allow_missing_units = true;
        else if (a.rfind("--", 0) == 0) {
            std::fprintf(stderr, "unknown option %s\n", a.c_str());
            return 2;
        } else o.sources.push_back(a);
    }
    if (o.sources.empty() || (o.out.empty() && o.header.empty())) {
        std::fprintf(stderr,
                     "usage: %s [--out SET] [--header HPP] [--assets DIR] [--extras FILE] [--allow-missing-units]\n"
                     "       [--page-units WINDOW=FILE] SOURCE.json...\n",
                     argv[0]);
        return 2;
    }
    try {
        return run(o);
    } catch (const CompileError& e) {
        std::fprintf(stderr, "template compiler: error: %s\n", e.message.c_str());
        return 1;
    }
}
