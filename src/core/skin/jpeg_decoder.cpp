// JPEG through libjpeg: greyscale, YCbCr/RGB and CMYK/YCCK (Adobe files store CMYK inverted),
// always opaque.
//
// libjpeg's default error handler ends the process, so errors longjmp back here instead. As with
// the PNG decoder, whatever must outlive a jump is owned by the caller of the frame that calls
// setjmp; libjpeg's own frames hold no C++ objects.
#include <cstdio>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include <csetjmp>
#include <memory>
#include <vector>

#include "core/skin/picture_decoder.h"

namespace {

struct ErrorManager {
    jpeg_error_mgr base;  // first member: libjpeg hands us a pointer to it
    std::jmp_buf jump;
};

void errorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

void quietMessage(j_common_ptr) {}

// A progressive file can announce any number of scans, each of which costs a pass over the
// whole picture; real files need a dozen or so.
constexpr int kMaxScans = 256;

void limitScans(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) errorExit(cinfo);
}

struct Decompressor {
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    jpeg_progress_mgr progress{};
    bool created = false;
    ~Decompressor() {
        if (created) jpeg_destroy_decompress(&cinfo);
    }
};

struct Work {
    std::shared_ptr<PictureData> out;
    std::vector<JSAMPLE> row;
    bool imageRead = false;  // every row is in; trouble after them is not worth a picture
};

std::uint8_t mul255(unsigned a, unsigned b) {
    return static_cast<std::uint8_t>((a * b + 127) / 255);
}

bool decodeInto(Decompressor& d, std::span<const std::uint8_t> data, const DecodeLimits& limits,
                Work& work) {
    d.cinfo.err = jpeg_std_error(&d.err.base);
    d.err.base.error_exit = errorExit;
    d.err.base.output_message = quietMessage;
    if (setjmp(d.err.jump)) return work.imageRead;
    jpeg_create_decompress(&d.cinfo);
    d.created = true;
    d.progress.progress_monitor = limitScans;
    d.cinfo.progress = &d.progress;
    // libjpeg's working memory: the coefficients of a progressive CMYK picture at the pixel limit
    // take 128 MB, so this leaves room without letting one file take a quarter of the machine.
    d.cinfo.mem->max_memory_to_use = 256L * 1024 * 1024;
    jpeg_mem_src(&d.cinfo, data.data(), static_cast<unsigned long>(data.size()));
    if (jpeg_read_header(&d.cinfo, TRUE) != JPEG_HEADER_OK) return false;

    const JDIMENSION width = d.cinfo.image_width;
    const JDIMENSION height = d.cinfo.image_height;
    if (width == 0 || height == 0 || width > static_cast<JDIMENSION>(limits.maxSide) ||
        height > static_cast<JDIMENSION>(limits.maxSide) ||
        static_cast<std::int64_t>(width) * height > limits.maxPixels)
        return false;

    const bool cmyk = d.cinfo.jpeg_color_space == JCS_CMYK || d.cinfo.jpeg_color_space == JCS_YCCK;
    d.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&d.cinfo);
    const int components = d.cinfo.output_components;
    if (d.cinfo.output_width != width || d.cinfo.output_height != height ||
        components != (cmyk ? 4 : 3))
        return false;
    // Adobe's writers (and ImageMagick) store CMYK inverted and say so in their APP14 marker.
    const bool inverted = d.cinfo.saw_Adobe_marker;

    work.out = std::make_shared<PictureData>();
    work.out->width = static_cast<int>(width);
    work.out->height = static_cast<int>(height);
    work.out->rgba.resize(static_cast<std::size_t>(width) * height * 4);
    work.row.resize(static_cast<std::size_t>(width) * components);
    while (d.cinfo.output_scanline < height) {
        const JDIMENSION y = d.cinfo.output_scanline;
        JSAMPROW rowPointer = work.row.data();
        if (jpeg_read_scanlines(&d.cinfo, &rowPointer, 1) != 1) return false;
        std::uint8_t* px = work.out->pixel(0, static_cast<int>(y));
        for (JDIMENSION x = 0; x < width; ++x, px += 4) {
            const JSAMPLE* s = &work.row[static_cast<std::size_t>(x) * components];
            if (cmyk) {
                const unsigned c = inverted ? s[0] : 255u - s[0];
                const unsigned m = inverted ? s[1] : 255u - s[1];
                const unsigned yy = inverted ? s[2] : 255u - s[2];
                const unsigned k = inverted ? s[3] : 255u - s[3];
                px[0] = mul255(c, k);
                px[1] = mul255(m, k);
                px[2] = mul255(yy, k);
            } else {
                px[0] = s[0];
                px[1] = s[1];
                px[2] = s[2];
            }
            px[3] = 255;
        }
    }
    work.imageRead = true;
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

}  // namespace

std::optional<DecodedPicture> decodeJpeg(std::span<const std::uint8_t> data,
                                         const DecodeLimits& limits) {
    if (data.size() < 3 || data[0] != 0xFF || data[1] != 0xD8) return std::nullopt;
    Decompressor d;
    Work work;
    try {
        if (!decodeInto(d, data, limits, work)) return std::nullopt;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    return DecodedPicture{std::move(work.out), false, PictureFormat::Jpeg};
}
