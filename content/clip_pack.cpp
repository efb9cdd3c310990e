#include "content/clip_pack.hpp"

#include "runtime/bytes.hpp"

namespace tb {
namespace {
constexpr std::uint32_t kList = 1;
constexpr std::uint32_t kClip = 2;
constexpr std::uint32_t kVersion = 1;
constexpr std::uint32_t kOneDimension = 1;
}  // namespace

ClipPack::ClipPack(std::span<const std::uint8_t> bytes) : bytes_(bytes) {
    bytes::Reader r(bytes);
    if (!r.tag("TBCP") || r.u32() != kVersion) return;
    const std::uint32_t count = r.u32();
    for (std::uint32_t i = 0; i < count && r.ok(); ++i) {
        Entry e{};
        e.kind = r.u32();
        e.offset = r.u32();
        const auto name_bytes = r.blob_view();
        r.align(4);
        if (!r.ok()) break;
        std::string name(reinterpret_cast<const char*>(name_bytes.data()), name_bytes.size());
        if (e.kind == kList) groups_.push_back(name);
        entries_.emplace(std::move(name), e);
    }
    if (!r.ok()) {
        entries_.clear();
        groups_.clear();
        return;
    }
    valid_ = true;
}

Clip ClipPack::constant_at(std::uint32_t offset) const {
    bytes::Reader r(bytes_);
    r.seek(offset);
    if (r.u32() != kOneDimension) return {};
    return r.blob_view();
}

std::vector<Clip> ClipPack::group(std::string_view name) const {
    auto it = entries_.find(std::string(name));
    if (it == entries_.end() || it->second.kind != kList) return {};
    bytes::Reader r(bytes_);
    r.seek(it->second.offset);
    if (r.u32() != kOneDimension) return {};
    const std::uint32_t count = r.u32();
    if (!r.ok() || count > r.remaining() / 4) return {};
    std::vector<Clip> out;
    out.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) out.push_back(constant_at(r.u32()));
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
