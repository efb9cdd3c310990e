// Code written once for every type block (the template compiler's encoder, the widget set's
// control factory) reaches each block through its unit type.
#include <gtest/gtest.h>

#include <type_traits>

#include "runtime/text.hpp"
#include "ui/store/type_blocks.hpp"

using namespace tb;
using namespace tb::ui;

TEST(UnitBlocks, EachUnitTypeReachesItsOwnBlockAndOthersNone) {
    const UnitType types[] = {UnitType::Window,   UnitType::EditBox,    UnitType::PicBox,   UnitType::DrawPanel, UnitType::GroupBox,
                              UnitType::Label,    UnitType::Button,     UnitType::CheckBox, UnitType::ComboBox,  UnitType::TransLabel,
                              UnitType::SuperBtn, UnitType::RichEdit,   UnitType::PageControl};
    for (UnitType t : types) {
        int calls = 0;
        UnitType reached = with_block<UnitType>(t, [&]<typename Block>(std::type_identity<Block>) {
            ++calls;
            return Block::kType;
        });
        EXPECT_EQ(reached, t);
        EXPECT_EQ(calls, 1);
    }
    bool called = false;
    int got = with_block<int>(static_cast<UnitType>(0x00010007), [&](auto) { called = true; return 1; }, -1);
    EXPECT_EQ(got, -1);
    EXPECT_FALSE(called);
}

TEST(UnitBlocks, DecodingByBlockTypeIsTheNamedDecoder) {
    // The empty block's defaults, which differ by type.
    EXPECT_EQ(decode<TransLabelBlock>({})->caption, gbk("透明标签"));
    EXPECT_EQ(decode<RichEditBlock>({})->read_only, 1u);
    LabelBlock label;
    label.caption = gbk("Hi");
    label.alignment = 2;
    Blob b = encode(label);
    auto by_type = decode<LabelBlock>(b);
    ASSERT_TRUE(by_type);
    EXPECT_EQ(by_type->caption, decode_label(b)->caption);
    EXPECT_EQ(by_type->alignment, 2u);
    // Refused alike: a version from the future.
    Blob newer = b;
    newer[0] = 9;
    EXPECT_FALSE(decode<LabelBlock>(newer));
    EXPECT_FALSE(decode_label(newer));
}
