#pragma once
// Program-wide text lists written out in a test.
#include <initializer_list>

#include "runtime/list.hpp"
#include "runtime/text.hpp"

namespace tb::test {

inline List<Text> list_of(std::initializer_list<const char*> items) {
    List<Text> l;
    for (const char* s : items) l.append(s);
    return l;
}

}  // namespace tb::test
