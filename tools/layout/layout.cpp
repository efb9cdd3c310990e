#include "tools/layout/layout.hpp"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <map>
#include <set>

#include "content/volume.hpp"
#include "tools/book/artmap.hpp"
#include "tools/book/wordlist.hpp"
#include "tools/layout/fonts.hpp"

namespace tb::layout {

int picture_of_page(int k) {
    static const int front[4] = {2, 4, 1, 3};
    return k >= 0 && k < 4 ? front[k] : k + 1;
}

int page_of_picture(int n) {
    for (int k = 0; k < 36; ++k)
        if (picture_of_page(k) == n) return k;
    return -1;
}

IRect outer_rect(const QRectF& r) {
    int x = static_cast<int>(std::floor(r.left() + 1e-6));
    int y = static_cast<int>(std::floor(r.top() + 1e-6));
    int rr = static_cast<int>(std::ceil(r.right() - 1e-6));
    int bb = static_cast<int>(std::ceil(r.bottom() - 1e-6));
    return {x, y, rr - x, bb - y};
}

std::string Spread::picture_name() const { return "图片框底图" + std::to_string(picture); }

std::string Spread::picture_file() const {
    char buf[32];
    std::snprintf(buf, sizeof buf, "pictures/page-%02d.jpg", picture);
    return buf;
}

namespace {

QString q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Page geometry: two printed pages, each with one text column under a coloured band.
struct Column {
    double x, w;
};
constexpr Column kColumns[2] = {{26, 348}, {426, 348}};
constexpr double kBandHeight = 22;
constexpr double kTop = 34;
constexpr double kBottom = 494;

struct Scheme {
    QString label;
    QColor colour;
};

// The band of a course's spreads: its label and colour, in the course choice's order.
Scheme scheme_of_page(int k) {
    static const Scheme schemes[volume::kCourses] = {
        {"Unit 1", QColor(0x3a, 0x8f, 0x87)},    {"Unit 2", QColor(0x4a, 0x78, 0xa8)}, {"Unit 3", QColor(0x6a, 0x94, 0x4e)},
        {"Recycle 1", QColor(0xc0, 0x8a, 0x2b)}, {"Unit 4", QColor(0xc4, 0x6a, 0x4f)}, {"Unit 5", QColor(0x5d, 0x8c, 0xb8)},
        {"Unit 6", QColor(0x86, 0x72, 0x9e)},    {"Recycle 2", QColor(0xb5, 0x8a, 0x3a)}, {"Word List", QColor(0x52, 0x61, 0x6b)},
    };
    for (int c = volume::kCourses - 1; c >= 0; --c)
        if (k >= volume::kCourseLanding[c]) return schemes[c];
    return {"", QColor(0x52, 0x61, 0x6b)};
}

struct PendingUnit {
    UnitKind kind;
    int number;
    QRectF rect;  // for a tick box: the printed square
};

// A stack of printed things laid out at the origin of a column, moved into place later.
struct Block {
    double height = 0;
    bool keep_with_next = false;
    std::vector<Draw> draws;
    std::vector<PendingUnit> units;
};

struct Style {
    double scale = 1.0;
    double title() const { return sized(21); }
    double subtitle() const { return sized(10.5); }
    double heading() const { return sized(14); }
    double line() const { return sized(12); }
    double word() const { return sized(11.5); }
    double exercise() const { return sized(11.5); }
    double exercise_head() const { return sized(10.5); }
    // A full page sets its type smaller, but never below what a pupil can read on screen.
    double sized(double full) const { return std::max(kSmallestTextPx, full * scale); }
};

Draw text_draw(const QRectF& r, const QString& t, FontRole role, double size, QColor c, int align = Qt::AlignLeft | Qt::AlignTop) {
    return {.kind = Draw::Text, .rect = r, .text = t, .role = role, .size = size, .colour = c, .align = align};
}

Draw shape_draw(Draw::Kind kind, const QRectF& r, QColor c, const QString& t = {}, int number = 0) {
    return {.kind = kind, .rect = r, .text = t, .colour = c, .number = number};
}

// Greedy word wrap at spaces.
QStringList wrap(const QString& text, const Metrics& m, double width) {
    QStringList lines;
    QString cur;
    for (const QString& w : text.split(' ', Qt::SkipEmptyParts)) {
        QString trial = cur.isEmpty() ? w : cur + ' ' + w;
        if (!cur.isEmpty() && m.width(trial) > width) {
            lines << cur;
            cur = w;
        } else {
            cur = trial;
        }
    }
    if (!cur.isEmpty()) lines << cur;
    if (lines.isEmpty()) lines << QString();
    return lines;
}

double fitted_size(const QString& t, FontRole role, double size, double width) {
    while (size * 0.94 >= kSmallestTextPx && Metrics(page_font(role, size)).width(t) > width) size *= 0.94;
    return size;
}

const QColor kInk(0x33, 0x33, 0x3a);

// The scheme colour washed towards white: 0 is the colour itself, 1 is white.
QColor tint(QColor c, double t) {
    return QColor::fromRgbF(c.redF() + (1 - c.redF()) * t, c.greenF() + (1 - c.greenF()) * t, c.blueF() + (1 - c.blueF()) * t);
}

Block title_block(const book::Item& item, int number, const Style& st, const Scheme& sc, double w) {
    Block b;
    QString en = q(item.english), zh = q(item.chinese);
    double ts = fitted_size(en, FontRole::Title, st.title(), w - 30);
    Metrics mt(page_font(FontRole::Title, ts));
    double ss = fitted_size(zh, FontRole::Subtitle, st.subtitle(), w - 30);
    Metrics ms(page_font(FontRole::Subtitle, ss));
    QRectF r1(0, 2, mt.width(en), mt.height());
    QRectF r2(0, r1.bottom() + 1, ms.width(zh), ms.height());
    b.draws.push_back(text_draw(r1, en, FontRole::Title, ts, sc.colour.darker(125)));
    b.draws.push_back(text_draw(r2, zh, FontRole::Subtitle, ss, kInk));
    b.units.push_back({UnitKind::Hotspot, number, r1.united(r2)});
    b.height = r2.bottom() + 10;
    b.keep_with_next = true;
    return b;
}

Block heading_block(const book::Item& item, int number, int listen, const Style& st, const Scheme& sc, double w) {
    Block b;
    QString en = q(item.english);
    double hs = fitted_size(en, FontRole::Heading, st.heading(), w - 40);
    Metrics m(page_font(FontRole::Heading, hs));
    QRectF r(8, 3 + 3 * st.scale, m.width(en), m.height());
    b.draws.push_back(shape_draw(Draw::Band, r.adjusted(-7, -3, 7, 3), tint(sc.colour, 0.72)));
    b.draws.push_back(text_draw(r, en, FontRole::Heading, hs, sc.colour.darker(140)));
    b.units.push_back({UnitKind::Hotspot, number, r});
    double bottom = r.bottom() + 3;
    if (listen > 0) {
        QRectF icon(r.right() + 12, r.center().y() - kListenSize / 2.0, kListenSize, kListenSize);
        icon.moveTop(std::round(icon.top()));
        icon.moveLeft(std::round(icon.left()));
        b.units.push_back({UnitKind::Listen, listen, icon});
        bottom = std::max(bottom, icon.bottom());
    }
    b.height = bottom + 7 * st.scale;
    b.keep_with_next = true;
    return b;
}

Block line_block(const book::Item& item, int number, bool right, const Style& st, const Scheme& sc, double w) {
    Block b;
    double ls = st.line();
    const double indent = 26, pad = 4 * st.scale;
    double avail = w - indent - 2 * pad;
    Metrics m(page_font(FontRole::Line, ls));
    QStringList lines = wrap(q(item.english), m, avail);
    while (lines.size() > 3 && ls * 0.94 >= kSmallestTextPx) {  // very long lines: smaller rather than taller
        ls *= 0.94;
        m = Metrics(page_font(FontRole::Line, ls));
        lines = wrap(q(item.english), m, avail);
    }
    double tw = 0;
    for (const QString& l : lines) tw = std::max(tw, m.width(l));
    double th = m.line_spacing() * (lines.size() - 1) + m.height();
    double x = right ? w - tw - pad : pad + 4;
    if (!right && lines.size() > 1) x = pad + 4;
    QRectF text(x, pad + 1, tw, th);
    Draw bubble = shape_draw(Draw::Bubble, text.adjusted(-pad - 2, -pad, pad + 2, pad), tint(sc.colour, 0.86));
    bubble.number = right ? 1 : 0;
    bubble.size = 5 * st.scale;  // the tail below the bubble
    b.draws.push_back(bubble);
    for (int i = 0; i < lines.size(); ++i)
        b.draws.push_back(text_draw(QRectF(x, text.top() + i * m.line_spacing(), m.width(lines[i]), m.height()), lines[i], FontRole::Line, ls, kInk));
    b.units.push_back({UnitKind::Hotspot, number, text});
    b.height = text.bottom() + pad + 8 * st.scale;
    return b;
}

// A run of word and marker items: a grid of cards. A word card shows a small picture with the
// word printed under it (the word is the hotspot); a marker card is all picture (the hotspot).
// The picture of a word card or marker, drawn from the book's map.
Draw word_picture(const QRectF& r, const Scheme& sc, const book::Item& item, const book::ArtMap& art) {
    Draw d = shape_draw(Draw::Picture, r, sc.colour, q(item.is_marker() ? item.chinese : item.english));
    auto found = art.find(book::art_key(item.is_marker() ? item.chinese : item.english));
    if (found != art.end()) d.art = &found->second;
    d.name = item.english;
    return d;
}

Block word_block(const std::vector<std::pair<const book::Item*, int>>& items, const Style& st, const Scheme& sc, double w,
                 const book::ArtMap& art) {
    Block b;
    int n = static_cast<int>(items.size());
    int per_row = n <= 4 ? n : (n <= 6 ? 3 : 4);
    per_row = std::max(per_row, 1);
    const double gap = 8 * std::max(st.scale, 0.75);
    double cw = (w - gap * (per_row - 1)) / per_row;
    cw = std::min(cw, 110.0);
    double pic_h = 40 * st.scale;
    double word_h = Metrics(page_font(FontRole::Word, st.word())).height();
    double card_h = pic_h + word_h + 10;
    double y = 2;
    for (int row = 0; row * per_row < n; ++row) {
        int in_row = std::min(per_row, n - row * per_row);
        double x0 = (w - (in_row * cw + (in_row - 1) * gap)) / 2;
        for (int c = 0; c < in_row; ++c) {
            const auto& [item, number] = items[static_cast<std::size_t>(row * per_row + c)];
            double x = std::round(x0 + c * (cw + gap));
            QRectF card(x, y, std::floor(cw), std::round(card_h));
            if (item->is_marker()) {
                b.draws.push_back(word_picture(card, sc, *item, art));
                b.units.push_back({UnitKind::Hotspot, number, card});
                continue;
            }
            QString en = q(item->english);
            double ws = fitted_size(en, FontRole::Word, st.word(), cw - 8);
            Metrics m(page_font(FontRole::Word, ws));
            QRectF pic(x + 5, y + 4, cw - 10, pic_h);
            QRectF text(x + (cw - m.width(en)) / 2, pic.bottom() + 3 + (word_h - m.height()) / 2, m.width(en), m.height());
            b.draws.push_back(shape_draw(Draw::Card, card, tint(sc.colour, 0.84)));
            b.draws.push_back(word_picture(pic, sc, *item, art));
            b.draws.push_back(text_draw(text, en, FontRole::Word, ws, kInk));
            b.units.push_back({UnitKind::Hotspot, number, text});
        }
        y += std::round(card_h) + gap;
    }
    b.height = y + 2;
    return b;
}

// A run of marker items: framed pictures, two to a row; the picture itself is the hotspot.
Block marker_block(const std::vector<std::pair<const book::Item*, int>>& markers, const Style& st, const Scheme& sc, double w,
                   const book::ArtMap& art) {
    Block b;
    int n = static_cast<int>(markers.size());
    const double gap = 10;
    double h = 74 * st.scale;
    double y = 3;
    for (int row = 0; row * 2 < n; ++row) {
        int in_row = std::min(2, n - row * 2);
        double pw = in_row == 2 ? (w - gap) / 2 : std::min(w * 0.62, 220.0);
        double x0 = in_row == 2 ? 0 : (w - pw) / 2;
        for (int c = 0; c < in_row; ++c) {
            const auto& [item, number] = markers[static_cast<std::size_t>(row * 2 + c)];
            QRectF r(std::round(x0 + c * (pw + gap)), y, std::floor(pw), std::round(h));
            b.draws.push_back(word_picture(r, sc, *item, art));
            b.units.push_back({UnitKind::Hotspot, number, r});
        }
        y += std::round(h) + gap;
    }
    b.height = y;
    return b;
}

Block exercise_head(const QString& text, const Style& st, const Scheme& sc) {
    Block b;
    Metrics m(page_font(FontRole::ExerciseHead, st.exercise_head()));
    QRectF r(0, 6, m.width(text), m.height());
    b.draws.push_back(shape_draw(Draw::Rule, QRectF(0, 3, 348, 0), sc.colour));
    b.draws.push_back(text_draw(r, text, FontRole::ExerciseHead, st.exercise_head(), sc.colour.darker(140)));
    b.height = r.bottom() + 5;
    b.keep_with_next = true;
    return b;
}

double answer_width(const std::string& answer) {
    // The box shows its text in the window's 15-point serif face.
    QFont f;
    f.setFamilies({"Noto Serif CJK SC", "DejaVu Serif"});
    f.setPixelSize(20);
    return std::max(40.0, QFontMetricsF(f).horizontalAdvance(q(answer)) + 16);
}

// A fill-in box's height: tall enough for the 15-point face the window gives it.
constexpr double kFillInHeight = 24;
// The answer mark of a fill-in box rises this far above the box's top.
constexpr double kFillInMarkRise = 20;
// The box hangs this far below the printed line's baseline, so that what the pupil types stands
// level with the printed words (and its mark no higher than it must); the gap's line is printed
// along its foot, and the baseline lies this far above the row's foot.
constexpr double kGapDrop = 6;
constexpr double kBelowGapLine = 8;

Block fill_block(const book::FillExercise& fill, const Style& st, double w, const Block* above = nullptr) {
    double fs = st.exercise();
    Metrics m(page_font(FontRole::Exercise, fs));
    // Rows leave room for the boxes: the window writes into them in a 15-point face (about 20 px).
    const double row_h = std::max({27.0, m.height() + 8 * st.scale, kFillInHeight + 1});
    QString sentence = q(fill.sentence);
    int at = sentence.indexOf("___");
    QString before = at >= 0 ? sentence.left(at) : sentence + ' ';
    QString after = at >= 0 ? sentence.mid(at).remove(QRegularExpression("^_+")) : QString();
    // Tokens: words (with their following space) and the gap.
    struct Token {
        QString text;
        bool gap;
    };
    std::vector<Token> tokens;
    QString num = QString::number(fill.box) + ".";
    tokens.push_back({num + ' ', false});
    auto add_words = [&](const QString& s) {
        QString cur;
        for (QChar ch : s) {
            cur += ch;
            if (ch == ' ') {
                tokens.push_back({cur, false});
                cur.clear();
            }
        }
        if (!cur.isEmpty()) tokens.push_back({cur, false});
    };
    add_words(before);
    tokens.push_back({QString(), true});
    add_words(after);
    double gw = answer_width(fill.answer);
    double indent = m.width(num + ' ');
    // The line each token goes on, wrapping at the column's width.
    std::vector<int> line_of;
    int gap_line = 0;
    for (double x = 0, line = 0; const Token& t : tokens) {
        double tw = t.gap ? gw : m.width(t.text);
        if (x > indent && x + tw > w) {
            x = indent;
            ++line;
        }
        line_of.push_back(static_cast<int>(line));
        if (t.gap) gap_line = static_cast<int>(line);
        x = t.gap ? std::round(x) + std::round(gw) + 2 : x + tw;
    }
    // Lays the tokens out with the gap's line (and those after it) `lift` lower.
    auto lay = [&](double lift) {
        Block out;
        double x = 0;
        int line = 0;
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            const Token& t = tokens[i];
            double tw = t.gap ? gw : m.width(t.text);
            if (line_of[i] != line) {
                x = indent;
                line = line_of[i];
            }
            double top = 2 + line * row_h + (line >= gap_line ? lift : 0);
            double base = top + row_h - kBelowGapLine;  // the printed line's baseline
            if (t.gap) {
                QRectF box(std::round(x), std::round(base) - kFillInHeight + 1 + kGapDrop, std::round(gw), kFillInHeight);
                out.draws.push_back(shape_draw(Draw::Gap, QRectF(box.left(), box.bottom() - 1, box.width(), 0), kInk, {}, fill.box));
                out.units.push_back({UnitKind::FillIn, fill.box, box});
                x = box.right() + 2;
            } else {
                out.draws.push_back(text_draw(QRectF(x, base - m.ascent() - 1, tw, m.height()), t.text, FontRole::Exercise, fs, kInk));
                x += tw;
            }
        }
        out.height = 2 + (line + 1) * row_h + lift + 4;
        return out;
    };
    // The box's answer mark rises 20 px from the box's top and may not lie on anything printed
    // above it (the lines before in this block, or the block printed right above): the gap's
    // line stands lower by what it takes to keep the mark on blank paper of its own row.
    Block b = lay(0);
    const QRectF box = b.units.front().rect;
    const QRectF mark(box.right() + 5, box.top() - kFillInMarkRise, 20, kFillInMarkRise);
    double lift = 0;
    auto clear_of = [&](QRectF r) {
        if (r.right() > mark.left() && r.left() < mark.right() && r.bottom() + 1 > mark.top()) lift = std::max(lift, r.bottom() + 1 - mark.top());
    };
    for (std::size_t i = 0; i < b.draws.size(); ++i)
        if (line_of[i] < gap_line && b.draws[i].kind == Draw::Text) clear_of(b.draws[i].rect);
    if (above) {
        for (const Draw& d : above->draws)
            if (d.kind == Draw::Text || d.kind == Draw::Gap) clear_of(d.rect.translated(0, -above->height));
        for (const PendingUnit& u : above->units) clear_of(u.rect.translated(0, -above->height));
    }
    return lift > 0 ? lay(std::ceil(lift)) : b;
}

Block tick_block(const book::TickExercise& tick, const Style& st, double w) {
    Block b;
    double fs = st.exercise();
    Metrics m(page_font(FontRole::Exercise, fs));
    // The sentence starts clear of the 20-pixel mark shown 20 pixels right of the box.
    constexpr double kTextLeft = 8 + 20 + 20 + 4;
    QStringList lines = wrap(q(tick.statement), m, w - kTextLeft);
    double th = m.line_spacing() * (lines.size() - 1) + m.height();
    double top = 3;
    QRectF square(8, top + std::max(0.0, (std::min(th, m.height()) - kTickHeight) / 2), kTickWidth, kTickHeight);
    square.moveTop(std::round(square.top()));
    b.draws.push_back(shape_draw(Draw::Square, square, kInk, {}, tick.box));
    b.units.push_back({UnitKind::Tick, tick.box, square});
    double text_top = square.center().y() - m.height() / 2;
    for (int i = 0; i < lines.size(); ++i)
        b.draws.push_back(text_draw(QRectF(kTextLeft, text_top + i * m.line_spacing(), m.width(lines[i]), m.height()), lines[i], FontRole::Exercise, fs, kInk));
    b.height = top + std::max(th, double(kTickHeight)) + 5;
    return b;
}

// Which headings carry a listen icon: headings that open a dialogue, spread over the volume
// (each page's first such heading before any page's second), 31 in all.
std::map<std::pair<int, int>, int> choose_listen_icons(const book::Book& book) {
    constexpr int kIcons = 31;
    std::vector<std::vector<int>> per_page(book.pages.size());
    std::vector<std::vector<int>> spare(book.pages.size());
    for (std::size_t k = 0; k < book.pages.size(); ++k) {
        const auto& items = book.pages[k].items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].kind != book::ItemKind::Heading && items[i].kind != book::ItemKind::Title) continue;
            bool dialogue = i + 1 < items.size() && items[i + 1].kind == book::ItemKind::Line;
            (dialogue ? per_page[k] : spare[k]).push_back(static_cast<int>(i));
        }
    }
    std::vector<std::pair<int, int>> chosen;
    for (auto* lists : {&per_page, &spare}) {
        for (std::size_t round = 0; chosen.size() < kIcons; ++round) {
            bool any = false;
            for (std::size_t k = 0; k < lists->size() && chosen.size() < kIcons; ++k) {
                if (round < (*lists)[k].size()) {
                    chosen.push_back({static_cast<int>(k), (*lists)[k][round]});
                    any = true;
                }
            }
            if (!any) break;
        }
    }
    std::sort(chosen.begin(), chosen.end());
    std::map<std::pair<int, int>, int> numbers;
    std::map<int, int> next;
    for (const auto& c : chosen) numbers[c] = ++next[c.first];
    return numbers;
}

