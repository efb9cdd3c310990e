// The widget set's runtime: live windows and their units, property access by index, event
// dispatch to the handler table, copies and destruction.
#include "ui/widgets/widgets.hpp"

#include <QApplication>
#include <QBackingStore>
#include <QEventLoop>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <type_traits>
#include <unordered_map>
#include <utility>

#include "runtime/error.hpp"
#include "runtime/log.hpp"
#include "ui/widgets/controls.hpp"

namespace tb::ui {
namespace detail {
namespace {

constexpr std::string_view kUnitMissing = "欲访问的组件不存在";

struct LiveUnit {
    std::uint32_t id = 0;
    std::uint32_t type = 0;
    QPointer<QWidget> w;
    UnitBehaviour* b = nullptr;  // the same object as w; use only while w is alive
    std::vector<Binding> bindings;
    Text tag;
    std::uint32_t cursor = 0;
    bool disabled = false;
    bool alive() const { return !w.isNull(); }
};

// A handler being run, and the control that raised its event (Qt may be using its inner parts:
// a combo box's list, a page book's tabs), or a window being told it was closed (its own event).
struct Delivery {
    UnitRef unit;
    QPointer<QWidget> control;
    bool parts_in_use = true;
};

struct LiveWindow {
    std::uint32_t id = 0;
    std::uint32_t own_id = 0;
    WindowTemplate* tpl = nullptr;
    QPointer<WindowFrame> frame;
    LiveUnit own;  // the window's own record
    std::unordered_map<std::uint32_t, LiveUnit> units;
    QEventLoop* loop = nullptr;  // the loop a modal showing runs until the window closes
    bool modal = false;
    bool closed = false;
};

class InputFilter;

struct State {
    std::vector<Handler> handlers;
    std::vector<std::string> handler_names;
    std::map<std::uint32_t, std::shared_ptr<LiveWindow>> windows;
    std::vector<Delivery> event_stack;
    std::optional<HandlerError> handler_error;
    InputFilter* filter = nullptr;
    // Closed controls that a running handler's own control still needs (see prune()).
    std::vector<QPointer<QWidget>> graveyard;
    // The last left-button press delivered to a unit, in the unit's coordinates.
    QPointer<QWidget> pressed;
    QPoint press_point;
};

State& st() {
    static State s;
    return s;
}

std::shared_ptr<LiveWindow> live(std::uint32_t window) {
    auto it = st().windows.find(window);
    return it == st().windows.end() ? nullptr : it->second;
}

LiveUnit* find_unit(LiveWindow& lw, std::uint32_t unit) {
    if (unit == 0 || unit == lw.own_id) return &lw.own;
    auto it = lw.units.find(unit);
    return it == lw.units.end() ? nullptr : &it->second;
}

int key_state(Qt::KeyboardModifiers m) {
    return (m & Qt::ControlModifier ? 1 : 0) | (m & Qt::ShiftModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

// Qt key to the key codes handlers compare with (Enter 13, letters as capitals, digits).
int key_code(const QKeyEvent* e) {
    int k = e->key();
    switch (k) {
        case Qt::Key_Return: case Qt::Key_Enter: return 13;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab: return 9;
        case Qt::Key_Space: return 32;
        case Qt::Key_Delete: return 46;
        case Qt::Key_Left: return 37;
        case Qt::Key_Up: return 38;
        case Qt::Key_Right: return 39;
        case Qt::Key_Down: return 40;
        default: break;
    }
    if ((k >= '0' && k <= '9') || (k >= 'A' && k <= 'Z')) return k;
    if (e->nativeVirtualKey() != 0) return int(e->nativeVirtualKey());
    return k & 0xFFFF;
}

bool has_binding(const LiveUnit& u, std::int32_t event) {
    for (const Binding& b : u.bindings)
        if (b.event == event && b.handler != kNoHandler) return true;
    return false;
}

}  // namespace

bool held_key_repeat(const QKeyEvent* k) {
    static int released_key = 0;
    static quint64 released_at = 0;
    if (k->isAutoRepeat()) return true;
    if (k->type() == QEvent::KeyRelease) {
        released_key = k->key();
        released_at = k->timestamp();
        return false;
    }
    return k->timestamp() != 0 && k->key() == released_key && k->timestamp() == released_at;
}

namespace {

// Mouse presses and key presses of units whose templates bind them.
class InputFilter : public QObject {
public:
    bool eventFilter(QObject* obj, QEvent* e) override {
        if (e->type() == QEvent::KeyRelease) held_key_repeat(static_cast<QKeyEvent*>(e));
        if (e->type() != QEvent::MouseButtonPress && e->type() != QEvent::KeyPress) return false;
        auto* b = dynamic_cast<UnitBehaviour*>(obj);
        auto* w = qobject_cast<QWidget*>(obj);
        if (!b || !w || !w->isEnabled()) return false;
        if (e->type() == QEvent::MouseButtonPress) {
            auto* m = static_cast<QMouseEvent*>(e);
            if (m->button() != Qt::LeftButton) return false;
            QPoint p = m->position().toPoint();
            st().pressed = w;
            st().press_point = p;
            raise_event(b->window_id(), b->unit_id(), -1, EventArgs{-1, p.x(), p.y(), key_state(m->modifiers()), 0}, true);
        } else {
            auto* k = static_cast<QKeyEvent*>(e);
            // A key held down repeats; only its first press is the pupil's (one Enter, one answer).
            if (held_key_repeat(k)) return false;
            raise_event(b->window_id(), b->unit_id(), -9, EventArgs{-9, 0, 0, key_state(k->modifiers()), key_code(k)}, true);
        }
        return false;
    }
};

InputFilter* filter() {
    if (!st().filter) st().filter = new InputFilter;  // lives as long as the program
    return st().filter;
}

// Moves a control with the mouse until the left button is released.
class DragFilter : public QObject {
public:
    // On the application: the control's own filters are being run when the drag starts.
    DragFilter(QWidget* w, QPoint grab) : w_(w), grab_(grab) { qApp->installEventFilter(this); }
    bool eventFilter(QObject* obj, QEvent* e) override {
        if (!w_) return finish();
        if (obj != w_.data()) return false;
        if (e->type() == QEvent::MouseMove) {
            auto* m = static_cast<QMouseEvent*>(e);
            if (!(m->buttons() & Qt::LeftButton)) return finish();
            QWidget* parent = w_->parentWidget();
            QPoint g = m->globalPosition().toPoint();
            QPoint to = (parent ? parent->mapFromGlobal(g) : g) - grab_;
            // Kept inside its parent: dropped past an edge, the control would be lost from sight.
            if (parent) {
                to.setX(std::max(0, std::min(to.x(), parent->width() - w_->width())));
                to.setY(std::max(0, std::min(to.y(), parent->height() - w_->height())));
            }
            w_->move(to);
            return true;
        }
        if (e->type() == QEvent::MouseButtonRelease || e->type() == QEvent::Hide) finish();
        return false;
    }

private:
    bool finish() {
        qApp->removeEventFilter(this);
        deleteLater();
        return false;
    }
    QPointer<QWidget> w_;
    QPoint grab_;
};

void apply_cursor(QWidget* w, std::uint32_t cursor) {
    if (cursor == kCursorHand) w->setCursor(Qt::PointingHandCursor);
    else if (cursor == kCursorArrow) w->setCursor(Qt::ArrowCursor);
    else w->unsetCursor();
}

void set_disabled(LiveUnit& u, bool d) {
    u.disabled = d;
    if (!u.alive()) return;
    u.w->setEnabled(!d);
    u.b->disabled_changed(d);
}

// The control a unit goes in: the window's for parent 0; for a unit its page book lists, that page.
QWidget* parent_control(LiveWindow& lw, const UnitRecord& r) {
    if (r.parent == 0 || r.parent == lw.own_id) return lw.frame;
    LiveUnit* p = find_unit(lw, r.parent);
    if (!p || !p->alive()) return lw.frame;
    if (auto* book = dynamic_cast<PageBook*>(p->b)) {
        if (QWidget* page = book->page_for(r.unit_id)) return page;
        return book->current_page();
    }
    return p->b->container();
}

// The control class that takes the block in its constructor: for each block but the window's,
// the edit box's (a line or a text, as the block says) and the page book's.
template <typename Block, typename... Controls>
struct ControlTaking;
template <typename Block, typename Control, typename... Rest>
struct ControlTaking<Block, Control, Rest...>
    : std::conditional_t<std::is_constructible_v<Control, std::uint32_t, std::uint32_t, QWidget*, Block>,
                         std::type_identity<Control>, ControlTaking<Block, Rest...>> {};
template <typename Block>
using ControlFor = typename ControlTaking<Block, TransLabelWidget, PicBoxWidget, DrawPanelWidget, LabelWidget, GroupBoxWidget,
                                          ButtonWidget, CheckBoxWidget, ComboBoxWidget, RichEditWidget, SuperButton>::type;

QWidget* make_control(LiveWindow& lw, const UnitRecord& r, QWidget* parent) {
    std::uint32_t w = lw.id, u = r.unit_id;
    auto make = [&]<typename Block>(std::type_identity<Block>) -> QWidget* {
        if constexpr (std::is_same_v<Block, WindowBlock>) {
            return nullptr;  // a window is the frame, never a unit's control
        } else {
            std::optional<Block> b = decode<Block>(r.type_block);
            if (!b) return nullptr;
            if constexpr (std::is_same_v<Block, EditBoxBlock>) {
                if (b->multiline) return new EditTextWidget(w, u, parent, std::move(*b));
                return new EditLineWidget(w, u, parent, std::move(*b));
            } else if constexpr (std::is_same_v<Block, PageControlBlock>) {
                return new PageBook(w, u, parent, std::move(*b), r.children);
            } else {
                return new ControlFor<Block>(w, u, parent, std::move(*b));
            }
        }
    };
    // An unknown type: no control.
    return with_block<QWidget*>(static_cast<UnitType>(r.type_code), make, nullptr);
}

// Creates one unit from its record. A copy goes in the given parent, hidden, without bindings.
LiveUnit* create_unit(LiveWindow& lw, const UnitRecord& r, QWidget* copy_parent) {
    QWidget* parent = copy_parent ? copy_parent : parent_control(lw, r);
    QWidget* w = make_control(lw, r, parent);
    if (!w) return nullptr;
    LiveUnit& u = lw.units[r.unit_id];
    u.id = r.unit_id;
    u.type = r.type_code;
    u.w = w;
    u.b = dynamic_cast<UnitBehaviour*>(w);
    u.tag = r.tag;
    u.cursor = r.cursor;
    if (!copy_parent) u.bindings = r.bindings;
    w->setGeometry(r.left, r.top, r.width, r.height);
    if (copy_parent || !r.visible()) w->hide();
    if (r.disabled()) set_disabled(u, true);
    if (r.cursor) apply_cursor(w, r.cursor);
    if (!r.tab_stop() && (w->focusPolicy() & Qt::TabFocus)) w->setFocusPolicy(Qt::ClickFocus);
    if (has_binding(u, -1) || has_binding(u, -9)) w->installEventFilter(filter());
    return &u;
}

// Whether a running handler's control is w or lies inside it: Qt is still delivering that
// handler's event, to the control and through its parents, so they must outlive the handler.
bool in_delivery(const QWidget* w) {
    for (const Delivery& d : st().event_stack)
        if (d.control && (d.control == w || w->isAncestorOf(d.control))) return true;
    return false;
}

// Frees what of a closed control no running handler needs, by dispose (delete now, or later when
// Qt may still be inside it); returns whether w itself must stay for now.
template <typename Dispose>
bool prune(QWidget* w, Dispose dispose) {
    if (!in_delivery(w)) {
        dispose(w);
        return false;
    }
    for (const Delivery& d : st().event_stack)
        if (d.control == w && d.parts_in_use) return true;
    const QObjectList children = w->children();
    for (QObject* child : children) {
        QPointer<QWidget> c = qobject_cast<QWidget*>(child);
        // Windows of their own (a combo box's list) go with their owner.
        if (c && !c->isWindow()) prune(c.data(), dispose);
    }
    return true;
}

// Deletes a closed control: at once where no handler is inside it, else what is left once its
// handlers have returned. A handler can run a nested loop (a modal window, the full-screen
// rebuild) for as long as the pupil likes: the closed window must not wait for it.
void bury(QWidget* w) {
    if (st().event_stack.empty()) return w->deleteLater();
    if (prune(w, [](QWidget* x) { delete x; })) st().graveyard.emplace_back(w);
}

// A handler has returned: what only it kept alive goes once Qt has finished delivering to it.
void bury_again() {
    auto kept = std::move(st().graveyard);
    st().graveyard.clear();
    for (auto& w : kept)
        if (w && prune(w.data(), [](QWidget* x) { x->deleteLater(); })) st().graveyard.push_back(w);
}

std::function<void(std::uint32_t)>& window_closed_listener() {
    static std::function<void(std::uint32_t)> fn;
    return fn;
}

void close_window(const std::shared_ptr<LiveWindow>& lw) {
    if (lw->closed) return;
    lw->closed = true;
    if (window_closed_listener()) window_closed_listener()(lw->id);
    auto it = st().windows.find(lw->id);
    if (it != st().windows.end() && it->second == lw) st().windows.erase(it);
    if (lw->loop) lw->loop->exit(0);
    lw->loop = nullptr;
    lw->units.clear();
    if (WindowFrame* f = lw->frame) {
        // The handler that closes the window may be running inside one of its controls: see bury().
        f->closing_by_program = true;
        f->hide();
        // A frame kept for a handler still running inside it is never shown again: its picture
        // of itself (the size of the window, or of the screen) goes now.
        if (QBackingStore* picture = f->backingStore()) picture->resize(QSize(1, 1));
        bury(f);
    }
}

Value common_from_record(const UnitRecord& r, int index) {
    switch (index) {
        case prop::kLeft: return r.left;
        case prop::kTop: return r.top;
        case prop::kWidth: return r.width;
        case prop::kHeight: return r.height;
        case prop::kTag: return r.tag;
        case prop::kVisible: return std::int32_t(r.visible());
        case prop::kDisabled: return std::int32_t(r.disabled());
        case prop::kCursor: return std::int32_t(r.cursor);
    }
    return std::int32_t(0);
}

Value common_get(const LiveUnit& u, int index) {
    QRect g = u.w->geometry();
    switch (index) {
        case prop::kLeft: return std::int32_t(g.x());
        case prop::kTop: return std::int32_t(g.y());
        case prop::kWidth: return std::int32_t(g.width());
        case prop::kHeight: return std::int32_t(g.height());
        case prop::kTag: return u.tag;
        case prop::kVisible: return std::int32_t(!u.w->isHidden());
        case prop::kDisabled: return std::int32_t(u.disabled);
        case prop::kCursor: return std::int32_t(u.cursor);
    }
    return std::int32_t(0);
}

void common_set(LiveUnit& u, int index, const Value& v) {
    QWidget* w = u.w;
    QRect g = w->geometry();
    switch (index) {
        case prop::kLeft: w->move(as_int(v), g.y()); break;
        case prop::kTop: w->move(g.x(), as_int(v)); break;
        case prop::kWidth: w->resize(std::max(0, as_int(v)), g.height()); break;
        case prop::kHeight: w->resize(g.width(), std::max(0, as_int(v))); break;
        case prop::kTag: u.tag = as_text(v); break;
        case prop::kVisible: w->setVisible(as_bool(v)); break;
        case prop::kDisabled: set_disabled(u, as_bool(v)); break;
        case prop::kCursor: {
            u.cursor = static_cast<std::uint32_t>(as_int(v));
            apply_cursor(w, u.cursor);
            break;
        }
    }
}

struct EventScope {
    EventScope(const UnitRef& r, QWidget* control, bool parts_in_use = true) {
        st().event_stack.push_back({r, control, parts_in_use});
    }
    ~EventScope() {
        st().event_stack.pop_back();
        if (!st().graveyard.empty()) bury_again();
    }
};

// The unit's name as its template stores it, in UTF-8, for the diagnostic log.
std::string unit_log_name(LiveWindow& lw, std::uint32_t unit) {
    std::optional<UnitRecord> r = unit == 0 || unit == lw.own_id ? (lw.tpl->record_count() > 0 ? std::optional(lw.tpl->record_at(0)) : std::nullopt)
                                                                 : lw.tpl->record_of(unit);
    if (r && !r->name.empty()) return utf8(r->name);
    char id[24];
    std::snprintf(id, sizeof id, "#%08x", unit == 0 ? lw.own_id : unit);  // windows have no name
    return id;
}

// Writes the ui lines for a property just written: captions and texts, visibility, the disabled
// state and geometry, each as the unit now has it.
void log_property_write(LiveWindow& lw, LiveUnit& u, int index) {
    if (!u.alive()) return;
    const std::string name = unit_log_name(lw, u.id);
    if (index <= prop::kHeight) {
        QRect g = u.w->geometry();
        log::line(log::Category::Ui, "geometry " + name + " = " + std::to_string(g.x()) + "," + std::to_string(g.y()) +
                                         "," + std::to_string(g.width()) + "," + std::to_string(g.height()));
    } else if (index == prop::kVisible) {
        log::line(log::Category::Ui, "visible " + name + " = " + (u.w->isHidden() ? "0" : "1"));
    } else if (index == prop::kDisabled) {
        log::line(log::Category::Ui, "disabled " + name + " = " + (u.disabled ? "1" : "0"));
    } else if (is_text_property(static_cast<UnitType>(u.type), index)) {
        Value v = std::int32_t(0);
        u.b->get_own(index, font_member::kWhole, v);
        log::line(log::Category::Ui, "caption " + name + " = " + log::one_line(as_text(v)));
    }
}

}  // namespace

int raise_event(std::uint32_t window, std::uint32_t unit, std::int32_t event, const EventArgs& args, bool from_toolkit) {
    auto lw = live(window);
    if (!lw) return 0;
    LiveUnit* u = find_unit(*lw, unit);
    if (!u) return 0;
    std::uint32_t offset = kNoHandler;
    for (const Binding& b : u->bindings)
        if (b.event == event) offset = b.handler;
    if (offset == kNoHandler || offset >= st().handlers.size() || !st().handlers[offset]) return 0;
    Handler h = st().handlers[offset];
    UnitRef ref{window, u->id, u->type};
    if (log::on(log::Category::Events)) {
        const std::string& name = offset < st().handler_names.size() ? st().handler_names[offset] : std::string();
        log::line(log::Category::Events, "event " + (name.empty() ? "#" + std::to_string(offset) : name) + " " +
                                             unit_log_name(*lw, u->id));
    }
    EventScope scope(ref, u->w);
    EventArgs a = args;
    a.event = event;
    if (!from_toolkit) return h(a);
    try {
        return h(a);
    } catch (const RuntimeErrorRaised& e) {
        // Only a throwing reporter (tests) gets here; the real one has ended the program.
        if (!st().handler_error) st().handler_error = HandlerError{e.code, e.message};
        return 0;
    }
}

void window_closed_by_user(std::uint32_t window, QWidget* frame) {
    auto lw = live(window);
    if (!lw || lw->frame != frame) return;
    // Qt is delivering the close to the frame itself: it goes once that has returned.
    EventScope scope(UnitRef{window, lw->own_id, lw->own.type}, frame, false);
    close_window(lw);
}

}  // namespace detail

using namespace detail;

void set_window_closed_listener(std::function<void(std::uint32_t)> fn) { window_closed_listener() = std::move(fn); }

void set_handler_table(std::span<const Handler> table, std::span<const char* const> names) {
    st().handlers.assign(table.begin(), table.end());
    st().handler_names.assign(names.begin(), names.end());
}

std::optional<HandlerError> take_handler_error() {
    auto e = std::move(st().handler_error);
    st().handler_error.reset();
    return e;
}

UnitRef event_unit() {
    if (st().event_stack.empty()) raise_runtime_error(errcode::kNone, msg::kEventUnitOutside);
    return st().event_stack.back().unit;
}

namespace {
// The live unit a property access names; null when its window is not shown. Raises the window
// errors and the missing-unit error.
LiveUnit* resolve(std::uint32_t window, std::uint32_t unit, int index, std::shared_ptr<LiveWindow>& lw,
                  std::optional<UnitRecord>& record) {
    WindowTemplate* tpl = find_window(window);
    if (!tpl) raise_runtime_error(errcode::kWindow, msg::kWindowNotInSet);
    lw = live(window);
    if (lw) {
        LiveUnit* u = find_unit(*lw, unit);
        if (u && u->alive()) return u;
    }
    if (unit == 0) {
        if (tpl->record_count() > 0) record = tpl->record_at(0);
    } else {
        record = tpl->record_of(unit);
    }
    if (!record) raise_runtime_error(errcode::kUnitNotFound, kUnitMissing);
    if (!lw && index >= 8) raise_runtime_error(errcode::kWindow, msg::kWindowNotLoaded);
    return nullptr;
}
}  // namespace

void set_property(std::uint32_t window, std::uint32_t unit, int index, int member, const Value& value) {
    std::shared_ptr<LiveWindow> lw;
    std::optional<UnitRecord> record;
    LiveUnit* u = resolve(window, unit, index, lw, record);
    if (!u) return;  // not shown, or a unit whose block could not be read: nothing to change
    if (index < 8) common_set(*u, index, value);
    else u->b->set_own(index, member, value);
    if (log::on(log::Category::Ui)) log_property_write(*lw, *u, index);
}

Value get_property(std::uint32_t window, std::uint32_t unit, int index, int member) {
    std::shared_ptr<LiveWindow> lw;
    std::optional<UnitRecord> record;
    LiveUnit* u = resolve(window, unit, index, lw, record);
    if (!u) return index < 8 && record ? common_from_record(*record, index) : Value(std::int32_t(0));
    if (index < 8) return common_get(*u, index);
    Value out = std::int32_t(0);
    u->b->get_own(index, member, out);
    return out;
}

std::int32_t get_int(std::uint32_t window, std::uint32_t unit, int index, int member) {
    return as_int(get_property(window, unit, index, member));
}

Text get_text(std::uint32_t window, std::uint32_t unit, int index) { return as_text(get_property(window, unit, index)); }

namespace {
ComboBoxWidget* combo(std::uint32_t window, std::uint32_t unit) {
    std::shared_ptr<LiveWindow> lw;
    std::optional<UnitRecord> record;
    LiveUnit* u = resolve(window, unit, 8, lw, record);
    auto* c = u ? dynamic_cast<ComboBoxWidget*>(u->b) : nullptr;
    if (u && !c) raise_runtime_error(errcode::kTypeMismatch, msg::kTypeMismatch);
    return c;
}
}  // namespace

std::int32_t combo_item_data(std::uint32_t window, std::uint32_t unit, int item) {
    auto* c = combo(window, unit);
    return c ? c->item_data(item) : -1;
}

Text combo_item_text(std::uint32_t window, std::uint32_t unit, int item) {
    auto* c = combo(window, unit);
    if (!c || item < 0 || item >= c->count()) return {};
    return tx(c->itemText(item));
}

int combo_item_count(std::uint32_t window, std::uint32_t unit) {
    auto* c = combo(window, unit);
    return c ? c->count() : 0;
}

QWidget* control_of(std::uint32_t window, std::uint32_t unit) {
    auto lw = live(window);
    if (!lw) return nullptr;
    LiveUnit* u = find_unit(*lw, unit);
    return u ? u->w.data() : nullptr;
}

bool window_shown(std::uint32_t window_id) { return live(window_id) != nullptr; }

namespace {
// Creates the window's units from its template and runs its created event; the frame is not
// shown yet. Null when the template cannot be read.
std::shared_ptr<LiveWindow> build_window(std::uint32_t window_id, WindowTemplate* tpl) {
    tpl->reset();  // each showing starts again from the template
    if (tpl->record_count() < 1) return nullptr;
    UnitRecord own = tpl->record_at(0);
    auto block = decode_window(own.type_block);
    if (!block) return nullptr;

    auto lw = std::make_shared<LiveWindow>();
    lw->id = window_id;
    lw->own_id = own.unit_id;
    lw->tpl = tpl;
    auto* frame = new WindowFrame(window_id, own.unit_id, std::move(*block));
    lw->frame = frame;
    lw->own.id = own.unit_id;
    lw->own.type = own.type_code;
    lw->own.w = frame;
    lw->own.b = frame;
    lw->own.bindings = own.bindings;
    lw->own.tag = own.tag;
    lw->own.cursor = own.cursor;
    frame->resize(std::max(1, own.width), std::max(1, own.height));
    frame->move(own.left, own.top);
    // A window that would reach past the screen's edge (a small screen) is moved back onto it.
    if (QScreen* screen = frame->screen()) {
        const QRect room = screen->availableGeometry();
        QPoint at = frame->pos();
        at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - frame->width())));
        at.setY(std::max(room.top(), std::min(at.y(), room.bottom() + 1 - frame->height())));
        frame->move(at);
    }
    if (own.cursor) apply_cursor(frame, own.cursor);
    st().windows[window_id] = lw;

