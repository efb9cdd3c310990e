// The platform seams on Qt: message boxes, the screen size, the blocking sleep, and fonts.
#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <QPixmapCache>
#include <QPushButton>
#include <QScreen>
#include <QLoggingCategory>

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

void install_qt_seams() {
    set_message_box([](const Text& text, const Text& caption, MsgButtons buttons, MsgIcon icon) {
        QMessageBox box;
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
    });
    set_screen([] {
        QScreen* s = QGuiApplication::primaryScreen();
        if (!s) return ScreenSize{};
        QRect g = s->geometry();
        return ScreenSize{g.width(), g.height()};
    });
    set_sleep(feedback_wait);
    // The style keeps pictures of drawn controls keyed by their palettes, and each window brings
    // palettes of its own: with Qt's 10 MB the cache only fills, slowly, as windows come and go.
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