std::string page_word(int printed) {
    if (printed == 2) return "二";
    if (printed == 4) return "四";
    return std::to_string(printed);
}

void add_bands(Spread& s, const Scheme& sc) {
    s.draws.push_back(shape_draw(Draw::Band, QRectF(0, 0, 400, kBandHeight), sc.colour));
    s.draws.push_back(shape_draw(Draw::Band, QRectF(400, 0, 400, kBandHeight), sc.colour));
    s.draws.push_back(text_draw(QRectF(26, 0, 300, kBandHeight), sc.label, FontRole::Band, 11, Qt::white, Qt::AlignLeft | Qt::AlignVCenter));
    s.draws.push_back(text_draw(QRectF(474, 0, 300, kBandHeight), sc.label, FontRole::Band, 11, Qt::white, Qt::AlignRight | Qt::AlignVCenter));
}

Unit make_unit(const Spread& s, const PendingUnit& u, const QPointF& at) {
    QRectF r = u.rect.translated(at);
    Unit out;
    out.kind = u.kind;
    out.number = u.number;
    std::string p = std::to_string(s.printed);
    switch (u.kind) {
        case UnitKind::Hotspot:
            out.name = "透明标签页" + s.page_word + "_" + std::to_string(u.number);
            out.rect = outer_rect(r);
            out.tag = p;
            out.handler = "page_hotspot_pressed";
            out.event = -1;
            break;
        case UnitKind::FillIn:
            out.name = "编辑框" + p + "_" + std::to_string(u.number);
            out.rect = outer_rect(r);
            out.handler = "page_fill_in_changed";
            break;
        case UnitKind::Tick: {
            IRect sq = outer_rect(r);
            out.name = "选择框打钩" + p + "_" + std::to_string(u.number);
            out.rect = {sq.x - kTickShiftX, sq.y - kTickShiftY, kTickWidth, kTickHeight};
            out.handler = "page_tick_clicked";
            break;
        }
        case UnitKind::Listen:
            out.name = "图片框听录音s" + p + "_" + std::to_string(u.number);
            out.rect = outer_rect(r);
            out.rect.w = out.rect.h = kListenSize;
            break;
        case UnitKind::Overlay:
            break;
    }
    return out;
}