    std::vector<std::pair<std::uint32_t, QWidget*>> tab_stops;
    int n = tpl->record_count();
    lw->units.reserve(std::size_t(n));
    for (int i = 1; i < n; ++i) {
        UnitRecord r = tpl->record_at(i);
        LiveUnit* u = create_unit(*lw, r, nullptr);
        if (u && r.tab_stop()) tab_stops.emplace_back(r.tab_order, u->w.data());
    }
    std::stable_sort(tab_stops.begin(), tab_stops.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tab_stops.size(); ++i) QWidget::setTabOrder(tab_stops[i - 1].second, tab_stops[i].second);

    raise_event(window_id, own.unit_id, 0, EventArgs{}, false);
    return lw;
}

// Shows a built window; false when its created handler closed it again.
bool show_built(LiveWindow& lw, bool modal) {
    if (lw.closed || !lw.frame) return false;
    lw.modal = modal;
    if (modal) lw.frame->setWindowModality(Qt::ApplicationModal);
    lw.frame->show();
    return true;
}
}  // namespace

bool show_window(std::uint32_t window_id, bool modal) {
    WindowTemplate* tpl = find_window(window_id);
    if (!tpl) return false;
    if (auto existing = live(window_id)) {
        existing->frame->QWidget::raise();
        existing->frame->activateWindow();
        return true;
    }
    auto lw = build_window(window_id, tpl);
    if (!lw) return false;
    if (!show_built(*lw, modal) || !modal) return true;
    QEventLoop loop;
    lw->loop = &loop;
    loop.exec(QEventLoop::DialogExec);
    // The loop may have ended with the application while a rebuilt window still held it.
    for (auto& [id, w] : st().windows)
        if (w->loop == &loop) w->loop = nullptr;
    return true;
}

