#include "content/clip_pack.hpp"

#include <cstring>

namespace tb {
namespace {
constexpr std::uint32_t kList = 1;
constexpr std::uint32_t kClip = 2;

bool read_u32(std::span<const std::uint8_t> b, std::uint64_t at, std::uint32_t& v) {
    if (at + 4 > b.size()) return false;
    v = static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
        static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
    return true;
}
}  // namespace

ClipPack::ClipPack(std::span<const std::uint8_t> bytes) : bytes_(bytes) {
    std::uint32_t version = 0, count = 0;
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "TBCP", 4) != 0 || !read_u32(bytes, 4, version) ||
        version != 1 || !read_u32(bytes, 8, count))
        return;
    std::uint64_t at = 12;
    for (std::uint32_t i = 0; i < count; ++i) {
        Entry e{};
        std::uint32_t len = 0;
        if (!read_u32(bytes, at, e.kind) || !read_u32(bytes, at + 4, e.offset) || !read_u32(bytes, at + 8, len) ||
            at + 12 + len > bytes.size()) {
            entries_.clear();
            groups_.clear();
            return;
        }
        std::string name(reinterpret_cast<const char*>(bytes.data() + at + 12), len);
        if (e.kind == kList) groups_.push_back(name);
        entries_.emplace(std::move(name), e);
        at += 12 + ((std::uint64_t{len} + 3) & ~std::uint64_t{3});
    }
    valid_ = true;
}

Clip ClipPack::constant_at(std::uint32_t offset) const {
    std::uint32_t dims = 0, len = 0;
    if (!read_u32(bytes_, offset, dims) || dims != 1 || !read_u32(bytes_, std::uint64_t{offset} + 4, len) ||
        std::uint64_t{offset} + 8 + len > bytes_.size())
        return {};
    return bytes_.subspan(std::size_t{offset} + 8, len);
}

std::vector<Clip> ClipPack::group(std::string_view name) const {
    auto it = entries_.find(std::string(name));
    if (it == entries_.end() || it->second.kind != kList) return {};
    const std::uint64_t at = it->second.offset;
    std::uint32_t dims = 0, count = 0;
    if (!read_u32(bytes_, at, dims) || dims != 1 || !read_u32(bytes_, at + 4, count) ||
        at + 8 + std::uint64_t{count} * 4 > bytes_.size())
        return {};
    std::vector<Clip> out;
    out.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t ref = 0;
        read_u32(bytes_, at + 8 + std::uint64_t{i} * 4, ref);
        out.push_back(constant_at(ref));
    }
    return out;
}

Clip ClipPack::clip(std::string_view name) const {
    auto it = entries_.find(std::string(name));
    if (it == entries_.end() || it->second.kind != kClip) return {};
    return constant_at(it->second.offset);
}

std::vector<std::string> ClipPack::group_names() const { return groups_; }

std::vector<std::string> ClipPack::clip_names() const {
    std::vector<std::string> out;
    for (const auto& [name, e] : entries_)
        if (e.kind == kClip) out.push_back(name);
    return out;
}

}  // namespace tb
