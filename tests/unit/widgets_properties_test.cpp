// Properties by index: kinds, conversions, clamping, fonts by member, live and stored reads.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "runtime/error.hpp"
#include "support/widget_fixture.hpp"

using namespace tb;
using namespace tb::ui;
using namespace tb::test;

namespace {

constexpr std::uint32_t kWin = 0x52000100;
// The test window's units, numbered from the first.
enum : std::uint32_t { kTrans = 0x16000001, kLabel, kPic, kEdit, kCombo, kBroken, kCheck, kButton };

// The picture button's numbered words, each stored as its own property number.
constexpr int kButtonWords[] = {11, 12, 13, 14, 16, 18, 20, 23, 24, 25, 26, 27, 28, 29, 34};

class WidgetsProperties : public tb::test::WidgetTest {
protected:
    void SetUp() override {
        WidgetTest::SetUp();
        auto w = window_spec(kWin);
        w.units.push_back(unit_spec(kTrans, UnitType::TransLabel, "透明标签甲", 0, {5, 6, 70, 20}));
        auto label = unit_spec(kLabel, UnitType::Label, "标签_显示翻译", 0, {27, 21, 40, 24});
        LabelBlock lb;
        lb.caption = gbk("译文");
        lb.font = Font{gbk("黑体"), 12, true, true, false, false, 0};
        label.type_block = encode(lb);
        label.tag = "1";
        w.units.push_back(label);
        auto pic = unit_spec(kPic, UnitType::PicBox, "图片框甲", 0, {100, 100, 40, 40});
        pic.flags = 0;  // hidden
        pic.cursor = kCursorHand;
        pic.tag = "90";
        w.units.push_back(pic);
        w.units.push_back(unit_spec(kEdit, UnitType::EditBox, "编辑框甲", 0, {200, 10, 100, 24}));
        auto combo = unit_spec(kCombo, UnitType::ComboBox, "组合框课程选择", 0, {300, 50, 80, 20});
        ComboBoxBlock cb;
        cb.options[0] = 2;
        cb.items = {"Unit 1", "Unit 2", gbk("单词表")};
        cb.item_data = {1, 2, 9, 10, 11};
        combo.type_block = encode(cb);
        w.units.push_back(combo);
        auto broken = unit_spec(kBroken, UnitType::TransLabel, "透明标签坏", 0, {1, 2, 3, 4});
        broken.type_block = {9, 0, 0, 0};  // a version no reader knows
        w.units.push_back(broken);
        w.units.push_back(unit_spec(kCheck, UnitType::CheckBox, "选择框甲", 0, {10, 300, 80, 20}));
        auto button = unit_spec(kButton, UnitType::SuperBtn, "超级按钮甲", 0, {10, 400, 40, 30});
        SuperBtnBlock sb;
        sb.reserved_words = {11, 12, 13, 14};
        sb.transparent1 = 16;
        sb.transparent0 = 18;
        sb.transparent2 = 20;
        sb.reserved_word = 23;
        sb.colours = {24, 25, 26, 27, 28, 29};
        sb.reserved_last = 34;
        button.type_block = encode(sb);
        w.units.push_back(button);
        load({w});
    }
};

}  // namespace

TEST_F(WidgetsProperties, PicksAreClampedToTheirLists) {
    ASSERT_TRUE(show_window(kWin, false));
    struct Pick {
        std::uint32_t unit;
        int index;
        std::int32_t set, read;
    };
    for (const Pick& p : {Pick{kTrans, prop::kTransEffect, 7, 3}, Pick{kTrans, prop::kTransEffect, -1, 0},
                          Pick{kTrans, prop::kTransHAlign, 5, 2}, Pick{kTrans, prop::kTransVAlign, -3, 0},
                          Pick{kPic, prop::kPicBorder, 9, 5}, Pick{kPic, prop::kPicDisplayMode, -2, 0},
                          Pick{kTrans, prop::kTransWrap, 42, 1}}) {
        set_property(kWin, p.unit, p.index, p.set);
        EXPECT_EQ(get_int(kWin, p.unit, p.index), p.read) << "property " << p.index << " set to " << p.set;
    }
}

TEST_F(WidgetsProperties, PictureButtonWordsAreReachedByTheirNumbers) {
    ASSERT_TRUE(show_window(kWin, false));
    for (int index : kButtonWords) EXPECT_EQ(get_int(kWin, kButton, index), index) << index;
    for (int index : kButtonWords) set_property(kWin, kButton, index, std::int32_t(index + 100));
    for (int index : kButtonWords) EXPECT_EQ(get_int(kWin, kButton, index), index + 100) << index;
}

