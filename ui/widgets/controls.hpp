#pragma once
// The Qt controls behind the unit types. Internal to the widget set: nothing outside ui/widgets
// includes this header (tests reach controls through control_of and Qt's own classes).
#include <QAbstractButton>
#include <QByteArray>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "ui/widgets/pictures/prefetch.hpp"
#include "ui/widgets/widgets.hpp"

class QMovie;
class QPainter;
class QStackedWidget;
class QTabBar;

class QKeyEvent;

namespace tb::ui::detail {

// Raises an event of a unit. from_toolkit: the call comes from Qt's event delivery, so a run-time
// error of the handler is kept (take_handler_error) instead of travelling through Qt's frames.
int raise_event(std::uint32_t window, std::uint32_t unit, std::int32_t event, const EventArgs& args, bool from_toolkit);
// A window's control was closed by the user.
void window_closed_by_user(std::uint32_t window, QWidget* frame);

// Whether the property is the unit type's caption or text (what the diagnostic log shows).
constexpr bool is_text_property(UnitType type, int index) {
    switch (type) {
        case UnitType::TransLabel: case UnitType::Label: case UnitType::Button: case UnitType::GroupBox:
        case UnitType::RichEdit: case UnitType::EditBox:
            return index == 8;
        case UnitType::CheckBox: return index == prop::kCheckCaption;
        case UnitType::SuperBtn: return index == prop::kBtnCaption;
        default: return false;
    }
}

// Value conversions of property writes.
std::int32_t as_int(const Value& v);
Text as_text(const Value& v);
Blob as_blob(const Value& v);
bool as_bool(const Value& v);
int as_pick(const Value& v, int low, int high);

QString qs(const Text& gbk_text);

// Whether a key event comes from a key held down. Fed every key press and release: the window
// system reports a held key as releases and presses of the same time stamp, which the toolkit
// does not always mark as repeats.
bool held_key_repeat(const QKeyEvent* e);
Text tx(const QString& s);
QColor colour_of(std::uint32_t bbggrr, const QColor& fallback);
QFont font_of(const FontBlob& f);
Value font_value(const FontBlob& f, int member);
void font_assign(FontBlob& f, int member, const Value& v);

// Picture bytes to an image; a target size lets the decoder scale while decoding. Null on bad bytes.
QImage decode_picture_bytes(const Blob& bytes, QSize target);
// The device pixels a box of this logical size covers at a device pixel ratio (rounded up, so a
// picture drawn into the box is never enlarged); the size itself for an empty box.
QSize device_pixel_size(QSize logical, qreal ratio);
// A picture scaled to fill a box: decoded for the box's device pixels and marked with the ratio,
// so it is drawn pixel for pixel on a high-density screen. Null for no or unreadable bytes.
QImage decode_picture_for_box(const Blob& bytes, QSize box, qreal ratio);
// Asks the picture prefetcher for the pictures of the pages either side of the current one (the
// next first), so turning to either paints from the cache.
void prefetch_pages_beside(const std::vector<QWidget*>& pages, int current);

// What every unit control offers the widget set.
class UnitBehaviour {
public:
    UnitBehaviour(std::uint32_t window, std::uint32_t unit) : window_id_(window), unit_id_(unit) {}
    virtual ~UnitBehaviour() = default;
    virtual QWidget* self() = 0;
    // Where units whose parent is this one go.
    virtual QWidget* container() { return self(); }
    // Type-specific properties (index 8 and above): false when the type has no such property.
    virtual bool get_own(int, int, Value&) { return false; }
    virtual void set_own(int, int, const Value&) {}
    virtual void disabled_changed(bool) {}
    std::uint32_t window_id() const { return window_id_; }
    std::uint32_t unit_id() const { return unit_id_; }

protected:
    int fire(std::int32_t event, bool from_toolkit = true) {
        return raise_event(window_id_, unit_id_, event, EventArgs{event, 0, 0, 0, 0}, from_toolkit);
    }
    std::uint32_t window_id_;
    std::uint32_t unit_id_;
};

class WindowFrame : public QWidget, public UnitBehaviour {
public:
    WindowFrame(std::uint32_t window, std::uint32_t unit, WindowBlock block);
    QWidget* self() override { return this; }
    bool get_own(int index, int member, Value& out) override;
    void set_own(int index, int member, const Value& v) override;
    bool closing_by_program = false;

protected:
    void closeEvent(QCloseEvent* e) override;
    void paintEvent(QPaintEvent*) override;

private:
    WindowBlock block_;
    QImage background_;
};

class TransLabelWidget : public QWidget, public UnitBehaviour {
public:
    TransLabelWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, TransLabelBlock block);
    ~TransLabelWidget() override;
    QWidget* self() override { return this; }
    bool get_own(int index, int member, Value& out) override;
    void set_own(int index, int member, const Value& v) override;
    void disabled_changed(bool disabled) override;

    // Draws the caption with the label's top left corner at origin.
    void paint_caption(QPainter& p, QPoint origin) const;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void moveEvent(QMoveEvent*) override { place_caption(); }
    void resizeEvent(QResizeEvent*) override { place_caption(); }
    void showEvent(QShowEvent*) override { place_caption(); }
    void hideEvent(QHideEvent*) override;

private:
    int text_flags() const;
    void place_caption();
    TransLabelBlock block_;
    QString caption_;
    // A caption larger than the label is drawn, unclipped, by this sibling just under it.
    QPointer<QWidget> overflow_;
};

class PicBoxWidget : public QWidget, public UnitBehaviour {
public:
    PicBoxWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, PicBoxBlock block);
    ~PicBoxWidget() override;
    QWidget* self() override { return this; }
    // Its picture as its next paint will ask the picture cache for it (none for an empty box or
    // an animation), to be decoded ahead.
    std::optional<media::PrefetchRequest> prefetch_request() const;
    bool get_own(int index, int member, Value& out) override;
    void set_own(int index, int member, const Value& v) override;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void hideEvent(QHideEvent*) override;
    void showEvent(QShowEvent*) override;

