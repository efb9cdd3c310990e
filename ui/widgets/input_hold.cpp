// Feedback pauses that keep the windows painted: while a handler waits, the pupil's input is held
// back and handed on afterwards, so it is judged exactly as if the program had been busy.
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <vector>

#include "ui/widgets/widgets.hpp"

namespace tb::ui {
namespace {

bool is_input(QEvent::Type t) {
    switch (t) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
        case QEvent::InputMethod:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

// Keeps the input events that reach any object while installed; hands them on, in order, as
// posted events when it goes. A window's close is held too: a window closed under a waiting
// handler would leave it writing to units that are gone.
class InputHold : public QObject {
public:
    InputHold() { qApp->installEventFilter(this); }
    ~InputHold() override {
        qApp->removeEventFilter(this);
        for (auto& [target, event] : held_)
            if (target) QCoreApplication::postEvent(target, event.release());
    }
    bool eventFilter(QObject* obj, QEvent* e) override {
        if (!is_input(e->type())) return false;
        held_.emplace_back(QPointer<QObject>(obj), std::unique_ptr<QEvent>(e->clone()));
        return true;
    }

private:
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> held_;
};

int g_depth = 0;

}  // namespace

void with_input_held(const std::function<void()>& during) {
    if (!qApp) {
        during();
        return;
    }
    // A wait inside a wait (nothing does this today) keeps the outer hold.
    std::unique_ptr<InputHold> hold = g_depth == 0 ? std::make_unique<InputHold>() : nullptr;
    ++g_depth;
    struct Depth {
        ~Depth() { --g_depth; }
    } depth;
    during();
}

void feedback_wait(int milliseconds) {
    with_input_held([milliseconds] {
        // Paint what the handler has changed so far, then keep the event loop turning (painting,
        // timers, the players' notices) until the time is up.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        if (milliseconds <= 0) return;
        // Input still queued by the window system stays there until the wait is over.
        QEventLoop loop;
        QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    });
}

}  // namespace tb::ui