struct Placed {
    bool fits = true;
    std::vector<Unit> units;
    std::vector<Draw> draws;
    double free_bottom[2] = {kTop, kTop};
    QString words[2];  // what each printed page says, for its scene
};

// Places the blocks down the left page, then the right one; break_at, when given, is the first
// block of the right page.
Placed place_blocks(const Spread& s, const std::vector<Block>& blocks, std::size_t break_at = SIZE_MAX) {
    Placed out;
    int col = 0;
    double y = kTop;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const Block& b = blocks[i];
        double need = b.height;
        if (b.keep_with_next && i + 1 < blocks.size()) need += std::min(blocks[i + 1].height, 60.0);
        if ((y + need > kBottom && y > kTop) || (i == break_at && col == 0)) {
            // A heading left alone at the foot of the left page goes over with what it heads.
            if (col == 0 && i != break_at && i >= 2 && blocks[i - 1].keep_with_next && break_at == SIZE_MAX)
                return place_blocks(s, blocks, i - 1);
            if (col == 1) {
                out.fits = false;
                return out;
            }
            out.free_bottom[col] = y;
            col = 1;
            y = kTop;
        }
        if (y + b.height > kBottom) {
            out.fits = false;
            return out;
        }
        y = std::ceil(y);
        QPointF at(kColumns[col].x, y);
        for (Draw d : b.draws) {
            d.rect.translate(at);
            out.draws.push_back(d);
        }
        for (const PendingUnit& u : b.units) out.units.push_back(make_unit(s, u, at));
        for (const Draw& d : b.draws)
            if (d.kind == Draw::Text || d.kind == Draw::Picture) out.words[col] += d.text + ' ';
        y += b.height;
    }
    out.free_bottom[col] = y;
    return out;
}

