#include "resources/Graphics_Picture.h"

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace zorvex {

namespace {

bool SizeAllowed(int64_t w, int64_t h) {
  return w > 0 && h > 0 && w <= kMaxPictureSide && h <= kMaxPictureSide &&
         w * h <= kMaxPicturePixels;
}

bool IsPng(const uint8_t* d, size_t n) {
  return n >= 8 && png_sig_cmp(const_cast<png_bytep>(d), 0, 8) == 0;
}
bool IsJpeg(const uint8_t* d, size_t n) {
  return n >= 3 && d[0] == 0xFF && d[1] == 0xD8;
}
bool IsGif(const uint8_t* d, size_t n) {
  return n >= 6 && std::memcmp(d, "GIF8", 4) == 0;
}

bool DecodePng(const uint8_t* data, size_t size, CPicture& out) {
  png_image img;
  std::memset(&img, 0, sizeof img);
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&img, data, size)) return false;
  if (!SizeAllowed(img.width, img.height)) {
    png_image_free(&img);
    return false;
  }
  bool alpha = (img.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  img.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
  std::vector<uint32_t> px(static_cast<size_t>(img.width) * img.height);
  if (!png_image_finish_read(&img, nullptr, px.data(), 0, nullptr)) {
    png_image_free(&img);
    return false;
  }
  out.width = static_cast<int32_t>(img.width);
  out.height = static_cast<int32_t>(img.height);
  out.has_alpha = alpha;
  out.pixels = std::move(px);
  if (!alpha)
    for (uint32_t& p : out.pixels)
      p |= 0xFF000000u;
  return true;
}

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}
void JpegQuiet(j_common_ptr) {}

// Only plain C objects live in this frame, so leaving it by longjmp skips no destructor; the
// buffers belong to the caller.
bool DecodeJpegInto(const uint8_t* data, size_t size, CPicture& out, std::vector<uint8_t>& row) {
  jpeg_decompress_struct cinfo;
  JpegError err;
  cinfo.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = JpegErrorExit;
  err.mgr.output_message = JpegQuiet;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK ||
      !SizeAllowed(cinfo.image_width, cinfo.image_height)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&cinfo);
  int32_t w = static_cast<int32_t>(cinfo.output_width);
  int32_t h = static_cast<int32_t>(cinfo.output_height);
  int comps = cinfo.output_components;
  out.width = w;
  out.height = h;
  out.has_alpha = false;
  out.pixels.assign(static_cast<size_t>(w) * h, 0xFF000000u);
  row.assign(static_cast<size_t>(w) * comps, 0);
  // Adobe writes CMYK inverted.
  bool inverted = cmyk && cinfo.saw_Adobe_marker;
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW rows[1] = {row.data()};
    int32_t y = static_cast<int32_t>(cinfo.output_scanline);
    jpeg_read_scanlines(&cinfo, rows, 1);
    uint32_t* dst = out.pixels.data() + static_cast<size_t>(y) * w;
    for (int32_t x = 0; x < w; ++x) {
      const uint8_t* p = row.data() + static_cast<size_t>(x) * comps;
      uint32_t r, g, b;
      if (cmyk) {
        uint32_t c = p[0], m = p[1], yy = p[2], k = p[3];
        if (!inverted) c = 255 - c, m = 255 - m, yy = 255 - yy, k = 255 - k;
        r = c * k / 255, g = m * k / 255, b = yy * k / 255;
      } else if (comps == 1) {
        r = g = b = p[0];
      } else {
        r = p[0], g = p[1], b = p[2];
      }
      dst[x] = 0xFF000000u | r << 16 | g << 8 | b;
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

bool DecodeJpeg(const uint8_t* data, size_t size, CPicture& out) {
  std::vector<uint8_t> row;
  CPicture tmp;
  if (!DecodeJpegInto(data, size, tmp, row)) return false;
  out = std::move(tmp);
  return true;
}

struct GifSource {
  const uint8_t* data;
  size_t size;
  size_t pos;
};

int GifRead(GifFileType* gif, GifByteType* buf, int n) {
  auto* src = static_cast<GifSource*>(gif->UserData);
  size_t take = std::min(static_cast<size_t>(n < 0 ? 0 : n), src->size - src->pos);
  std::memcpy(buf, src->data + src->pos, take);
  src->pos += take;
  return static_cast<int>(take);
}

struct GifCloser {
  GifFileType* gif;
  ~GifCloser() {
    int err;
    if (gif) DGifCloseFile(gif, &err);
  }
};

}  // namespace

