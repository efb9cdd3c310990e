#pragma once
// JPEG decoding through libjpeg-turbo straight into 32-bit BGRX pixels (the memory layout of
// QImage::Format_RGB32), shrinking in the DCT domain when only a smaller picture is wanted.
// Free of Qt, so the decoder can be fuzzed on its own; pictures.hpp wraps it for the widget set.
//
// Any libjpeg error or warning (a truncated file only warns and fills grey) rejects the picture:
// a damaged picture is shown as no picture rather than half a picture.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tb::media {

// Pictures larger than this are refused before any pixel memory is taken. The largest picture
// the program carries is a 4000 x 2800 background.
inline constexpr long kMaxJpegPixels = 32L * 1024 * 1024;
inline constexpr int kMaxJpegSide = 16384;

// Where the decoded rows go. Asked once, as soon as the output size is known, for height rows of
// width * 4 bytes, the rows *stride bytes apart. Returning nullptr abandons the decode.
class BgrxSink {
public:
    virtual std::uint8_t* pixels(int width, int height, std::size_t* stride) = 0;

protected:
    ~BgrxSink() = default;
};

struct JpegDecodeResult {
    bool ok = false;
    int source_width = 0;   // size stored in the file
    int source_height = 0;
    int scale_num = 8;      // the output is scale_num / 8 of the source size
    int width = 0;          // output size
    int height = 0;
};

// Decodes a JPEG into the sink, shrunk in the DCT domain for the box: the smallest of 1/8, 2/8, 4/8
// and 8/8 whose output (as libjpeg rounds it) covers the box in both directions, 8/8 when even the
// full size is smaller. libjpeg-turbo's 3/8, 5/8, 6/8 and 7/8 are no faster than the full size, so
// they are never taken. An empty box (width or height 0) asks for the full size. On failure the result's ok is
// false; the sink's pixels may then hold part of a picture and must be discarded.
JpegDecodeResult decode_jpeg_bgrx(std::span<const std::uint8_t> data, int box_width, int box_height,
                                  BgrxSink& sink);

// The same into a plain buffer: rows of width * 4 bytes, no padding.
struct BgrxImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};
JpegDecodeResult decode_jpeg_bgrx(std::span<const std::uint8_t> data, int box_width, int box_height,
                                  BgrxImage& out);

}  // namespace tb::media
