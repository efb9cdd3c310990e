// The platform seams on Qt: message boxes, the screen size, the blocking sleep, and fonts.
#include <QApplication>
#include <QFont>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPixmapCache>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <QLoggingCategory>
#include <optional>

#include "runtime/log.hpp"
#include "runtime/platform.hpp"
#include "ui/widgets/controls.hpp"

namespace tb::ui {

void install_fonts() {
    // fontconfig alone would draw these faces with Latin-only or Japanese shapes.
    QFont::insertSubstitution(QString::fromUtf8("宋体"), QStringLiteral("Noto Serif CJK SC"));
    QFont::insertSubstitution(QString::fromUtf8("黑体"), QStringLiteral("Noto Sans CJK SC"));
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPointSize(9);
    QApplication::setFont(f);
}

namespace {

// A box must be answered by a key pressed once it is there to read: keys typed ahead (still
// queued, or struck before the pupil could have seen it) and keys held down are not answers.
constexpr std::uint64_t kTypedAheadMs = 300;

class AnswerKeyGuard : public QObject {
public:
    explicit AnswerKeyGuard(QWidget* box) : box_(box) { qApp->installEventFilter(this); }
    ~AnswerKeyGuard() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* obj, QEvent* e) override {
        if (obj == box_ && e->type() == QEvent::Show) shown_at_ = tick_ms();
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease && e->type() != QEvent::ShortcutOverride)
            return false;
        auto* w = qobject_cast<QWidget*>(obj);
        if (!w || (w != box_ && !box_->isAncestorOf(w))) return false;
        return detail::held_key_repeat(static_cast<QKeyEvent*>(e)) || !shown_at_ || tick_ms() < *shown_at_ + kTypedAheadMs;
    }

private:
    QWidget* box_;
    std::optional<std::uint64_t> shown_at_;
};

}  // namespace

namespace {
class AfterFirstWindow final : public QObject {
public:
    explicit AfterFirstWindow(std::function<void()> then) : QObject(qApp), then_(std::move(then)) {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Expose && watched->isWindowType() && static_cast<QWindow*>(watched)->isExposed()) {
            qApp->removeEventFilter(this);
            // Queued behind the paint that answers this expose.
            QMetaObject::invokeMethod(this, [this] {
                then_();
                deleteLater();
            }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> then_;
};
}  // namespace

void after_first_window(std::function<void()> then) { new AfterFirstWindow(std::move(then)); }

int show_message_box(const Text& text, const Text& caption, MsgButtons buttons, MsgIcon icon) {
    {
        QMessageBox box;
        AnswerKeyGuard guard(&box);
        box.setWindowTitle(detail::qs(caption));
        box.setText(detail::qs(text));
        switch (icon) {
            case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
            case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
            case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
            case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
            case MsgIcon::None: break;
        }
        if (buttons == MsgButtons::YesNo) {
            QPushButton* yes = box.addButton(QString::fromUtf8("是(&Y)"), QMessageBox::YesRole);
            QPushButton* no = box.addButton(QString::fromUtf8("否(&N)"), QMessageBox::NoRole);
            box.setDefaultButton(yes);
            box.setEscapeButton(no);
            box.exec();
            return box.clickedButton() == yes ? kMsgYes : kMsgNo;
        }
        QPushButton* ok = box.addButton(QString::fromUtf8("确定"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
        box.exec();
        return kMsgOk;
    }
}

void install_qt_seams() {
    set_message_box(show_message_box);
    // What a window of the program can show: the screen's free area (without panels), less the
    // frame a window manager puts round the windows already shown (none on a bare X server).
    set_screen([] {
        QScreen* s = QGuiApplication::primaryScreen();
        if (!s) return ScreenSize{};
        const QRect area = s->availableGeometry();
        int frame_w = 0, frame_h = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || (w->windowFlags() & Qt::Popup) == Qt::Popup) continue;
            frame_w = std::max(frame_w, w->frameGeometry().width() - w->geometry().width());
            frame_h = std::max(frame_h, w->frameGeometry().height() - w->geometry().height());
        }
        return ScreenSize{area.width() - frame_w, area.height() - frame_h};
    });
    set_sleep(feedback_wait);
    set_timer([](int ms, std::function<void()> fn) { QTimer::singleShot(ms, Qt::PreciseTimer, qApp, std::move(fn)); });
    // The style keeps pictures of drawn controls keyed by their palettes: drawn with one palette
    // per set of colours, windows built anew reuse them, and 1 MB is plenty for the rest.
    install_steady_style();
    QPixmapCache::setCacheLimit(1024);  // kB
}

namespace {
Q_LOGGING_CATEGORY(lcSound, "tapbook.sound", QtWarningMsg)
Q_LOGGING_CATEGORY(lcEvents, "tapbook.events", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUi, "tapbook.ui", QtWarningMsg)

const QLoggingCategory& category(log::Category c) {
    switch (c) {
        case log::Category::Sound: return lcSound();
        case log::Category::Events: return lcEvents();
        case log::Category::Ui: break;
    }
    return lcUi();
}
}  // namespace

void install_diagnostic_log() {
    for (log::Category c : {log::Category::Sound, log::Category::Events, log::Category::Ui})
        log::set_enabled(c, category(c).isDebugEnabled());
    log::set_sink([](log::Category c, std::string_view line) {
        QMessageLogger().debug(category(c)).noquote()
            << QString::fromUtf8(line.data(), qsizetype(line.size()));
    });
}

}  // namespace tb::ui