// The largest free corner at the foot of a printed page, clear of everything printed there and of
// every unit: where numbered pictures go on a page too full for a story picture.
QRectF free_corner(const Placed& placed, int col) {
    const double left0 = kColumns[col].x, right = kColumns[col].x + kColumns[col].w;
    QRectF best;
    for (double top = kTop; top < kBottom - 90; top += 2) {
        double left = left0;
        auto clear_of = [&](const QRectF& r) {
            if (r.right() > left0 && r.left() < right && r.bottom() > top) left = std::max(left, r.right() + 6);
        };
        for (const Draw& d : placed.draws) clear_of(d.rect.adjusted(0, 0, 0, d.kind == Draw::Bubble ? d.size : 0));
        for (const Unit& u : placed.units) {
            clear_of(QRectF(u.rect.x, u.rect.y, u.rect.w, u.rect.h));
            // A fill-in box's answer mark shows beside it: the pictures keep clear of it too.
            if (u.kind == UnitKind::FillIn) clear_of(QRectF(u.rect.x + u.rect.w + 5, u.rect.y - kFillInMarkRise, 20, kFillInMarkRise));
        }
        QRectF r(std::ceil(left), top + 4, std::floor(right - left), kBottom - top - 4);
        if (r.width() >= 90 && r.height() >= 90 && r.width() * r.height() > best.width() * best.height()) best = r;
    }
    return best;
}

