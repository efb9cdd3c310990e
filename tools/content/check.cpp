#include "tools/content/check.hpp"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>

namespace tb::content {
namespace fs = std::filesystem;
using tb::book::Book;
using tb::book::ItemKind;
using tb::book::Page;
using tb::book::Problem;

namespace {

// Item numbers that are empty markers, per page index.
const std::map<int, std::set<int>> kMarkers = {
    {1, {3}},  {2, {9, 11, 12, 13, 17}},  {3, {14}}, {4, {3}},  {6, {4, 5}},
    {7, {9, 11, 13, 14, 15, 18}},         {9, {3}},  {11, {3}}, {12, {11, 13, 15, 16, 17, 20}},
    {14, {3}}, {15, {13, 15}},            {18, {3}}, {19, {11, 13, 15, 16, 17, 20}},
    {21, {3}}, {23, {3}},  {24, {11, 13, 15, 16, 17, 20}},      {26, {3}}, {28, {3}},
    {29, {8, 10, 11, 12, 15}},            {31, {3}}, {32, {6}}};
// A course's first spread opens with its title.
bool starts_course(int page_index) {
    return std::find(std::begin(volume::kCourseLanding), std::end(volume::kCourseLanding), page_index) !=
           std::end(volume::kCourseLanding);
}
const std::set<int> kLinePages = {16, 33};

// Fill-in boxes and tick boxes by printed page: box number -> state a tick box must be left in.
const std::map<int, int> kFillBoxes = [] {
    std::map<int, int> m;
    for (const auto& f : volume::kFillBoxes) m[f.printed_page] = f.boxes;
    return m;
}();
const std::map<int, std::map<int, int>> kTickBoxes = [] {
    std::map<int, std::map<int, int>> m;
    for (const auto& t : volume::kTickBoxes) m[t.printed_page][t.box] = t.ticked ? 1 : 0;
    return m;
}();
constexpr int kDigitPage = 8;  // "number the pictures": the answers are the digits 1 to 4

// Which pages each lesson's words are taught on.
const int kUnitFirst[volume::kLessons] = {0, 5, 10, 17, 22, 27};

std::string two(int k) {
    char b[16];
    std::snprintf(b, sizeof b, "%02d", k);
    return b;
}

std::string page_name(int k) {
    return "page " + two(k) + " (printed pages " + std::to_string(volume::printed_page(k)) + "-" +
           std::to_string(volume::printed_page(k) + 1) + ")";
}

struct Reporter {
    std::vector<Problem>& out;
    void at(const std::string& file, int line, const std::string& what) const {
        std::string w = file;
        if (line > 0) w += ":" + std::to_string(line);
        out.push_back({w, what});
    }
};

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool is_letter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

// A text searched case-insensitively for whole words (or whole phrases). It is lowered once: the
// checks ask the whole volume's text about every form of every word.
class WordSearch {
public:
    explicit WordSearch(const std::string& text) : text_(lower(text)) {}
    bool has(const std::string& word) const {
        const std::string w = lower(word);
        if (w.empty()) return false;
        for (std::size_t at = text_.find(w); at != std::string::npos; at = text_.find(w, at + 1)) {
            bool left = at == 0 || !is_letter(text_[at - 1]);
            bool right = at + w.size() == text_.size() || !is_letter(text_[at + w.size()]);
            if (left && right) return true;
        }
        return false;
    }

private:
    std::string text_;
};

int word_count(const std::string& s) {
    int n = 0;
    for (std::size_t at = 0; at <= s.size();) {
        std::size_t sp = s.find(' ', at);
        if (sp == std::string::npos) sp = s.size();
        if (sp > at) ++n;
        at = sp + 1;
    }
    return n;
}

// "一，二，三": numbers counted aloud are set apart with the enumeration comma (一、二、三), as
// everywhere else in the volume.
bool counts_with_commas(const std::string& chinese) {
    static const std::string kNumerals[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
    static const std::string kComma = "，";
    auto numeral_at = [&](std::size_t at, bool ending) {
        for (const auto& n : kNumerals) {
            if (ending ? at >= n.size() && chinese.compare(at - n.size(), n.size(), n) == 0
                       : chinese.compare(at, n.size(), n) == 0)
                return true;
        }
        return false;
    };
    for (std::size_t at = chinese.find(kComma); at != std::string::npos; at = chinese.find(kComma, at + 1))
        if (numeral_at(at, true) && numeral_at(at + kComma.size(), false)) return true;
    return false;
}

// One field's rules: GBK, length, and (for English) plain ASCII.
void check_field(const Reporter& r, const std::string& file, int line, const std::string& who,
                 const std::string& field, bool english) {
    if (field.empty()) {
        r.at(file, line, who + ": empty text");
        return;
    }
    if (english) {
        for (unsigned char c : field)
            if (c < 0x20 || c > 0x7E) {
                r.at(file, line, who + ": English must be plain ASCII (straight quotes): \"" + field + "\"");
                break;
            }
    }
    if (!english && field.find_first_of(",.!?;:") != std::string::npos)
        r.at(file, line, who + ": Chinese takes full-width punctuation: \"" + field + "\"");
    if (!english && counts_with_commas(field))
        r.at(file, line, who + ": counting takes the enumeration comma, 一、二、三: \"" + field + "\"");
    try {
        const std::string g = tb::book::to_gbk(field);
        if (static_cast<int>(g.size()) > kLongestLine)
            r.at(file, line, who + ": line is " + std::to_string(g.size()) + " bytes in GBK, at most " +
                                 std::to_string(kLongestLine) + ": \"" + field + "\"");
    } catch (const std::exception&) {
        r.at(file, line, who + ": a character GBK cannot hold: \"" + field + "\"");
    }
}

// Spacing rules on the raw source lines: the reader trims fields, so look before it does.
// labels: what each source line holds ("page 01 (...), item 3"), to name it in a message.
void check_spacing(const Reporter& r, const fs::path& file, const std::map<int, std::string>& labels = {}) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::size_t b = line.find_first_not_of(" \t");
        if (b == std::string::npos || line[b] == '#') continue;
        const std::string name = file.string();
        auto label = labels.find(n);
        const std::string who = label == labels.end() ? std::string() : label->second + ": ";
        if (line.find('\t') != std::string::npos) r.at(name, n, who + "a tab in the line");
        if (b > 0) r.at(name, n, who + "leading spaces");
        if (line.back() == ' ') r.at(name, n, who + "trailing spaces");
        std::size_t at = 0;
        for (;;) {
            std::size_t bar = line.find(" | ", at);
            std::string f = line.substr(at, bar == std::string::npos ? std::string::npos : bar - at);
            if (!f.empty() && (f.front() == ' ' || f.back() == ' '))
                r.at(name, n, who + "leading or trailing spaces in the field \"" + f + "\"");
            if (f.find("  ") != std::string::npos) r.at(name, n, who + "double space in \"" + f + "\"");
            if (bar == std::string::npos) break;
            at = bar + 3;
        }
        if (line.find("\xE3\x80\x80") != std::string::npos) r.at(name, n, who + "a full-width space");
    }
}

// The English printed on a page: its hotspots' texts and its exercises (the gaps left empty,
// so an answer counts only where the page prints it elsewhere).
std::string printed_english(const Page& p) {
    std::string all;
    for (const auto& item : p.items)
        if (!item.is_marker()) all += item.english + "\n";
    for (const auto& f : p.fills) all += f.sentence + "\n";
    for (const auto& t : p.ticks) all += t.statement + "\n";
    return all;
}

void check_page(const Reporter& r, const Page& p, const WordSearch& volume_text) {
    const std::string file = p.file;
    const std::string pn = page_name(p.index);
    const int want = volume::kPageItems[p.index];
    if (static_cast<int>(p.items.size()) != want)
        r.at(file, 0, pn + ": " + std::to_string(p.items.size()) + " items, the spread has " +
                          std::to_string(want) + " hotspots");

    auto markers_it = kMarkers.find(p.index);
    const std::set<int> markers = markers_it == kMarkers.end() ? std::set<int>{} : markers_it->second;
    for (int m : markers)
        if (m > static_cast<int>(p.items.size()) || !p.items[static_cast<std::size_t>(m - 1)].is_marker())
            r.at(file, m <= static_cast<int>(p.items.size()) ? p.items[static_cast<std::size_t>(m - 1)].source_line : 0,
                 pn + ", item " + std::to_string(m) + ": must be an empty marker (the page shows no text there)");

    int ordering_lines = 0;
    for (std::size_t i = 0; i < p.items.size(); ++i) {
        const auto& item = p.items[i];
        const int n = static_cast<int>(i) + 1;
        const std::string who = pn + ", item " + std::to_string(n);
        if (item.is_marker() && !markers.count(n))
            r.at(file, item.source_line, who + ": an empty marker where the page prints text");
        if (n == 1) {
            ItemKind k = starts_course(p.index) ? ItemKind::Title
                         : kLinePages.count(p.index) ? ItemKind::Line
                                                     : ItemKind::Heading;
            const char* kn = k == ItemKind::Title ? "title" : k == ItemKind::Line ? "line" : "heading";
            if (item.kind != k) r.at(file, item.source_line, who + ": item 1 must be a " + kn);
        } else if (item.kind == ItemKind::Title) {
            r.at(file, item.source_line, who + ": a title is only item 1 of a unit's first spread");
        }
        if (!item.is_marker() && (item.english == "$" || item.chinese == "$"))
            r.at(file, item.source_line, who + ": \"$\" stands only in an empty marker, on both lines");
        check_field(r, file, item.source_line, who + " (English)", item.english, true);
        if (!item.is_marker()) check_field(r, file, item.source_line, who + " (Chinese)", item.chinese, false);
        // The ordering game deals sentences: a title, a heading or a word-list entry is no game.
        const int words = word_count(item.english);
        if (item.kind == ItemKind::Line && words >= 2 && words <= 9) ++ordering_lines;
    }
    if (p.index != 6 && p.index != 33 && ordering_lines < 7)
        r.at(file, 0, pn + ": only " + std::to_string(ordering_lines) +
                          " lines of 2 to 9 words, the ordering game needs at least 7");

    const bool extra_wanted = volume::has_extra_clip(p.index);
    if (extra_wanted && !p.extra_clip) r.at(file, 0, pn + ": the extra clip is missing");
    if (!extra_wanted && p.extra_clip) r.at(file, 0, pn + ": only pages 06 and 33 carry an extra clip");
    if (p.extra_clip) check_field(r, file, 0, pn + ", extra clip", *p.extra_clip, true);

    // Exercises: the inventory of boxes on each printed page.
    const int left = p.printed_left_page();
    // Exercises are written in the spread's file; all of them sit on its left page.
    const auto fills_it = kFillBoxes.find(left);
    const int fill_count = fills_it == kFillBoxes.end() ? 0 : fills_it->second;
    std::set<int> seen_fill;
    for (const auto& f : p.fills) {
        const std::string who = pn + ", fill-in box " + std::to_string(f.box);
        if (f.box < 1 || f.box > fill_count) {
            r.at(file, f.source_line, who + ": printed page " + std::to_string(left) + " has " +
                                          (fill_count ? "fill-in boxes 1 to " + std::to_string(fill_count) : "no fill-in box"));
            continue;
        }
        if (!seen_fill.insert(f.box).second) r.at(file, f.source_line, who + ": given twice");
        if (f.sentence.find("___") == std::string::npos)
            r.at(file, f.source_line, who + ": the printed sentence needs \"___\" for the gap");
        check_field(r, file, f.source_line, who + " (sentence)", f.sentence, true);
        check_field(r, file, f.source_line, who + " (Chinese)", f.chinese, false);
        if (p.index == kDigitPage) {
            if (f.answer.size() != 1 || f.answer[0] < '1' || f.answer[0] > '4')
                r.at(file, f.source_line, who + ": the answer must be a digit 1 to 4, not \"" + f.answer + "\"");
        } else if (f.answer.empty() || !std::all_of(f.answer.begin(), f.answer.end(), is_letter)) {
            r.at(file, f.source_line, who + ": the answer must be one English word, not \"" + f.answer + "\"");
        } else if (!volume_text.has(f.answer)) {
            r.at(file, f.source_line, who + ": the answer \"" + f.answer + "\" is not a word of the volume's pages");
        }
    }
    if (p.index == kDigitPage) {
        std::set<std::string> digits;
        for (const auto& f : p.fills)
            if (!digits.insert(f.answer).second)
                r.at(file, f.source_line, pn + ", fill-in box " + std::to_string(f.box) + ": each picture takes its own number");
    }
    for (int b = 1; b <= fill_count; ++b)
        if (!seen_fill.count(b))
            r.at(file, 0, pn + ": fill-in box " + std::to_string(b) + " of printed page " + std::to_string(left) + " is missing");

    const auto ticks_it = kTickBoxes.find(left);
    const std::map<int, int> ticks = ticks_it == kTickBoxes.end() ? std::map<int, int>{} : ticks_it->second;
    std::set<int> seen_tick;
    for (const auto& t : p.ticks) {
        const std::string who = pn + ", tick box " + std::to_string(t.box);
        auto want_state = ticks.find(t.box);
        if (want_state == ticks.end()) {
            r.at(file, t.source_line, who + ": printed page " + std::to_string(left) + " has no such tick box");
            continue;
        }
        if (!seen_tick.insert(t.box).second) r.at(file, t.source_line, who + ": given twice");
        if (t.expected != want_state->second)
            r.at(file, t.source_line, who + ": must be " + (want_state->second ? "ticked (1)" : "left empty (0)"));
        check_field(r, file, t.source_line, who + " (statement)", t.statement, true);
        check_field(r, file, t.source_line, who + " (Chinese)", t.chinese, false);
    }
    for (const auto& [box, state] : ticks)
        if (!seen_tick.count(box))
            r.at(file, 0, pn + ": tick box " + std::to_string(box) + " of printed page " + std::to_string(left) + " is missing");
}

// The forms a word list teaches, each with the entry that teaches it: the entry itself, the
// head (last word) of a phrase ("orange juice" teaches "juice"), and their plurals and -ing forms
// ("dance": "dances", "dancing"; "swim": "swimming").
std::map<std::string, std::string> taught_forms(const std::vector<tb::book::Word>& words) {
    std::map<std::string, std::string> forms;
    auto vowel = [](char c) { return std::string("aeiou").find(c) != std::string::npos; };
    for (const auto& w : words) {
        const std::string entry = lower(w.english);
        forms.emplace(entry, w.english);
        const std::size_t sp = entry.rfind(' ');
        const std::string head = sp == std::string::npos ? entry : entry.substr(sp + 1);
        const std::size_t n = head.size();
        if (n < 2 || !std::all_of(head.begin(), head.end(), is_letter)) continue;
        std::vector<std::string> f = {head, head + "s", head + "es", head + "ing"};
        if (head[n - 1] == 'y' && !vowel(head[n - 2])) f.push_back(head.substr(0, n - 1) + "ies");
        if (head[n - 1] == 'e') f.push_back(head.substr(0, n - 1) + "ing");
        if (n >= 3 && !vowel(head[n - 1]) && vowel(head[n - 2]) && !vowel(head[n - 3]) &&
            std::string("wxy").find(head[n - 1]) == std::string::npos)
            f.push_back(head + head[n - 1] + "ing");
        for (const auto& x : f) forms.emplace(x, w.english);
    }
    return forms;
}

// The sentence of a fill-in that holds the gap, without its end mark:
// "Ben likes ___. He plays it every day." gives "Ben likes ___".
std::string gap_clause(const std::string& sentence) {
    const std::size_t gap = sentence.find("___");
    if (gap == std::string::npos) return {};
    const std::size_t before = gap == 0 ? std::string::npos : sentence.find_last_of(".!?", gap - 1);
    const std::size_t start = before == std::string::npos ? 0 : before + 1;
    const std::size_t end = std::min(sentence.find_first_of(".!?", gap + 3), sentence.size());
    return tb::book::trim_copy(sentence.substr(start, end - start));
}

// Which lesson's words a page teaches: 0..5, or -1 on the review pages.
int lesson_of(int page) {
    for (int u = volume::kLessons - 1; u >= 0; --u)
        if (page >= kUnitFirst[u]) return page < kUnitFirst[u] + 5 ? u : -1;
    return -1;
}

// A self-judging box takes one answer, so a gap must admit one word only: the answer is a word
// the unit's list teaches, and no other word the lists teach fills the gap to make a sentence
// the volume prints.
void check_fill_answers(const Reporter& r, const Book& book) {
    std::string printed;  // what the pages print as hotspots (markers only sound)
    for (const Page& p : book.pages)
        for (const auto& item : p.items)
            if (!item.is_marker()) printed += item.english + "\n";
    const WordSearch printed_words(printed);
    std::vector<tb::book::Word> all_words;
    for (const auto& unit : book.units) all_words.insert(all_words.end(), unit.begin(), unit.end());
    const auto every_form = taught_forms(all_words);
    for (const Page& p : book.pages) {
        if (p.index == kDigitPage) continue;
        const int u = lesson_of(p.index);
        if (u >= static_cast<int>(book.units.size())) continue;
        const auto forms = taught_forms(u < 0 ? all_words : book.units[static_cast<std::size_t>(u)]);
        const std::string list = u < 0 ? std::string("the volume's word lists") : "lesson " + std::to_string(u + 1) + "'s word list";
        for (const auto& f : p.fills) {
            const std::string who = page_name(p.index) + ", fill-in box " + std::to_string(f.box);
            const std::string answer = lower(f.answer);
            if (!forms.count(answer))
                r.at(p.file, f.source_line, who + ": the answer \"" + f.answer + "\" is not a word of " + list +
                                                " (nor its plural or -ing form)");
            const std::string clause = gap_clause(f.sentence);
            const std::size_t gap = clause.find("___");
            if (gap == std::string::npos) continue;
            for (const auto& [form, entry] : every_form) {
                if (form == answer) continue;
                const std::string other = clause.substr(0, gap) + form + clause.substr(gap + 3);
                if (printed_words.has(other))
                    r.at(p.file, f.source_line, who + ": the gap also takes \"" + form + "\" (from the word list's \"" +
                                                    entry + "\"): the volume prints \"" + other + "\"");
            }
        }
    }
}

// A printed gap sentence reads the same wherever it stands, so it must take the same answer
// everywhere: "Tao Tao doesn't like ___." cannot be "singing" in one unit and "vegetables" in another.
void check_gap_sentences(const Reporter& r, const Book& book) {
    struct First {
        const Page* page;
        const tb::book::FillExercise* fill;
    };
    std::map<std::string, First> firsts;
    for (const Page& p : book.pages)
        for (const auto& f : p.fills) {
            auto [it, fresh] = firsts.emplace(lower(tb::book::trim_copy(f.sentence)), First{&p, &f});
            if (fresh || it->second.fill->answer == f.answer) continue;
            const First& o = it->second;
            r.at(p.file, f.source_line, page_name(p.index) + ", fill-in box " + std::to_string(f.box) + ": \"" +
                                            f.sentence + "\" takes \"" + f.answer + "\" here but \"" + o.fill->answer +
                                            "\" at " + page_name(o.page->index) + ", fill-in box " +
                                            std::to_string(o.fill->box) + " (" + fs::path(o.page->file).filename().string() + ":" +
                                            std::to_string(o.fill->source_line) + ")");
        }
}

// The alternatives of a word's meaning ("红色；红色的").
std::vector<std::string> meanings(const std::string& chinese) {
    std::vector<std::string> out;
    const std::string semi = "；";
    for (std::size_t at = 0;;) {
        const std::size_t next = chinese.find(semi, at);
        out.push_back(chinese.substr(at, next == std::string::npos ? std::string::npos : next - at));
        if (next == std::string::npos) return out;
        at = next + semi.size();
    }
}

// The drill shows a word's meaning and asks for the word: a meaning given to two different words
// (cap and hat both 帽子) cannot be answered, within a lesson or across the volume.
void check_meanings(const Reporter& r, const fs::path& root, const Book& book) {
    struct Owner {
        std::string english;
        int lesson, word;
    };
    std::map<std::string, Owner> owners;
    for (std::size_t u = 0; u < book.units.size(); ++u) {
        const std::string file = (root / "words" / ("unit" + std::to_string(u + 1) + ".txt")).string();
        for (std::size_t i = 0; i < book.units[u].size(); ++i) {
            const auto& w = book.units[u][i];
            const std::string who = "lesson " + std::to_string(u + 1) + ", word " + std::to_string(i + 1) + " \"" + w.english + "\"";
            for (const std::string& m : meanings(w.chinese)) {
                auto [it, fresh] = owners.emplace(m, Owner{lower(w.english), static_cast<int>(u) + 1, static_cast<int>(i) + 1});
                if (!fresh && it->second.english != lower(w.english))
                    r.at(file, w.source_line, who + ": the meaning \"" + m + "\" is already lesson " +
                                                  std::to_string(it->second.lesson) + ", word " + std::to_string(it->second.word) +
                                                  "'s: the drill cannot tell them apart");
            }
        }
    }
}

// The headings table: one Chinese for each heading, one heading for each Chinese, every entry used.
void check_headings(const Reporter& r, const fs::path& root, const Book& book) {
    const std::string file = (root / "headings.txt").string();
    std::set<std::string> used;
    for (const Page& p : book.pages)
        for (const auto& item : p.items)
            if (item.kind == ItemKind::Heading) used.insert(item.english);
    std::map<std::string, std::string> by_chinese;
    std::set<std::string> seen;
    for (const auto& h : book.headings) {
        const std::string who = "heading \"" + h.english + "\"";
        check_field(r, file, h.source_line, who, h.english, true);
        check_field(r, file, h.source_line, who + " (Chinese)", h.chinese, false);
        if (!seen.insert(h.english).second) r.at(file, h.source_line, who + ": given twice");
        auto [it, fresh] = by_chinese.emplace(h.chinese, h.english);
        if (!fresh) r.at(file, h.source_line, who + ": its Chinese is already \"" + it->second + "\"'s");
        if (!used.count(h.english)) r.at(file, h.source_line, who + ": no page prints it");
    }
}

}  // namespace

