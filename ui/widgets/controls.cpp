#include "ui/widgets/controls.hpp"

#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QMovie>
#include <QScreen>
#include <QFontMetrics>
#include <QFontInfo>
#include <QIcon>
#include <QFontMetricsF>
#include <QPainter>
#include <QStackedWidget>
#include <QStyleOption>
#include <QTabBar>
#include <QTextCursor>
#include <QtMath>
#include <algorithm>

#include "ui/widgets/pictures/pictures.hpp"
#include "runtime/bytes.hpp"
#include "runtime/platform.hpp"

namespace tb::ui::detail {

// ---- conversions ----------------------------------------------------------------------------

std::int32_t as_int(const Value& v) {
    if (auto p = std::get_if<std::int32_t>(&v)) return *p;
    if (auto p = std::get_if<Text>(&v)) return static_cast<std::int32_t>(text_number(*p));
    if (auto p = std::get_if<Blob>(&v)) return bytes::Reader(*p).i32();
    return 0;
}

Text as_text(const Value& v) {
    if (auto p = std::get_if<std::int32_t>(&v)) return number_text(*p);
    if (auto p = std::get_if<Text>(&v)) return *p;
    if (auto p = std::get_if<Blob>(&v)) return Text(p->begin(), p->end());
    return std::get<Font>(v).face;
}

Blob as_blob(const Value& v) {
    if (auto p = std::get_if<Blob>(&v)) return *p;
    if (auto p = std::get_if<Text>(&v)) return Blob(p->begin(), p->end());
    if (auto p = std::get_if<std::int32_t>(&v)) {
        Blob b;
        bytes::put_i32(b, *p);
        return b;
    }
    return {};
}

bool as_bool(const Value& v) { return as_int(v) != 0; }

int as_pick(const Value& v, int low, int high) { return std::clamp<int>(as_int(v), low, high); }

QString qs(const Text& gbk_text) {
    std::string u = utf8(gbk_text);
    return QString::fromUtf8(u.data(), static_cast<qsizetype>(u.size()));
}

Text tx(const QString& s) {
    QByteArray u = s.toUtf8();
    return gbk(std::string_view(u.constData(), static_cast<std::size_t>(u.size())));
}

QColor colour_of(std::uint32_t c, const QColor& fallback) {
    if (c == kDefaultColour || (c & 0xFF000000u) != 0) return fallback;
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

namespace {
// A control's get_own for its one property of its own: the value when asked for that index.
bool own_property(int index, int own_index, Value value, Value& out) {
    if (index != own_index) return false;
    out = std::move(value);
    return true;
}

bool default_face(const Text& face) { return face.empty() || face.size() >= 32; }

Font normalised(Font f) {
    f.angle = ((f.angle % 3600) + 3600) % 3600;
    if (default_face(f.face)) f.face.clear();
    return f;
}
}  // namespace

QFont font_of(const FontBlob& f) {
    QFont q = QApplication::font();
    if (!f) return q;
    if (!default_face(f->face)) q.setFamily(qs(f->face));
    if (f->size_pt > 0) q.setPointSize(f->size_pt);
    q.setBold(f->bold);
    q.setItalic(f->italic);
    q.setUnderline(f->underline);
    q.setStrikeOut(f->strike_out);
    return q;
}

Value font_value(const FontBlob& f, int member) {
    Font x = f ? *f : Font{};
    switch (member) {
        case font_member::kAngle: return std::int32_t(x.angle);
        case font_member::kBold: return std::int32_t(x.bold);
        case font_member::kItalic: return std::int32_t(x.italic);
        case font_member::kStrikeOut: return std::int32_t(x.strike_out);
        case font_member::kUnderline: return std::int32_t(x.underline);
        case font_member::kSize: return std::int32_t(x.size_pt);
        case font_member::kFace: return x.face;
        default: return x;
    }
}

void font_assign(FontBlob& f, int member, const Value& v) {
    Font x = f ? *f : Font{};
    switch (member) {
        case font_member::kAngle: x.angle = as_int(v); break;
        case font_member::kBold: x.bold = as_bool(v); break;
        case font_member::kItalic: x.italic = as_bool(v); break;
        case font_member::kStrikeOut: x.strike_out = as_bool(v); break;
        case font_member::kUnderline: x.underline = as_bool(v); break;
        case font_member::kSize: x.size_pt = as_int(v); break;
        case font_member::kFace: x.face = as_text(v); break;
        default:
            if (auto p = std::get_if<Font>(&v)) x = *p;
            else return;  // only a font replaces a whole font
    }
    f = normalised(std::move(x));
}

QImage decode_picture_bytes(const Blob& bytes, QSize target) {
    if (bytes.empty()) return {};
    return media::decode_picture_cached(bytes, target);
}

QSize device_pixel_size(QSize logical, qreal ratio) {
    if (logical.isEmpty() || !(ratio > 0)) return logical;
    return QSize(qCeil(logical.width() * ratio), qCeil(logical.height() * ratio));
}

QImage decode_picture_for_box(const Blob& bytes, QSize box, qreal ratio) {
    const QSize pixels = device_pixel_size(box, ratio);
    QImage img = decode_picture_bytes(bytes, pixels);
    if (img.isNull()) return img;
    if (img.size() != pixels) img = img.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    img.setDevicePixelRatio(ratio);
    return img;
}

namespace {
bool is_gif(const Blob& b) { return b.size() > 6 && b[0] == 'G' && b[1] == 'I' && b[2] == 'F' && b[3] == '8'; }

// Draws an image in a box: scaled to it (mode 1), or at its own size from the top left.
void draw_picture(QPainter& p, const QRect& box, const QImage& img, int mode) {
    if (img.isNull()) return;
    if (mode == 1 || img.size() == box.size()) p.drawImage(box, img);
    else if (mode == 2) p.drawImage(box.center() - QPoint(img.width() / 2, img.height() / 2), img);
    else p.drawImage(box.topLeft(), img);
}

Qt::Alignment halign(std::uint32_t a) {
    return a == 1 ? Qt::AlignHCenter : a == 2 ? Qt::AlignRight : Qt::AlignLeft;
}
Qt::Alignment valign(std::uint32_t a) {
    return a == 1 ? Qt::AlignVCenter : a == 2 ? Qt::AlignBottom : Qt::AlignTop;
}

void set_text_colour(QWidget* w, std::uint32_t colour, QPalette::ColorRole role) {
    QPalette pal = w->palette();
    pal.setColor(role, colour_of(colour, QApplication::palette().color(role)));
    w->setPalette(pal);
}

void set_background(QWidget* w, std::uint32_t colour, QPalette::ColorRole role) {
    QPalette pal = w->palette();
    pal.setColor(role, colour_of(colour, QApplication::palette().color(role)));
    w->setPalette(pal);
}
}  // namespace

// ---- block fields as properties -------------------------------------------------------------

namespace {
// Visitors over a block's field list that read or write the field a property index names.
// Fields without a property index, and kinds that are no property, are passed over.
struct PassesOverNonProperties {
    template <typename... A> void version_words(A&&...) {}
    template <typename... A> void word_list(A&&...) {}
    template <typename... A> void text_list(A&&...) {}
    template <typename... A> void inline_font(A&&...) {}
    template <typename... A> void page_table(A&&...) {}
    template <typename... A> void bytes(A&&...) {}
};

class FieldGetter : public PassesOverNonProperties {
public:
    FieldGetter(int index, int member, Value& out) : index_(index), member_(member), out_(out) {}
    bool found = false;
    void word(std::uint32_t v, Field f) { give(f, std::int32_t(v)); }
    void flag(std::uint32_t v, Field f) { give(f, std::int32_t(v != 0)); }
    void pick(std::uint32_t v, std::uint32_t, Field f) { give(f, std::int32_t(v)); }
    void text(const Text& v, Field f) { give(f, v); }
    void blob(const Blob& v, Field f) { give(f, v); }
    void font(const FontBlob& v, Field f) {
        if (f.property == index_) give(f, font_value(v, member_));
    }
    template <std::size_t N> void words(const std::array<std::uint32_t, N>& v, Field f) {
        if (f.property >= 0 && index_ >= f.property && index_ < f.property + int(N))
            give(Field{f.key, index_}, std::int32_t(v[std::size_t(index_ - f.property)]));
    }

private:
    void give(Field f, Value v) {
        if (f.property != index_) return;
        out_ = std::move(v);
        found = true;
    }
    int index_, member_;
    Value& out_;
};

class FieldSetter : public PassesOverNonProperties {
public:
    FieldSetter(int index, int member, const Value& v) : index_(index), member_(member), v_(v) {}
    bool found = false;
    void word(std::uint32_t& v, Field f) {
        if (hit(f)) v = std::uint32_t(as_int(v_));
    }
    void flag(std::uint32_t& v, Field f) {
        if (hit(f)) v = as_bool(v_);
    }
    void pick(std::uint32_t& v, std::uint32_t high, Field f) {
        if (hit(f)) v = std::uint32_t(as_pick(v_, 0, int(high)));
    }
    void text(Text& v, Field f) {
        if (hit(f)) v = as_text(v_);
    }
    void blob(Blob& v, Field f) {
        if (hit(f)) v = as_blob(v_);
    }
    void font(FontBlob& v, Field f) {
        if (hit(f)) font_assign(v, member_, v_);
    }
    template <std::size_t N> void words(std::array<std::uint32_t, N>& v, Field f) {
        if (f.property >= 0 && index_ >= f.property && index_ < f.property + int(N) && hit(Field{f.key, index_}))
            v[std::size_t(index_ - f.property)] = std::uint32_t(as_int(v_));
    }

private:
    bool hit(Field f) {
        if (f.property != index_ || found) return false;
        found = true;
        return true;
    }
    int index_, member_;
    const Value& v_;
};

// The value of the block's field with this property index; false when it has none.
template <typename Block>
bool get_field(const Block& b, int index, int member, Value& out) {
    FieldGetter g(index, member, out);
    Block::visit(b, g);
    return g.found;
}

// Writes the block's field with this property index, converted to its kind; false when none.
template <typename Block>
bool set_field(Block& b, int index, int member, const Value& v) {
    FieldSetter s(index, member, v);
    Block::visit(b, s);
    return s.found;
}
}  // namespace

// ---- window ---------------------------------------------------------------------------------

WindowFrame::WindowFrame(std::uint32_t window, std::uint32_t unit, WindowBlock block)
    : QWidget(nullptr), UnitBehaviour(window, unit), block_(std::move(block)) {
    setWindowTitle(qs(block_.caption));
    if (!block_.background.empty()) background_ = decode_picture_bytes(block_.background, {});
}

bool WindowFrame::get_own(int index, int, Value& out) {
    if (index == prop::kWindowState) {
        auto s = windowState();
        out = std::int32_t(s & Qt::WindowMaximized ? 3 : s & Qt::WindowMinimized ? 2 : 0);
        return true;
    }
    return false;
}

void WindowFrame::set_own(int index, int, const Value& v) {
    if (index != prop::kWindowState) return;
    int s = as_pick(v, 0, 3);
    // Without a window manager (a kiosk session, a bare X server) maximising does nothing, so the
    // window also takes the screen's free area itself; a window manager's maximising agrees.
    if (s == 3 && !(windowState() & Qt::WindowMaximized)) {
        if (QScreen* sc = screen()) setGeometry(sc->availableGeometry());
    }
    setWindowState(s == 3 ? Qt::WindowMaximized : s == 2 ? Qt::WindowMinimized : Qt::WindowNoState);
}

void WindowFrame::closeEvent(QCloseEvent* e) {
    e->accept();
    if (!closing_by_program) window_closed_by_user(window_id_, this);
}

void WindowFrame::paintEvent(QPaintEvent*) {
    if (background_.isNull()) return;
    QPainter p(this);
    p.drawImage(rect(), background_);
}

// ---- transparent label ----------------------------------------------------------------------

namespace {
// Where a transparent label's caption reaches past the label, this sibling (stacked just under
// it, blind to the mouse) draws it: a control can paint only inside itself.
class CaptionOverflow : public QWidget {
public:
    CaptionOverflow(TransLabelWidget* label, QWidget* parent) : QWidget(parent), label_(label) {
        setAttribute(Qt::WA_NoSystemBackground);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (!label_) return;
        QPainter p(this);
        label_->paint_caption(p, label_->pos() - pos());
    }

private:
    QPointer<TransLabelWidget> label_;
};

// The shadow copies of the text effects reach this far right and down.
constexpr int kEffectReach = 2;
}  // namespace

TransLabelWidget::TransLabelWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, TransLabelBlock block)
    : QWidget(parent), UnitBehaviour(window, unit), block_(std::move(block)) {
    // No background of its own: the page picture under it shows through.
    setAttribute(Qt::WA_NoSystemBackground);
    block_.effect = std::min<std::uint32_t>(block_.effect, 3);
    block_.halign = std::min<std::uint32_t>(block_.halign, 2);
    block_.valign = std::min<std::uint32_t>(block_.valign, 2);
    caption_ = qs(block_.caption);
}

TransLabelWidget::~TransLabelWidget() { delete overflow_.data(); }

bool TransLabelWidget::get_own(int index, int member, Value& out) { return get_field(block_, index, member, out); }

void TransLabelWidget::set_own(int index, int member, const Value& v) {
    if (!set_field(block_, index, member, v)) return;
    if (index == prop::kTransCaption) caption_ = qs(block_.caption);
    // Not opaque, so Qt repaints the parent and the siblings under this rectangle as well.
    place_caption();
    update();
}

void TransLabelWidget::disabled_changed(bool disabled) {
    // A disabled label lies over hotspots without taking their presses.
    setAttribute(Qt::WA_TransparentForMouseEvents, disabled);
}

int TransLabelWidget::text_flags() const {
    int flags = int(halign(block_.halign)) | Qt::TextDontClip;
    flags |= block_.wrap ? int(Qt::AlignTop | Qt::TextWordWrap) : int(valign(block_.valign) | Qt::TextSingleLine);
    return flags;
}

// The caption is laid out in the label's rectangle but never clipped to it: what reaches past
// the label is drawn by an overflow sibling covering the caption's whole extent.
void TransLabelWidget::place_caption() {
    QWidget* parent = parentWidget();
    QRect extent = rect();
    if (!caption_.isEmpty()) {
        const QRect text = QFontMetrics(font_of(block_.font)).boundingRect(rect(), text_flags(), caption_);
        extent |= text.adjusted(0, 0, kEffectReach, kEffectReach);
    }
    if (extent == rect() || !parent) {
        if (overflow_) {
            delete overflow_.data();
            update();
        }
        return;
    }
    if (!overflow_) overflow_ = new CaptionOverflow(this, parent);
    overflow_->setGeometry(extent.translated(pos()));
    overflow_->stackUnder(this);
    overflow_->setVisible(isVisible());
    overflow_->update();
}

void TransLabelWidget::hideEvent(QHideEvent*) {
    if (overflow_) overflow_->hide();
}

void TransLabelWidget::paintEvent(QPaintEvent*) {
    if (overflow_) return;  // the overflow sibling draws the caption
    QPainter p(this);
    paint_caption(p, QPoint());
}

void TransLabelWidget::paint_caption(QPainter& p, QPoint origin) const {
    if (caption_.isEmpty()) return;
    p.setFont(font_of(block_.font));
    const int flags = text_flags();
    const QRect r = rect().translated(origin);
    auto draw = [&](QPoint offset, const QColor& c) {
        p.setPen(c);
        p.drawText(r.translated(offset), flags, caption_);
    };
    switch (block_.effect) {
        case 1: draw({1, 1}, Qt::white); draw({0, 0}, colour_of(block_.colour, Qt::black)); break;
        case 2: draw({0, 0}, Qt::white); draw({1, 1}, colour_of(block_.colour, Qt::black)); break;
        case 3: draw({2, 2}, Qt::black); draw({0, 0}, colour_of(block_.colour, Qt::black)); break;
        default: draw({0, 0}, colour_of(block_.colour, Qt::black)); break;
    }
}

void TransLabelWidget::mousePressEvent(QMouseEvent* e) { e->accept(); }

// ---- picture box ----------------------------------------------------------------------------

PicBoxWidget::PicBoxWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, PicBoxBlock block)
    : QWidget(parent), UnitBehaviour(window, unit), block_(std::move(block)) {
    block_.border = std::min<std::uint32_t>(block_.border, 5);
    block_.display_mode = std::min<std::uint32_t>(block_.display_mode, 2);
    picture_changed();
}