private:
    void picture_changed();
    bool may_animate() const;
    void start_movie();
    PicBoxBlock block_;
    QImage image_;      // decoded for image_target_
    QSize image_target_;
    bool decoded_ = false;
    std::unique_ptr<QMovie> movie_;
    bool movie_tried_ = false;  // whether the picture was looked at as an animation
};

class DrawPanelWidget : public QWidget, public UnitBehaviour {
public:
    DrawPanelWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, DrawPanelBlock block);
    QWidget* self() override { return this; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    DrawPanelBlock block_;
    QImage image_;
};

class LabelWidget : public QLabel, public UnitBehaviour {
public:
    LabelWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, LabelBlock block);
    QWidget* self() override { return this; }
    bool get_own(int index, int member, Value& out) override;
    void set_own(int index, int member, const Value& v) override;

protected:
    void mousePressEvent(QMouseEvent* e) override;

private:
    void apply();
    LabelBlock block_;
};

class GroupBoxWidget : public QGroupBox, public UnitBehaviour {
public:
    GroupBoxWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, GroupBoxBlock block);
    QWidget* self() override { return this; }
    bool get_own(int index, int member, Value& out) override;
    void set_own(int index, int member, const Value& v) override;

protected:
    void mousePressEvent(QMouseEvent* e) override;
};

class ButtonWidget : public QPushButton, public UnitBehaviour {
public:
    ButtonWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, ButtonBlock block);
    QWidget* self() override { return this; }
    bool get_own(int index, int member, Value& out) override;
    void set_own(int index, int member, const Value& v) override;
};

class CheckBoxWidget : public QCheckBox, public UnitBehaviour {
public:
    CheckBoxWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, CheckBoxBlock block);
    QWidget* self() override { return this; }
    bool get_own(int index, int member, Value& out) override;
    void set_own(int index, int member, const Value& v) override;
};

class ComboBoxWidget : public QComboBox, public UnitBehaviour {
public:
    ComboBoxWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, ComboBoxBlock block);
    QWidget* self() override { return this; }
    bool get_own(int index, int member, Value& out) override;
    void set_own(int index, int member, const Value& v) override;
    std::int32_t item_data(int item) const;
    // The type a narrow box draws its choice in so that the choice shows whole (the box's own
    // type when it fits; never below 8 px).
    QFont choice_font() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QRect choice_rect() const;
    std::vector<std::uint32_t> item_data_;
};

class EditLineWidget : public QLineEdit, public UnitBehaviour {
public:
    EditLineWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, EditBoxBlock block);
    QWidget* self() override { return this; }
    bool get_own(int index, int member, Value& out) override;
    void set_own(int index, int member, const Value& v) override;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void apply_colours();
    void fit_text_margins();
    EditBoxBlock block_;
};

class EditTextWidget : public QPlainTextEdit, public UnitBehaviour {
public:
    EditTextWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, EditBoxBlock block);
    QWidget* self() override { return this; }
    bool get_own(int index, int member, Value& out) override;
    void set_own(int index, int member, const Value& v) override;

private:
    void apply_colours();
    EditBoxBlock block_;
    bool writing_ = false;
};

class RichEditWidget : public QTextEdit, public UnitBehaviour {
public:
    RichEditWidget(std::uint32_t window, std::uint32_t unit, QWidget* parent, RichEditBlock block);
    QWidget* self() override { return this; }
    bool get_own(int index, int member, Value& out) override;
    void set_own(int index, int member, const Value& v) override;

private:
    void apply_format();
    RichEditBlock block_;
};

class SuperButton : public QAbstractButton, public UnitBehaviour {
public:
    SuperButton(std::uint32_t window, std::uint32_t unit, QWidget* parent, SuperBtnBlock block);
    QWidget* self() override { return this; }
    bool get_own(int index, int member, Value& out) override;
    void set_own(int index, int member, const Value& v) override;
    void disabled_changed(bool) override { update(); }
    QSize sizeHint() const override { return size(); }

protected:
    void paintEvent(QPaintEvent*) override;
    bool event(QEvent* e) override;

private:
    void on_clicked();
    void draw_caption(QPainter& p, QRect r);
    const QImage& picture(int state);
    SuperBtnBlock block_;
    QImage images_[3];
    QSize image_size_[3];
};

class PageBook : public QWidget, public UnitBehaviour {
public:
    PageBook(std::uint32_t window, std::uint32_t unit, QWidget* parent, PageControlBlock block,
             const std::vector<std::uint32_t>& children);
    QWidget* self() override { return this; }
    bool get_own(int index, int member, Value& out) override;
    void set_own(int index, int member, const Value& v) override;
    // The page control that units listed in this book's child list go on (null: not listed).
    QWidget* page_for(std::uint32_t unit) const;
    int page_count() const { return static_cast<int>(pages_.size()); }
    QWidget* current_page() const { return pages_[std::size_t(current_)]; }
    int current() const { return current_; }
    // Turns to page k: event 1 first (1 refuses), then the change and event 0. Same page: nothing.
    void turn_to(int k, bool from_toolkit);

protected:
    void resizeEvent(QResizeEvent*) override;
    void showEvent(QShowEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    void layout_pages();
    PageControlBlock block_;
    QTabBar* tabs_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    std::vector<QWidget*> pages_;
    std::vector<std::pair<std::uint32_t, int>> membership_;  // sorted by unit id
    int current_ = 0;
    bool syncing_ = false;
};

}  // namespace tb::ui::detail
