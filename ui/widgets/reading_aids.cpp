// Reading aids drawn by the widget set: the highlight over the sentence being read, and the
// right-button menu of a unit.
#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include "runtime/log.hpp"
#include "ui/widgets/controls.hpp"
#include "ui/widgets/widgets.hpp"

namespace tb::ui {
namespace {

// A mark drawn over a unit and its siblings: it never takes presses or the focus.
class Mark : public QWidget {
public:
    Mark(QWidget* parent, const char* name) : QWidget(parent) {
        setObjectName(QString::fromLatin1(name));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setAttribute(Qt::WA_TranslucentBackground);
        setFocusPolicy(Qt::NoFocus);
    }
};

// A soft yellow marker pen: light enough that the printed text stays readable through it.
class Highlight : public Mark {
public:
    explicit Highlight(QWidget* parent) : Mark(parent, "tapbook-highlight") {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(240, 180, 0, 150), 1.5));
        p.setBrush(QColor(255, 225, 60, 90));
        const qreal r = std::min<qreal>(8.0, height() / 2.0);
        p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), r, r);
    }
};

// The keyboard's focus: a strong blue ring with thin white edges, so that it stands out on the
// white paper and on the darkest picture alike.
class FocusRing : public Mark {
public:
    static constexpr int kRingWidth = 3;
    explicit FocusRing(QWidget* parent) : Mark(parent, "tapbook-focus-ring") {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setBrush(Qt::NoBrush);
        const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(QPen(Qt::white, 1));
        p.drawRect(outer);
        p.drawRect(outer.adjusted(kRingWidth + 1, kRingWidth + 1, -kRingWidth - 1, -kRingWidth - 1));
        p.setPen(QPen(QColor(0, 70, 230), kRingWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        const qreal in = 1 + kRingWidth / 2.0;
        p.drawRect(outer.adjusted(in, in, -in, -in));
    }
};

struct MarkState {
    QPointer<QWidget> widget;
    UnitRef unit{};
};

MarkState& highlight() {
    static MarkState h;
    return h;
}

MarkState& focus_ring() {
    static MarkState f;
    return f;
}

std::string unit_name(const UnitRef& u) {
    WindowTemplate* t = find_window(u.window_id);
    auto r = t ? t->record_of(u.unit_id) : std::nullopt;
    return r ? utf8(r->name) : std::to_string(u.unit_id);
}

constexpr int kMargin = 3;  // the marker reaches a little beyond the printed line
// The ring lies just outside the marker, so both can be seen at once.
constexpr int kRingMargin = kMargin + FocusRing::kRingWidth + 2;

// Puts the mark of `m` round the unit, making it (of type M) beside the unit when needed.
template <class M>
bool place_mark(MarkState& m, const UnitRef& unit, int margin) {
    QWidget* target = control_of(unit.window_id, unit.unit_id);
    if (!target || !target->parentWidget()) return false;
    if (!m.widget || m.widget->parentWidget() != target->parentWidget()) {
        delete m.widget.data();
        m.widget = new M(target->parentWidget());
    }
    m.widget->setGeometry(target->geometry().adjusted(-margin, -margin, margin, margin));
    m.widget->raise();
    m.widget->show();
    m.unit = unit;
    return true;
}

UnitRef marked_unit(MarkState& m) {
    // Gone with its window: nothing is marked.
    if (m.unit.unit_id != 0 && !m.widget) m.unit = {};
    return m.unit;
}

}  // namespace

void show_highlight(const UnitRef& unit) {
    QWidget* target = control_of(unit.window_id, unit.unit_id);
    if (!target || !target->parentWidget()) return;
    hide_highlight();
    if (!place_mark<Highlight>(highlight(), unit, kMargin)) return;
    if (log::on(log::Category::Ui)) log::line(log::Category::Ui, "highlight " + unit_name(unit) + " = 1");
}

void hide_highlight() {
    MarkState& h = highlight();
    if (h.unit.unit_id == 0) return;
    if (h.widget) h.widget->hide();
    if (log::on(log::Category::Ui)) log::line(log::Category::Ui, "highlight " + unit_name(h.unit) + " = 0");
    h.unit = {};
}

UnitRef highlighted_unit() { return marked_unit(highlight()); }

void show_focus_ring(const UnitRef& unit) {
    if (!place_mark<FocusRing>(focus_ring(), unit, kRingMargin)) return;
    if (log::on(log::Category::Ui)) log::line(log::Category::Ui, "focus " + unit_name(unit));
}

void hide_focus_ring() {
    MarkState& f = focus_ring();
    if (f.widget) f.widget->hide();
    f.unit = {};
}

UnitRef focus_ring_unit() { return marked_unit(focus_ring()); }

void set_context_menu(std::uint32_t window, std::uint32_t unit, std::function<std::vector<MenuItem>()> items) {
    QWidget* w = control_of(window, unit);
    if (!w) return;
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::disconnect(w, &QWidget::customContextMenuRequested, nullptr, nullptr);
    QObject::connect(w, &QWidget::customContextMenuRequested, w, [w, items = std::move(items)](const QPoint& at) {
        auto* menu = new QMenu(w);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        for (const MenuItem& item : items()) {
            QAction* a = menu->addAction(detail::qs(item.caption));
            a->setCheckable(item.checkable);
            a->setChecked(item.checked);
            QObject::connect(a, &QAction::triggered, menu, [chosen = item.chosen] {
                if (chosen) chosen();
            });
        }
        menu->popup(w->mapToGlobal(at));
    });
}

}  // namespace tb::ui