// The story pictures: each page left mostly blank shows its scene there; the first room on a page
// with numbered pictures holds them instead, or, when the page has none, its largest free corner.
void add_scene(Spread& s, const Placed& placed, const Scheme& sc) {
    bool panels = std::any_of(s.scenes.begin(), s.scenes.end(), [](const book::Scene& sc) { return sc.panel > 0; });
    if (panels && std::none_of(std::begin(placed.free_bottom), std::end(placed.free_bottom), [](double b) { return kBottom - std::ceil(b) - 8 >= 130; })) {
        QRectF corner = free_corner(placed, 1);
        if (corner.isEmpty()) corner = free_corner(placed, 0);
        if (!corner.isEmpty()) s.draws.push_back(shape_draw(Draw::Panels, corner, sc.colour, {}, -1));
        panels = false;
    }
    std::size_t story = 0;
    for (int col = 0; col < 2; ++col) {
        double top = std::ceil(placed.free_bottom[col]) + 8;
        double room = kBottom - top;
        if (room < 130) continue;
        double h = std::min(room, 230.0);
        QRectF r(kColumns[col].x + 20, top + (room - h) / 2, kColumns[col].w - 40, h);
        Draw d = shape_draw(panels ? Draw::Panels : Draw::Scene, r, sc.colour, placed.words[col], -1);
        if (!panels) {
            while (story < s.scenes.size() && s.scenes[story].panel > 0) ++story;
            if (story < s.scenes.size()) d.number = static_cast<int>(story++);
        }
        panels = false;
        s.draws.push_back(d);
    }
}