PicBoxWidget::~PicBoxWidget() {
    if (movie_) movie_->stop();
}

void PicBoxWidget::picture_changed() {
    decoded_ = false;
    image_ = {};
    if (movie_) movie_->stop();
    movie_.reset();
    movie_tried_ = false;
    if (isVisible()) start_movie();
    update();
}

bool PicBoxWidget::may_animate() const { return block_.animate && is_gif(block_.picture); }

// An animation opens when its box is first shown: opening it loads the toolkit's GIF reader, which
// a hidden loading mark does not need before its window is up.
void PicBoxWidget::start_movie() {
    if (movie_tried_ || !may_animate()) return;
    movie_tried_ = true;
    if (!media::is_animated(block_.picture)) return;
    movie_.reset(media::open_movie(block_.picture, this));
    if (movie_) {
        movie_->setCacheMode(QMovie::CacheAll);
        QObject::connect(movie_.get(), &QMovie::frameChanged, this, [this] { update(); });
        movie_->start();
    }
}

void PicBoxWidget::showEvent(QShowEvent*) { start_movie(); }

bool PicBoxWidget::get_own(int index, int member, Value& out) { return get_field(block_, index, member, out); }

void PicBoxWidget::set_own(int index, int member, const Value& v) {
    const bool animating = block_.animate != 0;
    if (!set_field(block_, index, member, v)) return;
    switch (index) {
        case prop::kPicPicture: picture_changed(); return;
        case prop::kPicDisplayMode: decoded_ = false; break;
        case prop::kPicAnimate:
            if (animating != (block_.animate != 0)) picture_changed();
            return;
        case 13: case 14: return;  // data-source names: nothing to show
    }
    update();
}

void PicBoxWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (block_.background != kDefaultColour) p.fillRect(rect(), colour_of(block_.background, Qt::white));
    int mode = int(block_.display_mode);
    if (movie_) {
        draw_picture(p, rect(), movie_->currentImage(), mode);
    } else if (!block_.picture.empty()) {
        // Decoded on first paint, at the box's size in device pixels when scaled: only the page
        // shown pays, and a high-density screen gets the page's own detail, not an enlargement.
        const qreal ratio = devicePixelRatioF();
        QSize target = mode == 1 ? device_pixel_size(size(), ratio) : QSize();
        if (!decoded_ || target != image_target_) {
            image_ = mode == 1 ? decode_picture_for_box(block_.picture, size(), ratio)
                               : decode_picture_bytes(block_.picture, target);
            image_target_ = target;
            decoded_ = true;
        }
        draw_picture(p, rect(), image_, mode);
    }
    if (block_.border != 0) {
        p.setPen(block_.border == 1 ? palette().color(QPalette::Dark) : palette().color(QPalette::Mid));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void PicBoxWidget::mousePressEvent(QMouseEvent* e) { e->accept(); }

void PicBoxWidget::hideEvent(QHideEvent*) {
    // Pages not shown keep only their bytes; the picture cache holds the last few decodes.
    image_ = {};
    decoded_ = false;
}

// ---- drawing panel --------------------------------------------------------------------------

DrawPanelWidget::DrawPanelWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, DrawPanelBlock block)
    : QWidget(parent), UnitBehaviour(window, unit), block_(std::move(block)) {
    if (!block_.picture.empty()) image_ = decode_picture_bytes(block_.picture, {});
}

void DrawPanelWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (block_.background != kDefaultColour) p.fillRect(rect(), colour_of(block_.background, Qt::white));
    if (!image_.isNull()) p.drawImage(rect(), image_);
}

void DrawPanelWidget::mousePressEvent(QMouseEvent* e) { e->accept(); }

// ---- label ----------------------------------------------------------------------------------

LabelWidget::LabelWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, LabelBlock block)
    : QLabel(parent), UnitBehaviour(window, unit), block_(std::move(block)) {
    block_.alignment = std::min<std::uint32_t>(block_.alignment, 2);
    block_.valign = std::min<std::uint32_t>(block_.valign, 2);
    set_text_colour(this, block_.text_colour, QPalette::WindowText);
    if (block_.background != kDefaultColour) {
        set_background(this, block_.background, QPalette::Window);
        setAutoFillBackground(true);
    }
    if (block_.border) setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setText(qs(block_.caption));
    apply();
}

void LabelWidget::apply() {
    setFont(font_of(block_.font));
    setAlignment(halign(block_.alignment) | valign(block_.valign));
    setWordWrap(block_.wrap != 0);
}

bool LabelWidget::get_own(int index, int member, Value& out) { return get_field(block_, index, member, out); }

void LabelWidget::set_own(int index, int member, const Value& v) {
    if (!set_field(block_, index, member, v)) return;
    if (index == prop::kLabelCaption) setText(qs(block_.caption));
    else apply();
}