bool rebuild_window(std::uint32_t window_id) {
    WindowTemplate* tpl = find_window(window_id);
    auto old = live(window_id);
    if (!tpl || !old) return false;
    // The loop the window's showing runs goes on for the new window: nothing nests.
    QEventLoop* loop = std::exchange(old->loop, nullptr);
    const bool modal = old->modal;
    close_window(old);
    auto lw = build_window(window_id, tpl);
    const bool shown = lw && show_built(*lw, modal);
    if (shown) lw->loop = loop;
    else if (loop) loop->exit(0);  // nothing left to wait for: the showing returns
    return lw != nullptr;
}

void destroy_window(std::uint32_t window_id) {
    if (auto lw = live(window_id)) close_window(lw);
}

void close_all_windows() {
    auto windows = st().windows;
    for (auto& [id, lw] : windows) close_window(lw);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Nor is anything decoded ahead for them: at the program's end the toolkit goes next.
    media::picture_prefetcher().prefetch({});
    media::picture_prefetcher().wait_idle();
}

UnitRef copy_unit(const UnitRef& source) {
    UnitRef failed{source.window_id, 0, 0};
    auto lw = live(source.window_id);
    if (!lw || source.unit_id == 0 || source.unit_id == lw->own_id) return failed;
    LiveUnit* s = find_unit(*lw, source.unit_id);
    if (!s || !s->alive()) return failed;
    std::uint32_t id = lw->tpl->append_copy(source.unit_id);
    if (id == 0) return failed;
    auto rec = lw->tpl->record_of(id);
    if (!rec) return failed;
    QWidget* src = s->w;
    LiveUnit* u = create_unit(*lw, *rec, src->parentWidget());
    if (!u) {
        lw->tpl->remove(id);
        return failed;
    }
    u->w->stackUnder(src);
    return UnitRef{source.window_id, id, rec->type_code};
}