TEST_F(WidgetsProperties, WritesConvertToThePropertysKind) {
    ASSERT_TRUE(show_window(kWin, false));
    set_property(kWin, kTrans, prop::kTransCaption, std::int32_t(-42));
    EXPECT_EQ(get_text(kWin, kTrans, prop::kTransCaption), "-42");
    set_property(kWin, kTrans, prop::kLeft, Text(" 17"));
    EXPECT_EQ(get_int(kWin, kTrans, prop::kLeft), 17);
    set_property(kWin, kTrans, prop::kTag, std::int32_t(12));
    EXPECT_EQ(get_text(kWin, kTrans, prop::kTag), "12");
    set_property(kWin, kTrans, prop::kTransCaption, Text());
    EXPECT_EQ(get_text(kWin, kTrans, prop::kTransCaption), "");
}

TEST_F(WidgetsProperties, FontSizeMemberChangesOnlyTheSize) {
    ASSERT_TRUE(show_window(kWin, false));
    set_property(kWin, kLabel, prop::kLabelFont, font_member::kSize, std::int32_t(22));
    auto f = std::get<Font>(get_property(kWin, kLabel, prop::kLabelFont));
    EXPECT_EQ(f.size_pt, 22);
    EXPECT_EQ(f.face, gbk("黑体"));
    EXPECT_TRUE(f.bold);
    EXPECT_TRUE(f.italic);
    EXPECT_FALSE(f.underline);
    EXPECT_EQ(control(kWin, kLabel)->font().pointSize(), 22);
    EXPECT_TRUE(control(kWin, kLabel)->font().bold());
    EXPECT_EQ(get_int(kWin, kLabel, prop::kLabelFont, font_member::kSize), 22);
}

TEST_F(WidgetsProperties, FontMembersAndFaceFallback) {
    ASSERT_TRUE(show_window(kWin, false));
    set_property(kWin, kTrans, prop::kTransFont, font_member::kAngle, std::int32_t(3700));
    EXPECT_EQ(get_int(kWin, kTrans, prop::kTransFont, font_member::kAngle), 100);
    set_property(kWin, kTrans, prop::kTransFont, font_member::kUnderline, std::int32_t(1));
    EXPECT_EQ(get_int(kWin, kTrans, prop::kTransFont, font_member::kUnderline), 1);
    set_property(kWin, kTrans, prop::kTransFont, font_member::kFace, Text(40, 'A'));
    EXPECT_EQ(get_text(kWin, kTrans, prop::kTransFont), "");  // the default face
    Font whole{gbk("宋体"), 15, false, false, false, false, 0};
    set_property(kWin, kTrans, prop::kTransFont, whole);
    EXPECT_EQ(std::get<Font>(get_property(kWin, kTrans, prop::kTransFont)), whole);
}

TEST_F(WidgetsProperties, FaceOf31BytesStaysAndNegativeAnglesWrapAround) {
    ASSERT_TRUE(show_window(kWin, false));
    // The stored face field holds 31 bytes and its terminator: 31 fit, 32 do not.
    set_property(kWin, kLabel, prop::kLabelFont, font_member::kFace, Text(31, 'B'));
    EXPECT_EQ(get_text(kWin, kLabel, prop::kLabelFont), Text(31, 'B'));
    EXPECT_EQ(control(kWin, kLabel)->font().family(), QString(31, QLatin1Char('B')));
    set_property(kWin, kLabel, prop::kLabelFont, font_member::kFace, Text(32, 'B'));
    EXPECT_EQ(get_text(kWin, kLabel, prop::kLabelFont), "");
    EXPECT_EQ(control(kWin, kLabel)->font().family(), QApplication::font().family());
    EXPECT_EQ(control(kWin, kLabel)->font().pointSize(), 12);  // the rest of the font stays
    // Whole-font writes are held to the same rules as member writes.
    Font odd{Text(32, 'C'), 10, false, false, false, false, -10};
    set_property(kWin, kTrans, prop::kTransFont, odd);
    auto f = std::get<Font>(get_property(kWin, kTrans, prop::kTransFont));
    EXPECT_EQ(f.face, "");
    EXPECT_EQ(f.angle, 3590);
    set_property(kWin, kTrans, prop::kTransFont, font_member::kAngle, std::int32_t(-3600 * 2 - 1));
    EXPECT_EQ(get_int(kWin, kTrans, prop::kTransFont, font_member::kAngle), 3599);
    set_property(kWin, kTrans, prop::kTransFont, font_member::kAngle, std::int32_t(3600));
    EXPECT_EQ(get_int(kWin, kTrans, prop::kTransFont, font_member::kAngle), 0);
}

TEST_F(WidgetsProperties, GbkTextsReachTheControlAndComeBack) {
    ASSERT_TRUE(show_window(kWin, false));
    set_property(kWin, kEdit, prop::kEditContent, gbk("你好 Tom"));
    auto* edit = qobject_cast<QLineEdit*>(control(kWin, kEdit));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QString::fromUtf8("你好 Tom"));
    // A character GBK cannot hold comes back as "?".
    edit->setText(QString::fromUtf8("a\U0001F600b"));
    EXPECT_EQ(get_text(kWin, kEdit, prop::kEditContent), "a?b");
}