void LabelWidget::mousePressEvent(QMouseEvent* e) { e->accept(); }

// ---- group box, button, check box -----------------------------------------------------------

GroupBoxWidget::GroupBoxWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, GroupBoxBlock block)
    : QGroupBox(qs(block.caption), parent), UnitBehaviour(window, unit) {
    set_text_colour(this, block.text_colour, QPalette::WindowText);
    setFont(font_of(block.font));
}

bool GroupBoxWidget::get_own(int index, int, Value& out) { return own_property(index, prop::kCaption, tx(title()), out); }

void GroupBoxWidget::set_own(int index, int, const Value& v) {
    if (index == prop::kCaption) setTitle(qs(as_text(v)));
}

void GroupBoxWidget::mousePressEvent(QMouseEvent* e) { e->accept(); }

ButtonWidget::ButtonWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, ButtonBlock block)
    : QPushButton(qs(block.caption), parent), UnitBehaviour(window, unit) {
    setFont(font_of(block.font));
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { fire(0); });
}

bool ButtonWidget::get_own(int index, int, Value& out) { return own_property(index, prop::kCaption, tx(text()), out); }

void ButtonWidget::set_own(int index, int, const Value& v) {
    if (index == prop::kCaption) setText(qs(as_text(v)));
}

CheckBoxWidget::CheckBoxWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, CheckBoxBlock block)
    : QCheckBox(qs(block.caption), parent), UnitBehaviour(window, unit) {
    setChecked(block.checked != 0);
    set_text_colour(this, block.text_colour, QPalette::WindowText);
    setFont(font_of(block.font));
    // Qt has flipped the state by the time clicked arrives: handlers read the new state.
    connect(this, &QCheckBox::clicked, this, [this] { fire(0); });
}

bool CheckBoxWidget::get_own(int index, int, Value& out) {
    if (index == prop::kCheckCaption) out = tx(text());
    else if (index == prop::kChecked) out = std::int32_t(isChecked());
    else return false;
    return true;
}

void CheckBoxWidget::set_own(int index, int, const Value& v) {
    if (index == prop::kCheckCaption) setText(qs(as_text(v)));
    else if (index == prop::kChecked) setChecked(as_bool(v));
}

// ---- combo box ------------------------------------------------------------------------------

ComboBoxWidget::ComboBoxWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, ComboBoxBlock block)
    : QComboBox(parent), UnitBehaviour(window, unit), item_data_(std::move(block.item_data)) {
    setEditable(block.options[0] != 2 && block.options[0] != 0 ? true : false);
    setFont(font_of(block.font));
    for (const Text& t : block.items) addItem(qs(t));
    int at = -1;
    for (int i = 0; i < count(); ++i)
        if (!block.current_text.empty() && block.items[std::size_t(i)] == block.current_text) at = i;
    setCurrentIndex(at);
    // A pick by the pupil; a write of the selection by the program raises nothing.
    connect(this, qOverload<int>(&QComboBox::activated), this, [this](int) { fire(0); });
}

std::int32_t ComboBoxWidget::item_data(int item) const {
    if (item < 0 || item >= count() || std::size_t(item) >= item_data_.size()) return -1;
    return std::int32_t(item_data_[std::size_t(item)]);
}

// A narrow drop-down box ("Recycle 1" in 60 px) keeps its choice whole: the frame is the style's,
// the arrow a small one of ours, and the choice is set smaller only as far as it must be.
constexpr int kComboArrowWidth = 7;
constexpr int kSmallestChoicePx = 8;

QRect ComboBoxWidget::choice_rect() const { return rect().adjusted(4, 1, -(kComboArrowWidth + 5), -1); }

QFont ComboBoxWidget::choice_font() const {
    QFont f = font();
    int px = QFontInfo(f).pixelSize();
    f.setPixelSize(px);
    while (px > kSmallestChoicePx && QFontMetrics(f).horizontalAdvance(currentText()) > choice_rect().width())
        f.setPixelSize(--px);
    return f;
}

