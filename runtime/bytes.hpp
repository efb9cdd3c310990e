#pragma once
// Little-endian reading and writing of the program's binary formats (templates, packs, WAVE
// files). The reader never reads past its span: once a read would, it fails, stays failed and
// returns zeros from then on, so a decoder can read a whole layout and check ok() once at the end.
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "runtime/text.hpp"

namespace tb::bytes {

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}

    bool ok() const { return ok_; }
    bool at_end() const { return ok_ && pos_ == data_.size(); }
    std::size_t pos() const { return pos_; }
    std::size_t remaining() const { return ok_ ? data_.size() - pos_ : 0; }
    std::size_t size() const { return data_.size(); }
    void fail() { ok_ = false; }
    // Moves to a position from the start; a position past the end fails.
    void seek(std::uint64_t pos) {
        if (!ok_ || pos > data_.size()) {
            ok_ = false;
            return;
        }
        pos_ = static_cast<std::size_t>(pos);
    }
    // True (and consumed) when the next bytes are the given tag; false, unconsumed, otherwise.
    bool tag(std::string_view t) {
        if (!ok_ || t.size() > data_.size() - pos_ || std::memcmp(data_.data() + pos_, t.data(), t.size()) != 0)
            return false;
        pos_ += t.size();
        return true;
    }

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
    // Skips the padding up to the next multiple of `align` bytes from the start.
    void align(std::size_t align) { skip((align - pos_ % align) % align); }
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
// Zeros up to the next multiple of `align` bytes from the start of out.
inline void put_align(Blob& out, std::size_t align) { put_zeros(out, (align - out.size() % align) % align); }
// Overwrites four bytes already written (a size known only at the end).
inline void patch_u32(Blob& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.at(at + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(v >> (8 * i));
}
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

}  // namespace tb::bytes