void destroy(const UnitRef& unit) {
    auto lw = live(unit.window_id);
    if (!lw) return;
    if (unit.unit_id == 0 || unit.unit_id == lw->own_id) return close_window(lw);
    auto it = lw->units.find(unit.unit_id);
    if (it != lw->units.end()) {
        QPointer<QWidget> w = it->second.w;
        lw->units.erase(it);
        if (w) {
            // Units inside it go with it.
            for (auto j = lw->units.begin(); j != lw->units.end();) {
                if (!j->second.w || w->isAncestorOf(j->second.w)) j = lw->units.erase(j);
                else ++j;
            }
            w->hide();
            bury(w);
        }
    }
    lw->tpl->remove(unit.unit_id);
}

void set_focus(const UnitRef& unit) {
    auto lw = live(unit.window_id);
    if (!lw) return;
    LiveUnit* u = find_unit(*lw, unit.unit_id);
    if (u && u->alive()) u->w->setFocus(Qt::OtherFocusReason);
}

double text_width(const Font& font, const Text& text) {
    return QFontMetricsF(font_of(FontBlob{font})).horizontalAdvance(detail::qs(text));
}

void drag_with_mouse(const UnitRef& unit) {
    auto lw = live(unit.window_id);
    if (!lw) return;
    LiveUnit* u = find_unit(*lw, unit.unit_id);
    if (!u || !u->alive() || u == &lw->own) return;
    QPoint grab = st().pressed == u->w ? st().press_point : QPoint(0, 0);
    new DragFilter(u->w, grab);
}

std::vector<UnitRef> collect_units(std::uint32_t window_id, const Text& prefix, const Text& type_name, long long lowest_tag,
                                   long long highest_tag) {
    WindowTemplate* tpl = find_window(window_id);
    if (!tpl) raise_runtime_error(errcode::kWindow, msg::kWindowNotInSet);
    std::vector<UnitRef> out;
    auto lw = live(window_id);
    if (!lw || !lw->frame) return out;
    CollectFilter f{prefix, type_name, lowest_tag, highest_tag};
    int n = tpl->record_count();
    for (int i = 1; i < n; ++i) {
        auto it = lw->units.find(tpl->unit_id_at(i));
        if (it == lw->units.end() || !it->second.alive() || !lw->frame->isAncestorOf(it->second.w)) continue;
        UnitRecord r = tpl->record_at(i);
        r.tag = it->second.tag;  // the program may have retagged it (answer marks)
        if (f.matches(r)) out.push_back(UnitRef{window_id, r.unit_id, r.type_code});
    }
    return out;
}

}  // namespace tb::ui