void ComboBoxWidget::paintEvent(QPaintEvent* e) {
    if (isEditable()) return QComboBox::paintEvent(e);
    QPainter p(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    opt.subControls = QStyle::SC_ComboBoxFrame;
    opt.currentText.clear();
    opt.currentIcon = QIcon();
    style()->drawComplexControl(QStyle::CC_ComboBox, &opt, &p, this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    const QPointF tip(width() - 4 - kComboArrowWidth / 2.0, height() / 2.0 + 2);
    p.drawPolygon(QPolygonF({tip + QPointF(-kComboArrowWidth / 2.0, -4), tip + QPointF(kComboArrowWidth / 2.0, -4), tip}));
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.setFont(choice_font());
    p.drawText(choice_rect(), Qt::AlignLeft | Qt::AlignVCenter, currentText());
}

bool ComboBoxWidget::get_own(int index, int, Value& out) {
    return own_property(index, prop::kComboSelection, std::int32_t(currentIndex()), out);
}

void ComboBoxWidget::set_own(int index, int, const Value& v) {
    if (index != prop::kComboSelection) return;
    int i = as_int(v);
    setCurrentIndex(i >= 0 && i < count() ? i : -1);
}

// ---- edit boxes -----------------------------------------------------------------------------

namespace {
bool get_edit(const EditBoxBlock& b, const Text& content, int index, int member, Value& out) {
    if (index != prop::kEditContent) return get_field(b, index, member, out);
    out = content;
    return true;
}
}  // namespace

EditLineWidget::EditLineWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, EditBoxBlock block)
    : QLineEdit(parent), UnitBehaviour(window, unit), block_(std::move(block)) {
    setText(qs(block_.content));
    setReadOnly(block_.read_only != 0);
    if (block_.password) setEchoMode(QLineEdit::Password);
    if (block_.max_length > 0) setMaxLength(int(std::min<std::uint32_t>(block_.max_length, 32767)));
    setFrame(block_.border != 0);
    setAlignment(halign(block_.halign) | Qt::AlignVCenter);
    apply_colours();
    connect(this, &QLineEdit::textEdited, this, [this] { fire(0); });
}

void EditLineWidget::apply_colours() {
    setFont(font_of(block_.font));
    set_text_colour(this, block_.text_colour, QPalette::Text);
    set_background(this, block_.background, QPalette::Base);
    fit_text_margins();
}

void EditLineWidget::resizeEvent(QResizeEvent* e) {
    QLineEdit::resizeEvent(e);
    fit_text_margins();
}

// The Chinese faces have a line far taller than their letters: in a box lower than that line the
// line edit centres the whole line and cuts off what hangs below the baseline (g, j, p, q, y).
// When the line does not fit, the margins move it so that the ink itself (capitals, Chinese and
// descenders) sits in the middle of the box; they may reach over the frame, never past the box.
void EditLineWidget::fit_text_margins() {
    setTextMargins(0, 0, 0, 0);
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect content = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const QFontMetrics fm(font());
    if (fm.height() <= content.height()) return;
    const QRect ink = fm.tightBoundingRect(QStringLiteral("Hgjpqy\u56fd"));
    const int above = -ink.top();      // ink over the baseline
    const int below = ink.bottom() + 1; // ink under it
    // The line edit puts the baseline at top + (height - line + 1) / 2 + ascent of the margined
    // rectangle; this difference of the two margins puts it where the ink is centred.
    const int bottom = -(rect().bottom() - content.bottom());
    const int top = bottom + above - below - 2 * fm.ascent() + fm.height() - 1;
    setTextMargins(0, top, 0, bottom);
}

bool EditLineWidget::get_own(int index, int member, Value& out) {
    return get_edit(block_, tx(text()), index, member, out);
}

void EditLineWidget::set_own(int index, int member, const Value& v) {
    switch (index) {
        case prop::kEditContent:
            setText(qs(as_text(v)));
            fire(0, false);  // a write of the content is a change like typing
            return;
    }
    if (set_field(block_, index, member, v)) apply_colours();
}

EditTextWidget::EditTextWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, EditBoxBlock block)
    : QPlainTextEdit(parent), UnitBehaviour(window, unit), block_(std::move(block)) {
    writing_ = true;
    setPlainText(qs(block_.content));
    writing_ = false;
    setReadOnly(block_.read_only != 0);
    if (!block_.border) setFrameStyle(QFrame::NoFrame);
    apply_colours();
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!writing_) fire(0);
    });
}

void EditTextWidget::apply_colours() {
    setFont(font_of(block_.font));
    set_text_colour(this, block_.text_colour, QPalette::Text);
    set_background(this, block_.background, QPalette::Base);
}

