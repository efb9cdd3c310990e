// JPEG decoding core (see jpeg_decode.hpp). libjpeg reports errors through a callback that must
// not return, so the decode runs inside one plain function with a setjmp point; all state it
// changes lives in a Decode record outside that frame, and no object with a destructor is ever
// jumped over.
#include "ui/widgets/pictures/jpeg_decode.hpp"

#include <csetjmp>
#include <cstdio>
#include <new>

#include <jpeglib.h>

namespace tb::media {
namespace {

// libjpeg-turbo 2.1 has no limit of its own on the number of progressive scans; a hostile file
// with thousands of tiny scans would take minutes.
constexpr int kMaxScans = 500;
constexpr long kMaxDecoderMemory = 512L * 1024 * 1024;
constexpr int kRowsPerRead = 16;

struct ErrorState {
    jpeg_error_mgr mgr;  // first member: libjpeg hands callbacks a pointer to it
    std::jmp_buf jump;
};

struct Decode {
    jpeg_decompress_struct cinfo;
    ErrorState err;
    jpeg_progress_mgr progress;
    const std::uint8_t* data;
    std::size_t size;
    int box_width;
    int box_height;
    BgrxSink* sink;
    JpegDecodeResult result;
};

void on_error(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorState*>(cinfo->err)->jump, 1);
}

// Level -1 is a warning: corrupt data that libjpeg papers over (a truncated file is filled grey).
// Higher levels are trace messages.
void on_message(j_common_ptr cinfo, int level) {
    if (level < 0) std::longjmp(reinterpret_cast<ErrorState*>(cinfo->err)->jump, 1);
}

void on_output(j_common_ptr) {}

void on_progress(j_common_ptr cinfo) {
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
        std::longjmp(reinterpret_cast<ErrorState*>(cinfo->err)->jump, 1);
}

bool run_decode(Decode* d) {
    jpeg_decompress_struct* c = &d->cinfo;
    if (setjmp(d->err.jump)) {
        jpeg_destroy_decompress(c);
        return false;
    }
    jpeg_create_decompress(c);
    c->mem->max_memory_to_use = kMaxDecoderMemory;
    c->progress = &d->progress;
    jpeg_mem_src(c, d->data, static_cast<unsigned long>(d->size));
    if (jpeg_read_header(c, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(c);
        return false;
    }
    d->result.source_width = static_cast<int>(c->image_width);
    d->result.source_height = static_cast<int>(c->image_height);
    if (c->image_width == 0 || c->image_height == 0 || c->image_width > kMaxJpegSide ||
        c->image_height > kMaxJpegSide ||
        static_cast<long>(c->image_width) * static_cast<long>(c->image_height) > kMaxJpegPixels) {
        jpeg_destroy_decompress(c);
        return false;
    }
    c->out_color_space = JCS_EXT_BGRX;
    c->scale_denom = 8;
    static const unsigned kScales[] = {1, 2, 4, 8};
    const bool full_size = d->box_width <= 0 || d->box_height <= 0;
    for (unsigned num : kScales) {
        c->scale_num = full_size ? 8 : num;
        jpeg_calc_output_dimensions(c);
        if (full_size || (c->output_width >= static_cast<JDIMENSION>(d->box_width) &&
                          c->output_height >= static_cast<JDIMENSION>(d->box_height)))
            break;
    }
    d->result.scale_num = static_cast<int>(c->scale_num);
    jpeg_start_decompress(c);
    const int width = static_cast<int>(c->output_width);
    const int height = static_cast<int>(c->output_height);
    std::size_t stride = 0;
    std::uint8_t* pixels = d->sink->pixels(width, height, &stride);
    if (!pixels || stride < static_cast<std::size_t>(width) * 4) {
        jpeg_destroy_decompress(c);
        return false;
    }
    JSAMPROW rows[kRowsPerRead];
    while (c->output_scanline < c->output_height) {
        JDIMENSION first = c->output_scanline;
        JDIMENSION count = c->output_height - first;
        if (count > kRowsPerRead) count = kRowsPerRead;
        for (JDIMENSION i = 0; i < count; ++i) rows[i] = pixels + (first + i) * stride;
        if (jpeg_read_scanlines(c, rows, count) == 0) {  // cannot happen with an in-memory source
            jpeg_destroy_decompress(c);
            return false;
        }
    }
    jpeg_finish_decompress(c);  // reads up to the end marker: a file cut short warns here
    jpeg_destroy_decompress(c);
    d->result.width = width;
    d->result.height = height;
    return true;
}

class VectorSink final : public BgrxSink {
public:
    explicit VectorSink(BgrxImage& out) : out_(out) {}
    std::uint8_t* pixels(int width, int height, std::size_t* stride) override {
        try {
            out_.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0);
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
        out_.width = width;
        out_.height = height;
        *stride = static_cast<std::size_t>(width) * 4;
        return out_.pixels.data();
    }

private:
    BgrxImage& out_;
};

}  // namespace

JpegDecodeResult decode_jpeg_bgrx(std::span<const std::uint8_t> data, int box_width, int box_height,
                                  BgrxSink& sink) {
    if (data.empty() || data.size() > 0xffffffffu) return {};
    Decode d{};
    d.cinfo.err = jpeg_std_error(&d.err.mgr);
    d.err.mgr.error_exit = on_error;
    d.err.mgr.emit_message = on_message;
    d.err.mgr.output_message = on_output;
    d.progress.progress_monitor = on_progress;
    d.data = data.data();
    d.size = data.size();
    d.box_width = box_width;
    d.box_height = box_height;
    d.sink = &sink;
    if (!run_decode(&d)) return {};
    d.result.ok = true;
    return d.result;
}

JpegDecodeResult decode_jpeg_bgrx(std::span<const std::uint8_t> data, int box_width, int box_height,
                                  BgrxImage& out) {
    VectorSink sink(out);
    JpegDecodeResult r = decode_jpeg_bgrx(data, box_width, box_height, sink);
    if (!r.ok) out = BgrxImage{};
    return r;
}

}  // namespace tb::media
