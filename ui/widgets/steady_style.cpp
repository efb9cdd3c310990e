// The program's style: Qt's own, drawing each control with one palette per set of colours.
//
// The style keeps pictures of controls it has drawn (a drop-down box's frame, a button's face)
// keyed by the palette's identity, not by its colours, and each control whose colours are set
// gets a palette of its own: every window built anew drew, and kept, new pictures of the same
// controls. Drawn with the palette first seen with those colours, they hit the kept pictures.
#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <algorithm>
#include <unordered_map>
#include <vector>

#include "ui/widgets/widgets.hpp"

namespace tb::ui {
namespace {

// Sets of colours in use at once: the templates use a few dozen at most; and the identities
// seen with them, one per control drawn since the table was last emptied.
constexpr std::size_t kPalettesKept = 64;
constexpr std::size_t kIdentitiesKept = 4096;

// The palette first seen with these colours. Each identity is compared by colours only once.
QPalette steady_palette(const QPalette& p) {
    static std::vector<QPalette> kept;
    static std::unordered_map<qint64, std::size_t> known;  // identity to its entry in kept
    std::size_t at = 0;
    if (auto k = known.find(p.cacheKey()); k != known.end()) {
        at = k->second;
    } else {
        auto it = std::find(kept.begin(), kept.end(), p);
        if (it == kept.end()) {
            if (kept.size() == kPalettesKept) {
                kept.clear();
                known.clear();
            }
            it = kept.insert(kept.end(), p);
        }
        at = std::size_t(it - kept.begin());
        if (known.size() == kIdentitiesKept) known.clear();
        known.emplace(p.cacheKey(), at);
    }
    QPalette steady = kept[at];
    steady.setCurrentColorGroup(p.currentColorGroup());  // no new identity: the group is outside it
    return steady;
}

// Swaps the steady palette into an option for one drawing. Qt's painting code builds each option
// in a local of its own, handed over as const; what the drawing sees is the same colours.
class SteadyPalette {
public:
    explicit SteadyPalette(const QStyleOption* o) : o_(const_cast<QStyleOption*>(o)) {
        if (!o_) return;
        saved_ = o_->palette;
        o_->palette = steady_palette(saved_);
    }
    ~SteadyPalette() {
        if (o_) o_->palette = saved_;
    }
    SteadyPalette(const SteadyPalette&) = delete;
    SteadyPalette& operator=(const SteadyPalette&) = delete;

private:
    QStyleOption* o_;
    QPalette saved_;
};

class SteadyStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    void drawPrimitive(PrimitiveElement e, const QStyleOption* o, QPainter* p, const QWidget* w) const override {
        SteadyPalette steady(o);
        QProxyStyle::drawPrimitive(e, o, p, w);
    }
    void drawControl(ControlElement e, const QStyleOption* o, QPainter* p, const QWidget* w) const override {
        SteadyPalette steady(o);
        QProxyStyle::drawControl(e, o, p, w);
    }
    void drawComplexControl(ComplexControl c, const QStyleOptionComplex* o, QPainter* p, const QWidget* w) const override {
        SteadyPalette steady(o);
        QProxyStyle::drawComplexControl(c, o, p, w);
    }
};

}  // namespace

QStyle* steady_palette_style(QStyle* base) { return new SteadyStyle(base); }

void install_steady_style() {
    if (dynamic_cast<SteadyStyle*>(QApplication::style())) return;
    QApplication::setStyle(steady_palette_style(QStyleFactory::create(QApplication::style()->name())));
}

}  // namespace tb::ui