TEST_F(WidgetsProperties, ReadsGiveLiveGeometry) {
    ASSERT_TRUE(show_window(kWin, false));
    control(kWin, kTrans)->resize(333, 44);
    EXPECT_EQ(get_int(kWin, kTrans, prop::kWidth), 333);
    EXPECT_EQ(get_int(kWin, kTrans, prop::kHeight), 44);
    set_property(kWin, kTrans, prop::kTop, std::int32_t(-4));
    EXPECT_EQ(control(kWin, kTrans)->y(), -4);
    EXPECT_EQ(get_int(kWin, kTrans, prop::kLeft), 5);
}

TEST_F(WidgetsProperties, UnshownWindowReadsCommonPropertiesFromTheRecord) {
    EXPECT_EQ(get_int(kWin, kPic, prop::kLeft), 100);
    EXPECT_EQ(get_int(kWin, kPic, prop::kVisible), 0);
    EXPECT_EQ(get_int(kWin, kPic, prop::kCursor), std::int32_t(kCursorHand));
    EXPECT_EQ(get_text(kWin, kPic, prop::kTag), "90");
    try {
        get_property(kWin, kPic, prop::kPicPicture);
        FAIL() << "a type-specific read of an unshown window must fail";
    } catch (const RuntimeErrorRaised& e) {
        EXPECT_EQ(e.message, gbk("指定窗口尚未载入"));
    }
    try {
        set_property(0x52999999, kPic, prop::kVisible, std::int32_t(1));
        FAIL() << "a window outside the set must fail";
    } catch (const RuntimeErrorRaised& e) {
        EXPECT_EQ(e.message, gbk("未载入欲访问窗口组件所在的窗口"));
    }
}

TEST_F(WidgetsProperties, StatesAndCursorsComeFromTheFlags) {
    ASSERT_TRUE(show_window(kWin, false));
    EXPECT_TRUE(control(kWin, kPic)->isHidden());
    EXPECT_EQ(control(kWin, kPic)->cursor().shape(), Qt::PointingHandCursor);
    set_property(kWin, kPic, prop::kVisible, std::int32_t(1));
    EXPECT_TRUE(control(kWin, kPic)->isVisible());
    set_property(kWin, kPic, prop::kCursor, std::int32_t(kCursorArrow));
    EXPECT_EQ(control(kWin, kPic)->cursor().shape(), Qt::ArrowCursor);
    set_property(kWin, kEdit, prop::kDisabled, std::int32_t(1));
    EXPECT_FALSE(control(kWin, kEdit)->isEnabled());
    EXPECT_EQ(get_int(kWin, kEdit, prop::kDisabled), 1);
}

TEST_F(WidgetsProperties, UnreadableBlockCreatesNoUnit) {
    ASSERT_TRUE(show_window(kWin, false));
    EXPECT_EQ(control(kWin, kBroken), nullptr);
    EXPECT_EQ(get_int(kWin, kBroken, prop::kWidth), 3);  // the record still answers
    EXPECT_TRUE(collect_units(kWin, gbk("透明标签坏")).empty());
}

TEST_F(WidgetsProperties, ComboBoxItemsAndData) {
    ASSERT_TRUE(show_window(kWin, false));
    EXPECT_EQ(combo_item_count(kWin, kCombo), 3);
    set_property(kWin, kCombo, prop::kComboSelection, std::int32_t(2));
    int i = get_int(kWin, kCombo, prop::kComboSelection);
    EXPECT_EQ(i, 2);
    EXPECT_EQ(combo_item_data(kWin, kCombo, i), 9);
    EXPECT_EQ(combo_item_text(kWin, kCombo, i), gbk("单词表"));
    EXPECT_EQ(combo_item_data(kWin, kCombo, 3), -1);  // data beyond the items names no item
    set_property(kWin, kCombo, prop::kComboSelection, std::int32_t(-1));
    EXPECT_EQ(combo_item_data(kWin, kCombo, get_int(kWin, kCombo, prop::kComboSelection)), -1);
}

TEST_F(WidgetsProperties, EditBoxColoursAndCheckBoxState) {
    ASSERT_TRUE(show_window(kWin, false));
    set_property(kWin, kEdit, prop::kEditBackground, std::int32_t(0x0000E080));  // red 128, green 224
    EXPECT_EQ(control(kWin, kEdit)->palette().color(QPalette::Base), QColor(128, 224, 0));
    set_property(kWin, kCheck, prop::kChecked, std::int32_t(1));
    EXPECT_EQ(get_int(kWin, kCheck, prop::kChecked), 1);
    set_property(kWin, kCheck, prop::kCheckCaption, gbk("是否读音"));
    EXPECT_EQ(get_text(kWin, kCheck, prop::kCheckCaption), gbk("是否读音"));
}

TEST_F(WidgetsProperties, WindowStateMaximises) {
    ASSERT_TRUE(show_window(kWin, false));
    set_property(kWin, 0, prop::kWindowState, std::int32_t(3));
    EXPECT_EQ(get_int(kWin, 0, prop::kWindowState), 3);
    EXPECT_TRUE(control(kWin, 0)->windowState() & Qt::WindowMaximized);
}