bool EditTextWidget::get_own(int index, int member, Value& out) {
    // Line breaks as the program's texts hold them.
    return get_edit(block_, tx(toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"))), index, member, out);
}

void EditTextWidget::set_own(int index, int member, const Value& v) {
    switch (index) {
        case prop::kEditContent: {
            QString t = qs(as_text(v));
            t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            writing_ = true;
            setPlainText(t);
            writing_ = false;
            fire(0, false);
            return;
        }
    }
    if (set_field(block_, index, member, v)) apply_colours();
}

// ---- rich edit ------------------------------------------------------------------------------

RichEditWidget::RichEditWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, RichEditBlock block)
    : QTextEdit(parent), UnitBehaviour(window, unit), block_(std::move(block)) {
    setAcceptRichText(false);
    QString t = qs(block_.content);
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    setPlainText(t);
    setReadOnly(block_.read_only != 0);
    set_background(this, block_.background, QPalette::Base);
    apply_format();
}

void RichEditWidget::apply_format() {
    QTextCharFormat f;
    f.setFont(font_of(block_.font));
    f.setForeground(colour_of(block_.text_colour, QApplication::palette().color(QPalette::Text)));
    QTextCursor c(document());
    c.select(QTextCursor::Document);
    c.setCharFormat(f);
    setCurrentCharFormat(f);
}

bool RichEditWidget::get_own(int index, int member, Value& out) {
    switch (index) {
        case prop::kCaption: out = tx(toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"))); return true;
    }
    return get_field(block_, index, member, out);
}

void RichEditWidget::set_own(int index, int member, const Value& v) {
    switch (index) {
        case prop::kCaption: {
            QString t = qs(as_text(v));
            t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            setPlainText(t);
            apply_format();
            return;
        }
    }
    if (set_field(block_, index, member, v)) apply_format();
}

// ---- picture button -------------------------------------------------------------------------

SuperButton::SuperButton(std::uint32_t window, std::uint32_t unit, QWidget* parent, SuperBtnBlock block)
    : QAbstractButton(parent), UnitBehaviour(window, unit), block_(std::move(block)) {
    block_.style = std::min<std::uint32_t>(block_.style, 2);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
    setText(qs(block_.caption));
    setToolTip(qs(block_.tooltip));
    setFont(font_of(block_.font));
    connect(this, &QAbstractButton::clicked, this, [this] { on_clicked(); });
}

void SuperButton::on_clicked() {
    // Sound first (never waited for), then the toggle, then the handler.
    if (!block_.click_sound.empty()) play_sound(block_.click_sound, false);
    if (block_.toggle) {
        block_.checked = !block_.checked;
        update();
    }
    fire(0);
}

const QImage& SuperButton::picture(int state) {
    const Blob* b[3] = {&block_.picture0, &block_.picture1, &block_.picture2};
    const QSize pixels = device_pixel_size(size(), devicePixelRatioF());
    if (image_size_[state] != pixels) {
        images_[state] = decode_picture_for_box(*b[state], size(), devicePixelRatioF());
        image_size_[state] = pixels;
    }
    return images_[state];
}

bool SuperButton::get_own(int index, int member, Value& out) { return get_field(block_, index, member, out); }

void SuperButton::set_own(int index, int member, const Value& v) {
    if (!set_field(block_, index, member, v)) return;
    switch (index) {
        case prop::kBtnPicture0: image_size_[0] = {}; break;
        case prop::kBtnPicture1: image_size_[1] = {}; break;
        case prop::kBtnPicture2: image_size_[2] = {}; break;
        case prop::kBtnFont: setFont(font_of(block_.font)); break;
        case prop::kBtnCaption: setText(qs(block_.caption)); break;
        case prop::kBtnTooltip: setToolTip(qs(block_.tooltip)); break;
    }
    update();
}

bool SuperButton::event(QEvent* e) {
    if (e->type() == QEvent::HoverEnter || e->type() == QEvent::HoverLeave) update();
    return QAbstractButton::event(e);
}

void SuperButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    bool enabled = isEnabled();
    bool hot = enabled && (isDown() || underMouse() || (block_.toggle && block_.checked));
    const QImage* img = nullptr;
    if (!enabled && !block_.picture2.empty()) img = &picture(2);
    else if (hot && !block_.picture1.empty()) img = &picture(1);
    else if (!block_.picture0.empty()) img = &picture(0);
    bool dim = !enabled && block_.picture2.empty();
    if (dim) p.setOpacity(0.45);
    QRect r = rect();
    if (img && !img->isNull()) {
        p.drawImage(r, *img);
    } else {
        // A calm face of its own: a light panel with a thin frame, a touch darker when hot.
        QColor face = palette().color(QPalette::Button);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(hot ? face.darker(112) : face);
        p.setPen(palette().color(QPalette::Mid));
        p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
    // A picture carries its own lettering; the caption is drawn on the plain face only.
    bool has_picture = img && !img->isNull();
    if (!has_picture && !text().isEmpty()) {
        p.setPen(colour_of(block_.colours[0], palette().color(QPalette::ButtonText)));
        draw_caption(p, r.translated(isDown() ? QPoint(1, 1) : QPoint()));
    }
}

// A caption wider than the button goes onto two lines before it is drawn smaller, and smaller
// only as far as it must: the 40 by 30 toolbar buttons hold 中文 over 翻译关 at the normal size,
// where one line of five characters would shrink to an unreadable 6 points.
void SuperButton::draw_caption(QPainter& p, QRect r) {
    constexpr double kSmallest = 5.0;
    const QString caption = text();
    const QRectF room = QRectF(r).adjusted(2, 1, -2, -1);
    // Two lines break at the space nearest the middle, or with the shorter half first.
    const qsizetype space = caption.indexOf(QLatin1Char(' '), caption.size() / 2 - 1);
    const qsizetype cut = space > 0 ? space : caption.size() / 2;
    const QString lines[2] = {caption.left(cut).trimmed(), caption.mid(cut).trimmed()};
    for (QFont f = p.font();; f.setPointSizeF(f.pointSizeF() - 0.5)) {
        const QFontMetricsF fm(f);
        p.setFont(f);
        if (fm.horizontalAdvance(caption) <= room.width()) break;
        // Lines one em apart: the faces' own line height would not let two fit in 30 pixels.
        const double step = QFontInfo(f).pixelSize() + 1.0;
        if (caption.size() > 1 && std::max(fm.horizontalAdvance(lines[0]), fm.horizontalAdvance(lines[1])) <= room.width() &&
            2 * step <= room.height() + 1) {
            for (int i = 0; i < 2; ++i) {
                const QRectF ink = fm.tightBoundingRect(lines[i]);
                const double centre_y = room.center().y() + (i - 0.5) * step;
                p.drawText(QPointF(room.center().x() - fm.horizontalAdvance(lines[i]) / 2, centre_y - ink.center().y()), lines[i]);
            }
            return;
        }
        if (f.pointSizeF() - 0.5 < kSmallest) break;
    }
    p.drawText(room, Qt::AlignCenter | Qt::TextSingleLine, caption);
}

// ---- page book ------------------------------------------------------------------------------

PageBook::PageBook(std::uint32_t window, std::uint32_t unit, QWidget* parent, PageControlBlock block,
                   const std::vector<std::uint32_t>& children)
    : QWidget(parent), UnitBehaviour(window, unit), block_(std::move(block)) {
    stack_ = new QStackedWidget(this);
    // Pages: one per title; the child list's groups (ended by 0) name each page's units.
    int groups = 0;
    {
        int page = 0;
        bool open = false;
        for (std::uint32_t id : children) {
            if (id == 0) {
                ++page;
                open = false;
                continue;
            }
            membership_.emplace_back(id, page);
            open = true;
        }
        groups = page + (open ? 1 : 0);
    }
    int n = std::max<int>(int(block_.page_titles.size()), groups);
    n = std::max(n, 1);
    for (int i = 0; i < n; ++i) {
        auto* page = new QWidget(stack_);
        stack_->addWidget(page);
        pages_.push_back(page);
    }
    std::sort(membership_.begin(), membership_.end());
    // A long book is turned by the program, not by tabs; option word 0 bit 0 hides them too.
    bool hide_tabs = n > 10 || (block_.options[0] & 1u) != 0;
    if (!hide_tabs) {
        tabs_ = new QTabBar(this);
        tabs_->setFont(font_of(block_.font.face.empty() ? FontBlob{} : FontBlob{block_.font}));
        tabs_->setDrawBase(true);
        for (int i = 0; i < n; ++i)
            tabs_->addTab(std::size_t(i) < block_.page_titles.size() ? qs(block_.page_titles[std::size_t(i)]) : QString());
        connect(tabs_, &QTabBar::currentChanged, this, [this](int k) {
            if (syncing_) return;
            turn_to(k, true);
        });
    }
    layout_pages();
}

QWidget* PageBook::page_for(std::uint32_t unit) const {
    auto it = std::lower_bound(membership_.begin(), membership_.end(), std::make_pair(unit, -1));
    if (it == membership_.end() || it->first != unit) return nullptr;
    return pages_[std::size_t(std::min(it->second, int(pages_.size()) - 1))];
}

void PageBook::layout_pages() {
    int top = 0;
    if (tabs_) {
        int h = tabs_->sizeHint().height();
        tabs_->setGeometry(0, 0, width(), h);
        top = h;
    }
    stack_->setGeometry(0, top, width(), std::max(0, height() - top));
}

void PageBook::resizeEvent(QResizeEvent*) { layout_pages(); }

void PageBook::showEvent(QShowEvent*) { prefetch_pages_beside(pages_, current_); }

void PageBook::mousePressEvent(QMouseEvent* e) { e->accept(); }

void PageBook::turn_to(int k, bool from_toolkit) {
    auto sync_tabs = [this](int i) {
        if (!tabs_) return;
        syncing_ = true;
        tabs_->setCurrentIndex(i);
        syncing_ = false;
    };
    if (k < 0 || k >= page_count() || k == current_) {
        sync_tabs(current_);
        return;
    }
    QPointer<PageBook> alive(this);
    if (fire(1, from_toolkit) == 1) {
        if (alive) sync_tabs(current_);
        return;
    }
    if (!alive) return;
    current_ = k;
    stack_->setCurrentIndex(k);
    sync_tabs(k);
    fire(0, from_toolkit);
    if (alive) prefetch_pages_beside(pages_, current_);
}

bool PageBook::get_own(int index, int, Value& out) { return own_property(index, prop::kCurrentPage, std::int32_t(current_), out); }

void PageBook::set_own(int index, int, const Value& v) {
    if (index == prop::kCurrentPage) turn_to(as_int(v), false);
}

}  // namespace tb::ui::detail
