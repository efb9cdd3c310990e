#pragma once
// The volume's shape and the authors' rules (book/README.md), checked before anything is baked.
// Every problem names the file and line, and the page and item where there is one.
#include <filesystem>
#include <string>
#include <vector>

#include "content/volume.hpp"
#include "tools/book/book.hpp"

namespace tb::content {

inline constexpr int kLongestLine = 84;  // bytes in GBK

// Checks the book read from root. Appends one problem per broken rule.
void check_book(const std::filesystem::path& root, const tb::book::Book& book,
                std::vector<tb::book::Problem>& problems);

}  // namespace tb::content
