#pragma once
// Writing a template set: the template compiler builds the program's set with it, and tests
// build small sets to read back.
#include <cstdint>
#include <vector>

#include "runtime/text.hpp"
#include "ui/store/template_store.hpp"

namespace tb::ui {

// One unit record, every stored field. The type block is already encoded (type_blocks.hpp);
// empty means the type's defaults.
struct UnitSpec {
    std::uint32_t id = 0;
    std::uint32_t type_code = 0;
    Text name{};     // GBK
    Text comment{};  // GBK
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    std::uint32_t parent = 0;
    std::vector<std::uint32_t> children{};  // a PageControl's page groups each end with 0
    std::uint32_t cursor = 0;             // 0 writes an empty cursor blob
    Text tag{};
    std::uint32_t flags = kFlagVisible;
    std::uint32_t tab_order = 0;
    std::vector<Binding> bindings{};
    Blob type_block{};
};

// One window template; units[0] is the window's own record (type Window).
struct WindowSpec {
    std::uint32_t id = 0;
    std::uint32_t window_word = 0;
    std::uint32_t class_id = 0;
    Text text1{}, text2{};
    std::vector<UnitSpec> units{};
};

// One record: the length word and the fields after it.
Blob write_unit_record(const UnitSpec& unit);
// The whole set: directory, then the window templates in the given order.
Blob write_template_set(const std::vector<WindowSpec>& windows);

}  // namespace tb::ui
