// The one little-endian reader and writer every binary format goes through: what the writer
// puts, the reader gets back, and a read past the end fails and stays failed.
#include <gtest/gtest.h>

#include <stdexcept>

#include "runtime/bytes.hpp"

using namespace tb;

TEST(RuntimeBytes, WhatTheWriterPutsTheReaderGetsBack) {
    Blob b;
    bytes::put_bytes(b, "TAG!");
    bytes::put_u8(b, 0xAB);
    bytes::put_u16(b, 0xBEEF);
    bytes::put_u32(b, 0xDEADBEEF);
    bytes::put_i32(b, -2);
    bytes::put_string(b, "name");
    bytes::put_align(b, 4);
    bytes::put_ctext(b, std::string_view("ab\0cd", 5));  // stops at the NUL it holds
    EXPECT_EQ(b[5], 0xEF);  // little-endian: low byte first
    EXPECT_EQ(b[6], 0xBE);

    bytes::Reader r(b);
    EXPECT_FALSE(r.tag("TAGX"));  // a mismatch consumes nothing
    EXPECT_TRUE(r.tag("TAG!"));
    EXPECT_EQ(r.u8(), 0xAB);
    EXPECT_EQ(r.u16(), 0xBEEF);
    EXPECT_EQ(r.u32(), 0xDEADBEEFu);
    EXPECT_EQ(r.i32(), -2);
    EXPECT_EQ(r.string(), "name");
    EXPECT_EQ(r.pos(), 23u);
    r.align(4);
    EXPECT_EQ(r.pos(), 24u);
    EXPECT_EQ(r.ctext(), "ab");
    EXPECT_TRUE(r.at_end());
}

TEST(RuntimeBytes, AReadPastTheEndFailsAndStaysFailed) {
    const Blob b{1, 0, 0, 0, 9, 0};
    bytes::Reader r(b);
    EXPECT_EQ(r.u32(), 1u);
    EXPECT_EQ(r.u32(), 0u);  // two bytes left: fails, reads zero
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.u16(), 0u);  // the two bytes that are there are not read any more
    EXPECT_EQ(r.remaining(), 0u);
    EXPECT_FALSE(r.at_end());

    const Blob huge{0xFF, 0xFF, 0xFF, 0xFF, 'x'};
    bytes::Reader len(huge);
    EXPECT_TRUE(len.blob_view().empty());  // a length beyond the bytes
    EXPECT_FALSE(len.ok());

    bytes::Reader seek(b);
    seek.seek(4);
    EXPECT_EQ(seek.u16(), 9u);
    seek.seek(7);  // past the end
    EXPECT_FALSE(seek.ok());
    seek.seek(0);  // and no way back
    EXPECT_EQ(seek.u8(), 0u);
}

TEST(RuntimeBytes, APatchOverwritesInPlaceAndNeverGrows) {
    Blob b;
    bytes::put_u32(b, 0);
    bytes::put_u16(b, 7);
    bytes::patch_u32(b, 0, 0x01020304);
    EXPECT_EQ(bytes::Reader(b).u32(), 0x01020304u);
    EXPECT_EQ(b.size(), 6u);
    EXPECT_THROW(bytes::patch_u32(b, 3, 1), std::out_of_range);
}
