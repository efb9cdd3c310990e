// Dragging a unit with the mouse: after a press on it, the unit follows the pointer until the
// button is released, kept inside its parent (the translation pop-up stays in the main window).
#include <QEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QCursor>
#include <QGuiApplication>
#include <QWidget>

#include <algorithm>

#include "ui/widgets/widgets.hpp"

namespace tb::ui {
namespace {

class DragFollower : public QObject {
public:
    DragFollower(QWidget* target, QPoint press_global) : QObject(target), target_(target), last_(press_global) {
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != target_) return false;
        if (event->type() == QEvent::MouseMove) {
            const QPoint now = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            QPoint to = target_->pos() + (now - last_);
            if (QWidget* parent = target_->parentWidget()) {
                to.setX(std::clamp(to.x(), 0, std::max(0, parent->width() - target_->width())));
                to.setY(std::clamp(to.y(), 0, std::max(0, parent->height() - target_->height())));
            }
            target_->move(to);
            last_ = now;
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            target_->removeEventFilter(this);
            deleteLater();
            return true;
        }
        return false;
    }

private:
    QPointer<QWidget> target_;
    QPoint last_;
};

}  // namespace

void drag_unit(const UnitRef& unit) {
    QWidget* w = control_of(unit.window_id, unit.unit_id);
    if (!w || !(QGuiApplication::mouseButtons() & Qt::LeftButton)) return;
    new DragFollower(w, QCursor::pos());
}

}  // namespace tb::ui
