// The page by keyboard: the keys a window's page answers to, presses made on the pupil's behalf,
// the names assistive technology reads, and shortcuts.
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QShortcut>
#include <QTextEdit>
#include <map>

#include "ui/widgets/controls.hpp"
#include "ui/widgets/widgets.hpp"

namespace tb::ui {
namespace {

bool is_edit_box(const QWidget* w) {
    return w && (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
                 qobject_cast<const QTextEdit*>(w));
}

// The page key of a key press, if it is one. Keys with Ctrl, Alt or Meta are nobody's page key.
std::optional<PageKey> page_key_of(const QKeyEvent& k, bool in_edit_box) {
    if (k.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return std::nullopt;
    switch (k.key()) {
        case Qt::Key_PageDown: return PageKey::PageForward;
        case Qt::Key_PageUp: return PageKey::PageBack;
        case Qt::Key_Escape: return PageKey::Stop;
        default: break;
    }
    if (in_edit_box) return std::nullopt;
    switch (k.key()) {
        case Qt::Key_Tab: return (k.modifiers() & Qt::ShiftModifier) ? PageKey::PreviousItem : PageKey::NextItem;
        case Qt::Key_Backtab: return PageKey::PreviousItem;
        case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Space:
            // A held key repeats: one press acts once.
            if (k.isAutoRepeat()) return std::nullopt;
            return PageKey::Activate;
        case Qt::Key_Right: return PageKey::PageForward;
        case Qt::Key_Left: return PageKey::PageBack;
        default: return std::nullopt;
    }
}

// On the application, so that it sees a key before the control with the focus does (Tab would
// otherwise move Qt's own focus first).
class PageKeys : public QObject {
public:
    PageKeys() { qApp->installEventFilter(this); }
    std::map<std::uint32_t, std::function<bool(PageKey)>> windows;

    bool eventFilter(QObject* obj, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        auto* w = qobject_cast<QWidget*>(obj);
        if (!w) return false;
        for (const auto& [window, on_key] : windows) {
            QWidget* top = control_of(window, 0);
            if (!top || (w != top && !top->isAncestorOf(w))) continue;
            const auto key = page_key_of(*static_cast<QKeyEvent*>(e), is_edit_box(top->focusWidget()));
            if (!key) return false;
            // The handler may wait, or build the window anew: it runs on its own copy.
            const std::function<bool(PageKey)> act = on_key;
            return act && act(*key);
        }
        return false;
    }
};

// Units marked as buttons for assistive technology carry this property.
constexpr char kAccessibleButton[] = "tapbook-accessible-button";

QAccessibleInterface* button_factory(const QString&, QObject* obj) {
    auto* w = qobject_cast<QWidget*>(obj);
    if (!w || !w->property(kAccessibleButton).toBool()) return nullptr;
    return new QAccessibleWidget(w, QAccessible::Button, w->accessibleName());
}

}  // namespace

void set_page_keys(std::uint32_t window, std::function<bool(PageKey)> on_key) {
    static PageKeys* keys = new PageKeys;  // lives as long as the program
    keys->windows[window] = std::move(on_key);
}

void press_at_centre(const UnitRef& target, const UnitRef& of) {
    QPointer<QWidget> t = control_of(target.window_id, target.unit_id);
    QWidget* o = control_of(of.window_id, of.unit_id);
    if (!t || !o || t->window() != o->window()) return;
    const QPoint local = t->mapFrom(t->window(), o->mapTo(o->window(), o->rect().center()));
    const QPointF global = t->mapToGlobal(QPointF(local));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(local), global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(t, &press);
    if (!t) return;  // the press closed its window
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(local), global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(t, &release);
}

void set_accessible_button(const UnitRef& unit, const Text& name) {
    static const bool installed = (QAccessible::installFactory(button_factory), true);
    (void)installed;
    QWidget* w = control_of(unit.window_id, unit.unit_id);
    if (!w) return;
    w->setProperty(kAccessibleButton, true);
    w->setAccessibleName(detail::qs(name));
}

void set_shortcut(std::uint32_t window, std::uint32_t unit, const char* keys, std::function<void()> action) {
    QWidget* w = control_of(window, unit);
    if (!w) return;
    auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(keys)), w);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, w, [action = std::move(action)] {
        if (action) action();
    });
}

}  // namespace tb::ui