bool DecodeGifAnimation(const uint8_t* data, size_t size, CGifAnimation& out) {
  if (!IsGif(data, size)) return false;
  GifSource src{data, size, 0};
  int err = 0;
  GifCloser closer{DGifOpen(&src, GifRead, &err)};
  GifFileType* gif = closer.gif;
  if (!gif) return false;
  CGifAnimation anim;
  anim.width = gif->SWidth;
  anim.height = gif->SHeight;
  if (!SizeAllowed(anim.width, anim.height)) return false;
  int64_t total = 0;
  int32_t pending_transparent = -1, pending_disposal = 0;
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) return false;
    if (type == TERMINATE_RECORD_TYPE) break;
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* ext = nullptr;
      if (DGifGetExtension(gif, &code, &ext) == GIF_ERROR) return false;
      if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4) {
        GraphicsControlBlock gcb;
        if (DGifExtensionToGCB(ext[0], ext + 1, &gcb) == GIF_OK) {
          pending_transparent = gcb.TransparentColor;
          pending_disposal = gcb.DisposalMode;
        }
      }
      while (ext) {
        if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR) return false;
      }
      continue;
    }
    if (type != IMAGE_DESC_RECORD_TYPE) continue;
    if (DGifGetImageDesc(gif) == GIF_ERROR) return false;
    const GifImageDesc& desc = gif->Image;
    if (!SizeAllowed(desc.Width, desc.Height)) return false;
    total += int64_t{anim.width} * anim.height;
    if (total > kMaxAnimationPixels) return false;
    CGifAnimation::Frame f;
    f.left = desc.Left;
    f.top = desc.Top;
    f.width = desc.Width;
    f.height = desc.Height;
    f.transparent_index = pending_transparent;
    f.disposal = pending_disposal;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (map && map->Colors)
      for (int i = 0; i < map->ColorCount && i < 256; ++i) {
        const GifColorType& c = map->Colors[i];
        f.palette[static_cast<size_t>(i)] = uint32_t{c.Red} << 16 | uint32_t{c.Green} << 8 | c.Blue;
      }
    f.indices.assign(static_cast<size_t>(f.width) * f.height, 0);
    auto read_row = [&](int32_t y) {
      return DGifGetLine(gif, f.indices.data() + static_cast<size_t>(y) * f.width, f.width) !=
             GIF_ERROR;
    };
    if (desc.Interlace) {
      static constexpr int32_t kStart[4] = {0, 4, 2, 1};
      static constexpr int32_t kStep[4] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4; ++pass)
        for (int32_t y = kStart[pass]; y < f.height; y += kStep[pass])
          if (!read_row(y)) return false;
    } else {
      for (int32_t y = 0; y < f.height; ++y)
        if (!read_row(y)) return false;
    }
    anim.frames.push_back(std::move(f));
    pending_transparent = -1;
    pending_disposal = 0;
  }
  if (anim.frames.empty()) return false;
  out = std::move(anim);
  return true;
}

bool DecodePicture(const uint8_t* data, size_t size, CPicture& out) {
  if (IsPng(data, size)) return DecodePng(data, size, out);
  if (IsJpeg(data, size)) return DecodeJpeg(data, size, out);
  if (IsGif(data, size)) {
    // As one picture a GIF is its first sub-image on the logical screen; what it leaves
    // uncovered, and its transparent colour, are transparent.
    CGifAnimation anim;
    if (!DecodeGifAnimation(data, size, anim)) return false;
    const CGifAnimation::Frame& f = anim.frames.front();
    CPicture pic;
    pic.width = anim.width;
    pic.height = anim.height;
    pic.pixels.assign(static_cast<size_t>(pic.width) * pic.height, 0);
    for (int32_t y = 0; y < f.height; ++y)
      for (int32_t x = 0; x < f.width; ++x) {
        int32_t cx = f.left + x, cy = f.top + y;
        if (cx >= pic.width || cy >= pic.height) continue;
        uint8_t idx = f.indices[static_cast<size_t>(y) * f.width + x];
        if (idx == f.transparent_index) continue;
        pic.pixels[static_cast<size_t>(cy) * pic.width + cx] = 0xFF000000u | f.palette[idx];
      }
    for (uint32_t p : pic.pixels)
      if (p >> 24 == 0) {
        pic.has_alpha = true;
        break;
      }
    out = std::move(pic);
    return true;
  }
  return false;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  std::streamoff n = in.tellg();
  if (n < 0) return false;
  in.seekg(0, std::ios::beg);
  out.resize(static_cast<size_t>(n));
  if (n > 0 && !in.read(reinterpret_cast<char*>(out.data()), n)) return false;
  return true;
}

bool LoadPictureFile(const std::string& path, CPicture& out) {
  std::vector<uint8_t> bytes;
  return ReadWholeFile(path, bytes) && DecodePicture(bytes.data(), bytes.size(), out);
}

bool LoadGifFile(const std::string& path, CGifAnimation& out) {
  std::vector<uint8_t> bytes;
  return ReadWholeFile(path, bytes) && DecodeGifAnimation(bytes.data(), bytes.size(), out);
}

}  // namespace zorvex