Spread lay_out_page(const book::Page& page, const std::map<std::pair<int, int>, int>& listens, const book::ArtMap& art) {
    Spread s;
    s.page_index = page.index;
    s.picture = picture_of_page(page.index);
    s.printed = page.printed_left_page();
    s.page_word = page_word(s.printed);
    s.item_count = static_cast<int>(page.items.size());
    s.scenes = page.scenes;
    Scheme sc = scheme_of_page(page.index);
    const double w = kColumns[0].w;

    Placed placed;
    for (Style st; st.scale > 0.35; st.scale *= 0.95) {
        std::vector<Block> blocks;
        bool right = false;
        for (std::size_t i = 0; i < page.items.size();) {
            const book::Item& item = page.items[i];
            int number = static_cast<int>(i) + 1;
            if (item.kind == book::ItemKind::Word || item.kind == book::ItemKind::Marker) {
                std::vector<std::pair<const book::Item*, int>> run;
                std::size_t j = i;
                bool all_markers = true;
                while (j < page.items.size() && run.size() < 16 &&
                       (page.items[j].kind == book::ItemKind::Word || page.items[j].kind == book::ItemKind::Marker)) {
                    all_markers = all_markers && page.items[j].is_marker();
                    run.push_back({&page.items[j], static_cast<int>(j) + 1});
                    ++j;
                }
                blocks.push_back(all_markers && run.size() <= 2 ? marker_block(run, st, sc, w, art) : word_block(run, st, sc, w, art));
                i = j;
                right = false;
                continue;
            }
            if (item.kind == book::ItemKind::Title) {
                blocks.push_back(title_block(item, number, st, sc, w));
            } else if (item.kind == book::ItemKind::Heading) {
                auto l = listens.find({page.index, static_cast<int>(i)});
                blocks.push_back(heading_block(item, number, l == listens.end() ? 0 : l->second, st, sc, w));
                right = false;
            } else {
                blocks.push_back(line_block(item, number, right, st, sc, w));
                right = !right;
            }
            if (item.kind == book::ItemKind::Title) {
                auto l = listens.find({page.index, static_cast<int>(i)});
                if (l != listens.end()) {  // a title with an icon: the icon follows the subtitle
                    Block& tb = blocks.back();
                    QRectF hot = tb.units.front().rect;
                    QRectF icon(std::round(hot.right() + 12), std::round(hot.top() + 4), kListenSize, kListenSize);
                    tb.units.push_back({UnitKind::Listen, l->second, icon});
                }
            }
            ++i;
        }
        if (!page.fills.empty()) {
            blocks.push_back(exercise_head("✏ 填一填", st, sc));
            for (const auto& f : page.fills) blocks.push_back(fill_block(f, st, w, &blocks.back()));
        }
        if (!page.ticks.empty()) {
            blocks.push_back(exercise_head("☑ 对的打钩", st, sc));
            for (const auto& t : page.ticks) blocks.push_back(tick_block(t, st, w));
        }
        placed = place_blocks(s, blocks);
        if (!placed.fits) continue;
        if (placed.free_bottom[1] <= kTop) {
            // Everything fit on the left page: share the blocks out between the two pages, breaking
            // near half the height but never right after a heading.
            double total = 0, half = 0;
            for (const Block& b : blocks) total += b.height;
            std::size_t at = 0;
            for (; at < blocks.size() && half + blocks[at].height / 2 < total / 2; ++at) half += blocks[at].height;
            while (at > 1 && blocks[at - 1].keep_with_next) --at;
            if (at > 0 && at < blocks.size()) {
                Placed shared = place_blocks(s, blocks, at);
                if (shared.fits) placed = shared;
            }
        }
        break;
    }
    s.overflows = !placed.fits;
    add_bands(s, sc);
    add_scene(s, placed, sc);
    for (Draw& d : placed.draws) s.draws.push_back(d);

    // Stored order: hotspots, fill-in boxes, tick boxes, listen icons, then the overlay.
    for (UnitKind kind : {UnitKind::Hotspot, UnitKind::FillIn, UnitKind::Tick, UnitKind::Listen}) {
        std::vector<Unit> some;
        for (const Unit& u : placed.units)
            if (u.kind == kind) some.push_back(u);
        std::stable_sort(some.begin(), some.end(), [](const Unit& a, const Unit& b) { return a.number < b.number; });
        s.units.insert(s.units.end(), some.begin(), some.end());
    }
    Unit overlay;
    overlay.kind = UnitKind::Overlay;
    overlay.number = s.printed <= 4 ? 0 : 1;
    overlay.name = "透明标签练一练是否错误" + std::to_string(s.printed) + "_" + std::to_string(overlay.number);
    overlay.rect = {(s.printed * 7) % 22, (s.printed * 5) % 24 - 4, 20, 20};
    overlay.handler = "practice_overlay_pressed";
    overlay.event = -1;
    s.units.push_back(overlay);
    return s;
}

