#pragma once
// Little-endian reading and writing of the stored template format. The reader never reads past
// its span: once a read would, it fails, stays failed and returns zeros from then on, so a
// decoder can read a whole layout and check ok() once at the end.
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "runtime/text.hpp"

namespace tb::ui::bytes {

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}

    bool ok() const { return ok_; }
    bool at_end() const { return ok_ && pos_ == data_.size(); }
    std::size_t pos() const { return pos_; }
    std::size_t remaining() const { return ok_ ? data_.size() - pos_ : 0; }
    void fail() { ok_ = false; }

    std::span<const std::uint8_t> take(std::size_t n) {
        if (!ok_ || n > data_.size() - pos_) {
            ok_ = false;
            return {};
        }
        auto s = data_.subspan(pos_, n);
        pos_ += n;
        return s;
    }
    void skip(std::size_t n) { take(n); }
    std::uint8_t u8() {
        auto s = take(1);
        return s.empty() ? 0 : s[0];
    }
    std::uint16_t u16() {
        auto s = take(2);
        return s.empty() ? 0 : static_cast<std::uint16_t>(s[0] | (s[1] << 8));
    }
    std::uint32_t u32() {
        auto s = take(4);
        if (s.empty()) return 0;
        return static_cast<std::uint32_t>(s[0]) | (static_cast<std::uint32_t>(s[1]) << 8) |
               (static_cast<std::uint32_t>(s[2]) << 16) | (static_cast<std::uint32_t>(s[3]) << 24);
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    // A u32 length followed by that many bytes.
    std::span<const std::uint8_t> blob_view() { return take(u32()); }
    Blob blob() {
        auto s = blob_view();
        return Blob(s.begin(), s.end());
    }
    Text string() {
        auto s = blob_view();
        return Text(reinterpret_cast<const char*>(s.data()), s.size());
    }
    // Bytes up to a NUL, which is consumed; a missing NUL fails.
    std::span<const std::uint8_t> ctext_view() {
        if (!ok_ || pos_ == data_.size()) {
            ok_ = false;
            return {};
        }
        const void* nul = std::memchr(data_.data() + pos_, 0, data_.size() - pos_);
        if (!nul) {
            ok_ = false;
            return {};
        }
        std::size_t n = static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - (data_.data() + pos_));
        auto s = data_.subspan(pos_, n);
        pos_ += n + 1;
        return s;
    }
    Text ctext() {
        auto s = ctext_view();
        return Text(reinterpret_cast<const char*>(s.data()), s.size());
    }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

inline void put_u8(Blob& out, std::uint8_t v) { out.push_back(v); }
inline void put_u16(Blob& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void put_u32(Blob& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void put_i32(Blob& out, std::int32_t v) { put_u32(out, static_cast<std::uint32_t>(v)); }
inline void put_bytes(Blob& out, std::span<const std::uint8_t> b) { out.insert(out.end(), b.begin(), b.end()); }
inline void put_bytes(Blob& out, std::string_view b) { out.insert(out.end(), b.begin(), b.end()); }
inline void put_zeros(Blob& out, std::size_t n) { out.insert(out.end(), n, 0); }
inline void put_blob(Blob& out, std::span<const std::uint8_t> b) {
    put_u32(out, static_cast<std::uint32_t>(b.size()));
    put_bytes(out, b);
}
inline void put_string(Blob& out, std::string_view s) {
    put_u32(out, static_cast<std::uint32_t>(s.size()));
    put_bytes(out, s);
}
// A C text: the bytes up to (not including) any NUL they hold, then one NUL.
inline void put_ctext(Blob& out, std::string_view s) {
    put_bytes(out, s.substr(0, s.find('\0')));
    out.push_back(0);
}

}  // namespace tb::ui::bytes
