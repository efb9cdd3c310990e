#pragma once
// The program-wide list: one dimension, indexed from 1, never missing (it starts empty), owning
// its elements. Fetching element n checks n against the count first; an index outside the list
// is the runtime's array-index error.
#include <cstddef>
#include <vector>

#include "runtime/error.hpp"

namespace tb {

template <class T>
class List {
public:
    int count() const { return static_cast<int>(items_.size()); }
    bool empty() const { return items_.empty(); }

    const T& at(int n) const {
        check(n);
        return items_[static_cast<std::size_t>(n - 1)];
    }
    T& at(int n) {
        check(n);
        return items_[static_cast<std::size_t>(n - 1)];
    }

    void append(T value) { items_.push_back(std::move(value)); }
    // Removes element n; the elements behind it move up.
    void remove(int n) {
        check(n);
        items_.erase(items_.begin() + (n - 1));
    }
    // Frees every element and leaves an empty list.
    void clear() {
        std::vector<T>().swap(items_);
    }

    const std::vector<T>& items() const { return items_; }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    friend bool operator==(const List& a, const List& b) { return a.items_ == b.items_; }

private:
    void check(int n) const {
        if (n < 1 || n > count()) raise_runtime_error(errcode::kIndexOutOfRange, msg::kIndexOutOfRange);
    }
    std::vector<T> items_;
};

}  // namespace tb