// The word list: cells of 120 x 13 in four columns per picture, two per printed page.
Spread lay_out_word_list(int picture, const std::vector<book::Cell>& cells) {
    Spread s;
    s.picture = picture;
    s.page_index = page_of_picture(picture);
    s.printed = volume::printed_page(s.page_index);
    s.word_list = true;
    s.page_word = std::to_string(kWordListPage);
    Scheme sc = scheme_of_page(s.page_index);
    add_bands(s, sc);
    static const double col_x[4] = {26, 210, 426, 610};
    const double top = 30, pitch = 19.5;
    // A cell's hotspot is 120 wide; its gloss may run on towards the next column.
    constexpr double kCellReach = 176;
    const QColor ink = kInk;
    for (const book::Cell& c : cells) {
        if (c.picture != picture) continue;
        double x = col_x[c.column];
        double y = std::round(top + c.row * pitch);
        QRectF cell(x, y, 120, 13);
        QString en = q(c.english), zh = q(c.chinese);
        switch (c.kind) {
            case book::CellKind::Heading: {
                double zs = fitted_size(zh, FontRole::ListChinese, kSmallestTextPx, 60);
                double hs = fitted_size(en, FontRole::ListHeading, 11, kCellReach - Metrics(page_font(FontRole::ListChinese, zs)).width(zh) - 5);
                Metrics m(page_font(FontRole::ListHeading, hs));
                s.draws.push_back(text_draw(QRectF(x, y - 2, m.width(en) + 1, 16), en, FontRole::ListHeading, hs, sc.colour.darker(130), Qt::AlignLeft | Qt::AlignVCenter));
                s.draws.push_back(text_draw(QRectF(x + m.width(en) + 4, y - 2, kCellReach, 16), zh, FontRole::ListChinese, zs, ink, Qt::AlignLeft | Qt::AlignVCenter));
                break;
            }
            case book::CellKind::UnitHeader:
                s.draws.push_back(shape_draw(Draw::Band, QRectF(x - 4, y - 1, 160, 15), tint(sc.colour, 0.75)));
                s.draws.push_back(text_draw(QRectF(x, y - 1, 150, 15), en, FontRole::ListHeading, kSmallestTextPx, sc.colour.darker(150), Qt::AlignLeft | Qt::AlignVCenter));
                break;
            case book::CellKind::Word: {
                double es = fitted_size(en, FontRole::ListEnglish, kSmallestTextPx, 112);
                Metrics m(page_font(FontRole::ListEnglish, es));
                double ex = m.width(en);
                double zs = fitted_size(zh, FontRole::ListChinese, kSmallestTextPx, kCellReach - std::max(ex, 60.0) - 4);
                s.draws.push_back(text_draw(QRectF(x, y, ex + 1, 13), en, FontRole::ListEnglish, es, ink, Qt::AlignLeft | Qt::AlignVCenter));
                s.draws.push_back(text_draw(QRectF(x + std::max(ex, 60.0) + 4, y, kCellReach, 13), zh, FontRole::ListChinese, zs, QColor(0x5a, 0x5a, 0x66), Qt::AlignLeft | Qt::AlignVCenter));
                break;
            }
            case book::CellKind::NoteLabel: {
                double ns = fitted_size(en, FontRole::ListHeading, kSmallestTextPx, 90);
                Metrics m(page_font(FontRole::ListHeading, ns));
                double zs = fitted_size(zh, FontRole::ListChinese, kSmallestTextPx, kCellReach - m.width(en) - 4);
                s.draws.push_back(text_draw(QRectF(x, y, m.width(en) + 1, 13), en, FontRole::ListHeading, ns, sc.colour.darker(130), Qt::AlignLeft | Qt::AlignVCenter));
                s.draws.push_back(text_draw(QRectF(x + m.width(en) + 4, y, kCellReach, 13), zh, FontRole::ListChinese, zs, ink, Qt::AlignLeft | Qt::AlignVCenter));
                break;
            }
            case book::CellKind::WritingLine:
                s.draws.push_back(shape_draw(Draw::Rule, QRectF(x, y + 13, 160, 0), QColor(0xb0, 0xb4, 0xbc)));
                break;
            case book::CellKind::Empty:
                break;
        }
        if (c.is_hotspot()) {
            Unit u;
            u.kind = UnitKind::Hotspot;
            u.number = c.number;
            u.name = "透明标签页" + s.page_word + "_" + std::to_string(c.number);
            u.rect = {static_cast<int>(x), static_cast<int>(y), 120, 13};
            if (c.has_clip()) {
                u.handler = "wordlist_hotspot_pressed";
                u.event = -1;
            }
            s.units.push_back(u);
            ++s.item_count;
        }
    }
    if (picture == 36) {  // the space under the word grid: a quiet shelf of books
        static const book::Artwork shelf = [] {
            book::Artwork a;
            std::string error;
            book::parse_artwork("books + open-book + potted-plant + notebook + books", a, error);
            return a;
        }();
        Draw d = shape_draw(Draw::Picture, QRectF(46, 460, 308, 32), sc.colour, "books");
        d.art = &shelf;
        s.draws.push_back(d);
    }
    return s;
}

}  // namespace

Volume lay_out(const book::Book& book) {
    Volume v;
    auto listens = choose_listen_icons(book);
    for (const book::Page& page : book.pages) {
        v.spreads.push_back(lay_out_page(page, listens, book.art));
        v.spreads.back().cast = book.characters;
        v.spreads.back().things = book.things;
    }
    auto cells = book::wordlist_cells(book);
    v.spreads.push_back(lay_out_word_list(35, cells));
    v.spreads.push_back(lay_out_word_list(36, cells));
    return v;
}

}  // namespace tb::layout
