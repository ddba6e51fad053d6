// PNG through libpng, every colour type expanded to 8-bit RGBA.
//
// libpng reports errors by longjmp. Everything that must survive such a jump (the libpng
// structures, the output buffer, the row pointers) is owned by objects created before setjmp in
// the same frame, so a jump back destroys nothing halfway and leaks nothing; the frames libpng
// jumps over are its own C frames and our read callback, which holds no C++ objects.
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <memory>
#include <vector>

#include "core/skin/picture_decoder.h"

namespace {

struct Source {
    std::span<const std::uint8_t> data;
    std::size_t pos = 0;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* src = static_cast<Source*>(png_get_io_ptr(png));
    if (count > src->data.size() - src->pos) png_error(png, "truncated file");
    std::copy_n(src->data.data() + src->pos, count, out);
    src->pos += count;
}

void quietWarning(png_structp, png_const_charp) {}

void errorExit(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

struct PngHandles {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngHandles() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

struct Work {
    std::shared_ptr<PictureData> out;
    std::vector<png_bytep> rows;
    bool ownTransparency = false;
    bool imageRead = false;  // the pixels are complete; trouble after them is not worth a picture
};

// Returns false when libpng gave up. Kept free of C++ objects with destructors of its own:
// all of them live in the caller.
bool decodeInto(PngHandles& h, Source& src, const DecodeLimits& limits, Work& work) {
    if (setjmp(png_jmpbuf(h.png))) return work.imageRead;
    png_set_read_fn(h.png, &src, readFromMemory);
    png_set_user_limits(h.png, static_cast<png_uint_32>(limits.maxSide),
                        static_cast<png_uint_32>(limits.maxSide));
    // Ancillary chunks (text, ICC profiles) are capped so a file cannot make libpng hoard memory.
    png_set_chunk_malloc_max(h.png, 8 * 1024 * 1024);
    png_read_info(h.png, h.info);

    const png_uint_32 width = png_get_image_width(h.png, h.info);
    const png_uint_32 height = png_get_image_height(h.png, h.info);
    if (width == 0 || height == 0 || static_cast<std::int64_t>(width) * height > limits.maxPixels)
        return false;
    const int colourType = png_get_color_type(h.png, h.info);
    const int depth = png_get_bit_depth(h.png, h.info);
    const bool hasTrns = png_get_valid(h.png, h.info, PNG_INFO_tRNS) != 0;
    work.ownTransparency = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || hasTrns;

    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(h.png);
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(h.png);
    if (hasTrns) png_set_tRNS_to_alpha(h.png);
    if (depth == 16) png_set_scale_16(h.png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(h.png);
    if ((colourType & PNG_COLOR_MASK_ALPHA) == 0 && !hasTrns)
        png_set_filler(h.png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(h.png);
    png_read_update_info(h.png, h.info);
    if (png_get_rowbytes(h.png, h.info) != static_cast<png_size_t>(width) * 4) return false;

    work.out = std::make_shared<PictureData>();
    work.out->width = static_cast<int>(width);
    work.out->height = static_cast<int>(height);
    work.out->rgba.resize(static_cast<std::size_t>(width) * height * 4);
    work.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        work.rows[y] = work.out->rgba.data() + static_cast<std::size_t>(y) * width * 4;
    png_read_image(h.png, work.rows.data());
    work.imageRead = true;
    png_read_end(h.png, nullptr);
    return true;
}

}  // namespace

std::optional<DecodedPicture> decodePng(std::span<const std::uint8_t> data,
                                        const DecodeLimits& limits) {
    if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0) return std::nullopt;
    PngHandles h;
    h.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, errorExit, quietWarning);
    if (!h.png) return std::nullopt;
    h.info = png_create_info_struct(h.png);
    if (!h.info) return std::nullopt;
    Source src{data};
    Work work;
    try {
        if (!decodeInto(h, src, limits, work)) return std::nullopt;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    return DecodedPicture{std::move(work.out), work.ownTransparency, PictureFormat::Png};
}