void check_book(const fs::path& root, const Book& book, std::vector<Problem>& problems) {
    Reporter r{problems};
    for (int k = 0; k < volume::kContentPages; ++k) {
        std::map<int, std::string> labels;
        if (k < static_cast<int>(book.pages.size())) {
            const Page& p = book.pages[static_cast<std::size_t>(k)];
            for (std::size_t i = 0; i < p.items.size(); ++i)
                labels[p.items[i].source_line] = page_name(k) + ", item " + std::to_string(i + 1);
            for (const auto& f : p.fills) labels[f.source_line] = page_name(k) + ", fill-in box " + std::to_string(f.box);
            for (const auto& t : p.ticks) labels[t.source_line] = page_name(k) + ", tick box " + std::to_string(t.box);
        }
        check_spacing(r, root / "pages" / (two(k) + ".txt"), labels);
    }
    for (int u = 1; u <= volume::kLessons; ++u) {
        std::map<int, std::string> labels;
        if (u <= static_cast<int>(book.units.size())) {
            const auto& words = book.units[static_cast<std::size_t>(u - 1)];
            for (std::size_t i = 0; i < words.size(); ++i)
                labels[words[i].source_line] = "lesson " + std::to_string(u) + ", word " + std::to_string(i + 1);
        }
        check_spacing(r, root / "words" / ("unit" + std::to_string(u) + ".txt"), labels);
    }
    check_spacing(r, root / "extras.txt");
    check_spacing(r, root / "headings.txt");

    if (book.pages.size() != volume::kContentPages) {
        r.at(root.string(), 0, "the volume needs page files 00 to 33");
        return;
    }
    std::string printed;
    for (const Page& p : book.pages) printed += printed_english(p);
    const WordSearch volume_text(printed);
    for (const Page& p : book.pages) check_page(r, p, volume_text);
    check_fill_answers(r, book);
    check_gap_sentences(r, book);
    check_headings(r, root, book);
    check_meanings(r, root, book);

    for (int u = 0; u < volume::kLessons && u < static_cast<int>(book.units.size()); ++u) {
        const auto& words = book.units[static_cast<std::size_t>(u)];
        const std::string file = (root / "words" / ("unit" + std::to_string(u + 1) + ".txt")).string();
        const std::string lesson = "lesson " + std::to_string(u + 1);
        if (static_cast<int>(words.size()) != volume::kLessonWords[u])
            r.at(file, 0, lesson + ": " + std::to_string(words.size()) + " words, the drill needs " +
                              std::to_string(volume::kLessonWords[u]));
        std::string unit_text;
        for (int k = kUnitFirst[u]; k < kUnitFirst[u] + 5; ++k) unit_text += printed_english(book.pages[static_cast<std::size_t>(k)]);
        const WordSearch unit_words(unit_text);
        std::set<std::string> seen;
        for (std::size_t i = 0; i < words.size(); ++i) {
            const auto& w = words[i];
            const std::string who = lesson + ", word " + std::to_string(i + 1) + " \"" + w.english + "\"";
            check_field(r, file, w.source_line, who, w.english, true);
            check_field(r, file, w.source_line, who + " (Chinese)", w.chinese, false);
            if (!seen.insert(lower(w.english)).second) r.at(file, w.source_line, who + ": given twice");
            if (!unit_words.has(w.english))
                r.at(file, w.source_line, who + ": not found on the unit's pages " + two(kUnitFirst[u]) + " to " +
                                              two(kUnitFirst[u] + 4));
        }
    }

    const std::string extras = (root / "extras.txt").string();
    for (const char* key : {"right1", "right2", "right3", "wrong1", "wrong2", "wrong3", "wrong4", "practice", "find",
                            "complete", "edition", "wordlist"}) {
        auto e = book.extras.find(key);
        if (e == book.extras.end()) {
            r.at(extras, 0, std::string("the entry \"") + key + "\" is missing");
            continue;
        }
        const bool edition = std::string(key) == "edition";
        check_field(r, extras, 0, key, e->second.text, !edition);
        if (!e->second.chinese.empty()) check_field(r, extras, 0, std::string(key) + " (Chinese)", e->second.chinese, false);
        if (std::string(key) == "wordlist" && e->second.chinese.empty())
            r.at(extras, 0, "wordlist: the heading needs its Chinese");
    }
}

}  // namespace tb::content
