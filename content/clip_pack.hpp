#pragma once
// Reading the packed clip file the bake tool writes (tools/clips/clipbake.cpp):
//   "TBCP", u32 version 1, u32 entry count, then per entry u32 kind (1 clip list, 2 clip),
//   u32 offset, u32 name length, the name padded to 4 bytes;
//   a clip is a binary constant: u32 1, u32 length, the bytes;
//   a clip list: u32 1, u32 count, count u32 offsets of binary constants.
// Little-endian, offsets from the start of the pack. Every read is checked against its size.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tb {

using Clip = std::span<const std::uint8_t>;

class ClipPack {
public:
    ClipPack() = default;
    // A malformed pack gives an empty catalogue (and valid() false).
    explicit ClipPack(std::span<const std::uint8_t> bytes);

    bool valid() const { return valid_; }
    // The clips of a group, in order; empty when there is no such group.
    std::vector<Clip> group(std::string_view name) const;
    // One clip by "group/name"; empty when missing.
    Clip clip(std::string_view name) const;
    std::vector<std::string> group_names() const;
    // Every single clip's "group/name", in no particular order.
    std::vector<std::string> clip_names() const;

private:
    struct Entry {
        std::uint32_t kind;
        std::uint32_t offset;
    };
    Clip constant_at(std::uint32_t offset) const;
    std::span<const std::uint8_t> bytes_;
    std::unordered_map<std::string, Entry> entries_;
    std::vector<std::string> groups_;
    bool valid_ = false;
};

}  // namespace tb
