// Reading aids drawn by the widget set: the highlight over the sentence being read, the right or
// wrong sign after an answer, the count of questions left, the right-button menu of a unit, key
// combinations, the watch on the pupil's input while the program reads along, and the recorder's
// panel.
#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
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

protected:
    // A rounded card filling the mark, with a thin edge.
    void paint_card(QPainter& p, QColor edge, QColor fill, qreal radius) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(edge, 1.5));
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), radius, radius);
    }
};

// A soft yellow marker pen: light enough that the printed text stays readable through it.
class Highlight : public Mark {
public:
    explicit Highlight(QWidget* parent) : Mark(parent, "tapbook-highlight") {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        paint_card(p, QColor(240, 180, 0, 150), QColor(255, 225, 60, 90), std::min<qreal>(8.0, height() / 2.0));
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

// Takes an aid off the screen; the log says "<what> <unit> = <how>".
template <class Aid>
void hide_aid(Aid& aid, const char* what, const char* how = "0") {
    if (aid.unit.unit_id == 0) return;
    if (aid.widget) aid.widget->hide();
    if (log::on(log::Category::Ui)) log::line(log::Category::Ui, std::string(what) + " " + unit_name(aid.unit) + " = " + how);
    aid.unit = {};
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

UnitRef g_menu_unit{};

// Where the translation pop-up ends below a sentence's top (75 down, 25 high) and a little more.
constexpr int kBelowPopup = 75 + 25 + 6;

// The unit whose control lies under a point of w (w's own when no other does).
UnitRef unit_at(QWidget* w, const QPoint& at) {
    for (QWidget* c = w->childAt(at) ? w->childAt(at) : w; c; c = c->parentWidget()) {
        if (auto* b = dynamic_cast<detail::UnitBehaviour*>(c)) {
            auto r = record_of(b->window_id(), b->unit_id());
            return {b->window_id(), b->unit_id(), r ? r->type_code : 0};
        }
        if (c == w) break;
    }
    return {};
}

bool is_modifier(int key) {
    return key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt || key == Qt::Key_Meta ||
           key == Qt::Key_AltGr || key == Qt::Key_CapsLock;
}

class InputWatch : public QObject {
public:
    explicit InputWatch(std::function<void(Input)> seen) : seen_(std::move(seen)) { qApp->installEventFilter(this); }
    ~InputWatch() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* obj, QEvent* e) override {
        // One press may reach several objects on its way (the window, then the control under
        // the pointer): the watcher takes the first and ignores the rest.
        switch (e->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                tell(Input::Press);
                break;
            case QEvent::KeyPress:
                if (!is_modifier(static_cast<QKeyEvent*>(e)->key())) tell(Input::Key);
                break;
            case QEvent::Close:
                if (obj->isWidgetType() && static_cast<QWidget*>(obj)->isWindow()) tell(Input::Close);
                break;
            default:
                break;
        }
        return false;
    }

private:
    void tell(Input i) {
        auto seen = seen_;  // the call may end the watch
        seen(i);
    }
    std::function<void(Input)> seen_;
};

std::unique_ptr<InputWatch>& input_watch() {
    static std::unique_ptr<InputWatch> w;
    return w;
}

}  // namespace

void show_highlight(const UnitRef& unit) {
    QWidget* target = control_of(unit.window_id, unit.unit_id);
    if (!target || !target->parentWidget()) return;
    hide_highlight();
    if (!place_mark<Highlight>(highlight(), unit, kMargin)) return;
    if (log::on(log::Category::Ui)) log::line(log::Category::Ui, "highlight " + unit_name(unit) + " = 1");
}

void hide_highlight() { hide_aid(highlight(), "highlight"); }

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

namespace {

// A right or wrong sign, green tick or red cross on a pale disc, over the place answered.
class VerdictSign : public Mark {
public:
    explicit VerdictSign(QWidget* parent) : Mark(parent, "tapbook-verdict") { resize(kSize, kSize); }
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
class QuestionsLeft : public Mark {
public:
    explicit QuestionsLeft(QWidget* parent) : Mark(parent, "tapbook-questions-left") {
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
        paint_card(p, QColor(240, 180, 0, 200), QColor(255, 248, 215, 235), 8);
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

void hide_verdict() { hide_aid(verdict(), "verdict"); }

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

void hide_questions_left() { hide_aid(questions_left(), "questions left", "hidden"); }

bool verdict_shown() { return verdict().widget && verdict().unit.unit_id != 0 && verdict().widget->isVisible(); }

void set_context_menu(std::uint32_t window, std::uint32_t unit, std::function<std::vector<MenuItem>()> items) {
    QWidget* w = control_of(window, unit);
    if (!w) return;
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::disconnect(w, &QWidget::customContextMenuRequested, nullptr, nullptr);
    QObject::connect(w, &QWidget::customContextMenuRequested, w, [w, items = std::move(items)](const QPoint& at) {
        auto* menu = new QMenu(w);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        g_menu_unit = unit_at(w, at);
        const std::vector<MenuItem> chosen_from = items();
        g_menu_unit = {};
        for (const MenuItem& item : chosen_from) {
            QAction* a = menu->addAction(detail::qs(item.caption));
            a->setCheckable(item.checkable);
            a->setChecked(item.checked);
            a->setEnabled(item.enabled);
            QObject::connect(a, &QAction::triggered, menu, [chosen = item.chosen] {
                if (chosen) chosen();
            });
        }
        menu->popup(w->mapToGlobal(at));
    });
}

UnitRef menu_unit() { return g_menu_unit; }

void set_key_shortcut(std::uint32_t window, const char* keys, std::function<void()> pressed) {
    QWidget* w = control_of(window, 0);
    if (!w) return;
    auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(keys)), w);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, w, [pressed = std::move(pressed)] {
        if (pressed) pressed();
    });
}

void watch_input(std::function<void(Input)> seen) {
    if (!qApp) return;
    // Replacing the watch from inside its own call: the old one goes once the event is handled.
    if (InputWatch* old = input_watch().release()) old->deleteLater();
    if (seen) input_watch() = std::make_unique<InputWatch>(std::move(seen));
}

namespace {

// A white card with a level meter, a status line and the controls, on the page beside the
// sentence being repeated.
class RecorderCard : public QWidget {
public:
    explicit RecorderCard(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("tapbook-recorder"));
        setAttribute(Qt::WA_NoSystemBackground);
        setAttribute(Qt::WA_TranslucentBackground);
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(10, 8, 10, 8);
        column->setSpacing(6);
        status_ = new QLabel(this);
        status_->setObjectName(QStringLiteral("tapbook-recorder-status"));
        column->addWidget(status_);
        meter_ = new QWidget(this);
        meter_->setFixedHeight(12);
        meter_->setAttribute(Qt::WA_TransparentForMouseEvents);
        column->addWidget(meter_);
        row_ = new QHBoxLayout;
        row_->setSpacing(6);
        column->addLayout(row_);
        meter_->installEventFilter(this);
    }
    void show_panel(const RecordPanel& p) {
        status_->setText(detail::qs(p.status));
        status_->setVisible(!p.status.empty());
        meter_->setVisible(p.level >= 0);
        level_ = p.level;
        while (QLayoutItem* item = row_->takeAt(0)) {
            delete item->widget();
            delete item;
        }
        for (const MenuItem& c : p.controls) {
            auto* b = new QPushButton(detail::qs(c.caption), this);
            b->setFocusPolicy(Qt::NoFocus);
            b->setEnabled(c.enabled);
            QObject::connect(b, &QPushButton::clicked, this, [chosen = c.chosen] {
                if (chosen) chosen();
            });
            row_->addWidget(b);
            b->show();  // at once: a control added to a shown card would appear only later
        }
        layout()->activate();
        resize(std::max(220, sizeHint().width()), sizeHint().height());
    }
    void set_level(double level) {
        level_ = level;
        meter_->update();
    }
    double level() const { return level_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(120, 150, 200), 1.5));
        p.setBrush(QColor(255, 255, 255, 235));
        p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 8, 8);
    }
    bool eventFilter(QObject* obj, QEvent* e) override {
        if (obj == meter_ && e->type() == QEvent::Paint) {
            QPainter p(meter_);
            p.setRenderHint(QPainter::Antialiasing);
            const QRectF box = QRectF(meter_->rect()).adjusted(0.5, 0.5, -0.5, -0.5);
            p.setPen(QPen(QColor(170, 170, 170), 1));
            p.setBrush(QColor(235, 235, 235));
            p.drawRoundedRect(box, 5, 5);
            const double l = std::clamp(level_, 0.0, 1.0);
            if (l > 0) {
                p.setPen(Qt::NoPen);
                p.setBrush(l > 0.9 ? QColor(230, 90, 60) : QColor(80, 190, 90));
                p.drawRoundedRect(QRectF(box.left(), box.top(), box.width() * l, box.height()), 5, 5);
            }
            return true;
        }
        return false;
    }

