#include "zorvex-build/Builder_Picture.h"

#include <png.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "zorvex-build/Builder_Json.h"

namespace zorvex {

bool LoadPictureFile(const std::filesystem::path& path, const std::string& display_name,
                     std::unique_ptr<CImage>& out, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = display_name + ": cannot be read";
    return false;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
    out = DecodeBmp(bytes.data(), bytes.size());
    if (!out) error = display_name + ": not a BMP picture this builder can read";
    return out != nullptr;
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    error = display_name + ": neither a PNG nor a BMP picture";
    return false;
  }
  if (image.width == 0 || image.height == 0 || image.width > kMaxImageSide ||
      image.height > kMaxImageSide) {
    png_image_free(&image);
    error = display_name + ": the picture is empty or larger than 16384 pixels";
    return false;
  }
  image.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
  auto img = std::make_unique<CImage>(static_cast<int32_t>(image.width),
                                      static_cast<int32_t>(image.height));
  if (!png_image_finish_read(&image, nullptr, img->pixels.data(), 0, nullptr)) {
    error = display_name + ": broken PNG picture (" + image.message + ")";
    png_image_free(&image);
    return false;
  }
  out = std::move(img);
  return true;
}

CBitmap32 ToBitmap32(const CImage& image) {
  CBitmap32 out(image.width, image.height);
  std::copy(image.pixels.begin(), image.pixels.end(), out.Pixels());
  return out;
}

bool KeyColorField(CJsonFields& f, const char* field, CKeyColor& out) {
  if (!f.Has(field)) return true;
  const Json& v = f.object().at(field);
  if (v.is_null()) {
    out.mode = CKeyColor::kNone;
    return true;
  }
  if (v == "bottom_left") {
    out.mode = CKeyColor::kBottomLeft;
    return true;
  }
  int32_t colour = 0;
  if (!v.is_string() || !f.Color(field, colour))
    return f.Fail(field, "expected \"bottom_left\", a colour \"#RRGGBB\" or null");
  out.mode = CKeyColor::kColour;
  out.rgb = OpaquePixel(colour) & 0xFFFFFFu;
  return true;
}

void ApplyKeyColor(CBitmap32& image, const CKeyColor& key) {
  if (!image.exists() || key.mode == CKeyColor::kNone) return;
  if (key.mode == CKeyColor::kBottomLeft) {
    image.MakeTransparent();
    return;
  }
  uint32_t* p = image.Pixels();
  const size_t n = static_cast<size_t>(image.width()) * static_cast<size_t>(image.height());
  for (size_t i = 0; i < n; ++i)
    if ((p[i] & 0xFFFFFFu) == key.rgb) p[i] &= 0xFFFFFFu;
  image.BleedTransparentColors();
}

}  // namespace zorvex
