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

// A soft yellow marker pen: light enough that the printed text stays readable through it.
class Highlight : public QWidget {
public:
    explicit Highlight(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("tapbook-highlight"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setAttribute(Qt::WA_TranslucentBackground);
        setFocusPolicy(Qt::NoFocus);
    }

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

struct HighlightState {
    QPointer<Highlight> widget;
    UnitRef unit{};
};

HighlightState& highlight() {
    static HighlightState h;
    return h;
}

std::string unit_name(const UnitRef& u) {
    WindowTemplate* t = find_window(u.window_id);
    auto r = t ? t->record_of(u.unit_id) : std::nullopt;
    return r ? utf8(r->name) : std::to_string(u.unit_id);
}

constexpr int kMargin = 3;  // the marker reaches a little beyond the printed line

}  // namespace

void show_highlight(const UnitRef& unit) {
    QWidget* target = control_of(unit.window_id, unit.unit_id);
    if (!target || !target->parentWidget()) return;
    hide_highlight();
    HighlightState& h = highlight();
    if (!h.widget || h.widget->parentWidget() != target->parentWidget()) {
        delete h.widget.data();
        h.widget = new Highlight(target->parentWidget());
    }
    h.widget->setGeometry(target->geometry().adjusted(-kMargin, -kMargin, kMargin, kMargin));
    h.widget->raise();
    h.widget->show();
    h.unit = unit;
    if (log::on(log::Category::Ui)) log::line(log::Category::Ui, "highlight " + unit_name(unit) + " = 1");
}

void hide_highlight() {
    HighlightState& h = highlight();
    if (h.unit.unit_id == 0) return;
    if (h.widget) h.widget->hide();
    if (log::on(log::Category::Ui)) log::line(log::Category::Ui, "highlight " + unit_name(h.unit) + " = 0");
    h.unit = {};
}

UnitRef highlighted_unit() {
    HighlightState& h = highlight();
    // Gone with its window: nothing is highlighted.
    if (h.unit.unit_id != 0 && !h.widget) h.unit = {};
    return h.unit;
}

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
