// Reading aids drawn by the widget set: the highlight over the sentence being read, the right or
// wrong sign after an answer, the count of questions left, and the right-button menu of a unit.
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

namespace {

// A right or wrong sign, green tick or red cross on a pale disc, over the place answered.
class VerdictSign : public QWidget {
public:
    explicit VerdictSign(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("tapbook-verdict"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setAttribute(Qt::WA_TranslucentBackground);
        setFocusPolicy(Qt::NoFocus);
        resize(kSize, kSize);
    }
    static constexpr int kSize = 44;
    bool right = true;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor ink = right ? QColor(30, 150, 60) : QColor(210, 40, 40);
        p.setPen(QPen(ink, 2));
        p.setBrush(QColor(255, 255, 255, 200));
        p.drawEllipse(QRectF(rect()).adjusted(2, 2, -2, -2));
        p.setPen(QPen(ink, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const qreal s = kSize;
        if (right) {
            p.drawPolyline(QPolygonF({QPointF(s * 0.27, s * 0.52), QPointF(s * 0.44, s * 0.69), QPointF(s * 0.74, s * 0.32)}));
        } else {
            p.drawLine(QPointF(s * 0.32, s * 0.32), QPointF(s * 0.68, s * 0.68));
            p.drawLine(QPointF(s * 0.68, s * 0.32), QPointF(s * 0.32, s * 0.68));
        }
    }
};

// How many questions are left, on a small card in the corner of what is being played.
class QuestionsLeft : public QWidget {
public:
    explicit QuestionsLeft(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("tapbook-questions-left"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setAttribute(Qt::WA_TranslucentBackground);
        setFocusPolicy(Qt::NoFocus);
        QFont f = font();
        f.setPixelSize(16);
        f.setBold(true);
        setFont(f);
    }
    void set_text(const QString& t) {
        text_ = t;
        resize(fontMetrics().horizontalAdvance(t) + 20, fontMetrics().height() + 8);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(240, 180, 0, 200), 1.5));
        p.setBrush(QColor(255, 248, 215, 235));
        p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 8, 8);
        p.setPen(QColor(0x33, 0x33, 0x3a));
        p.drawText(rect(), Qt::AlignCenter, text_);
    }

private:
    QString text_;
};

template <class W>
struct PaintedAid {
    QPointer<W> widget;
    UnitRef unit{};
};

// The aid's widget, made anew when the parent it must lie on has changed.
template <class W>
W* aid_on(PaintedAid<W>& aid, QWidget* parent) {
    if (!aid.widget || aid.widget->parentWidget() != parent) {
        delete aid.widget.data();
        aid.widget = new W(parent);
    }
    return aid.widget;
}

PaintedAid<VerdictSign>& verdict() {
    static PaintedAid<VerdictSign> v;
    return v;
}

PaintedAid<QuestionsLeft>& questions_left() {
    static PaintedAid<QuestionsLeft> q;
    return q;
}

constexpr int kCornerMargin = 8;

}  // namespace

void show_verdict(const UnitRef& unit, int x, int y, bool right) {
    QWidget* target = control_of(unit.window_id, unit.unit_id);
    if (!target) return;
    QWidget* top = target->window();
    VerdictSign* sign = aid_on(verdict(), top);
    sign->right = right;
    const QPoint at = target->mapTo(top, QPoint(x, y));
    sign->move(at.x() - VerdictSign::kSize / 2, at.y() - VerdictSign::kSize / 2);
    sign->raise();
    sign->show();
    sign->update();
    verdict().unit = unit;
    if (log::on(log::Category::Ui))
        log::line(log::Category::Ui, "verdict " + unit_name(unit) + " = " + (right ? "right " : "wrong ") +
                                         std::to_string(x) + "," + std::to_string(y));
}

void hide_verdict() {
    auto& v = verdict();
    if (v.unit.unit_id == 0) return;
    if (v.widget) v.widget->hide();
    if (log::on(log::Category::Ui)) log::line(log::Category::Ui, "verdict " + unit_name(v.unit) + " = 0");
    v.unit = {};
}

void show_questions_left(const UnitRef& unit, int count) {
    QWidget* target = control_of(unit.window_id, unit.unit_id);
    if (!target || !target->parentWidget()) return;
    QuestionsLeft* card = aid_on(questions_left(), target->parentWidget());
    card->set_text(QString::fromUtf8("还剩 %1 题").arg(count));
    const QRect g = target->geometry();
    card->move(g.right() + 1 - kCornerMargin - card->width(), g.top() + kCornerMargin);
    card->raise();
    card->show();
    questions_left().unit = unit;
    if (log::on(log::Category::Ui))
        log::line(log::Category::Ui, "questions left " + unit_name(unit) + " = " + std::to_string(count));
}

void hide_questions_left() {
    auto& q = questions_left();
    if (q.unit.unit_id == 0) return;
    if (q.widget) q.widget->hide();
    if (log::on(log::Category::Ui)) log::line(log::Category::Ui, "questions left " + unit_name(q.unit) + " = hidden");
    q.unit = {};
}

bool verdict_shown() { return verdict().widget && verdict().unit.unit_id != 0 && verdict().widget->isVisible(); }

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