private:
    QLabel* status_;
    QWidget* meter_;
    QHBoxLayout* row_;
    double level_ = -1;
};

QPointer<RecorderCard>& recorder_card() {
    static QPointer<RecorderCard> c;
    return c;
}

}  // namespace

void show_record_panel(const UnitRef& near, const RecordPanel& panel) {
    QWidget* target = control_of(near.window_id, near.unit_id);
    if (!target || !target->parentWidget()) return;
    QPointer<RecorderCard>& card = recorder_card();
    if (!card || card->parentWidget() != target->parentWidget()) {
        delete card.data();
        card = new RecorderCard(target->parentWidget());
    }
    card->show_panel(panel);
    // Above the sentence, where the translation pop-up (below it) leaves room; under the pop-up
    // when the page begins too soon; never off the page.
    QWidget* page = target->parentWidget();
    const QRect t = target->geometry();
    int top = t.top() - 8 - card->height();
    if (top < 0) top = t.top() + kBelowPopup;
    const int left = std::clamp(t.left(), 0, std::max(0, page->width() - card->width()));
    card->move(left, std::clamp(top, 0, std::max(0, page->height() - card->height())));
    card->raise();
    card->show();
    if (log::on(log::Category::Ui)) log::line(log::Category::Ui, "recorder " + unit_name(near) + " = " + log::one_line(panel.status));
}

void set_record_level(double level) {
    if (recorder_card()) recorder_card()->set_level(level);
}

void hide_record_panel() {
    if (recorder_card()) recorder_card()->hide();
}

bool record_panel_shown() { return recorder_card() && recorder_card()->isVisible(); }

}  // namespace tb::ui
