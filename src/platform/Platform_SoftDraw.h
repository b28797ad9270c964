// Drawing on the software surfaces of the runner's own small windows (the loading window, the
// error window): plain rectangles, and Windows-1252 text in a FreeType face that fontconfig
// finds for a family name.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

struct SDL_Surface;

namespace zorvex {

struct SoftRect {
  int32_t x = 0, y = 0, w = 0, h = 0;
  bool Contains(int32_t px, int32_t py) const {
    return px >= x && py >= y && px < x + w && py < y + h;
  }
};

class CSoftFont {
 public:
  CSoftFont() = default;
  ~CSoftFont();
  CSoftFont(const CSoftFont&) = delete;
  CSoftFont& operator=(const CSoftFont&) = delete;

  // The face fontconfig matches for the family (Courier New and Arial find the Liberation
  // faces), at a height in pixels. False when no face could be loaded.
  bool Load(const char* family, int32_t pixel_size);
  bool Loaded() const { return face_ != nullptr; }

  int32_t Ascent() const { return ascent_; }
  int32_t Descent() const { return descent_; }
  int32_t LineHeight() const { return ascent_ + descent_; }
  // The advance of a Windows-1252 text.
  int32_t TextWidth(std::string_view text);

  // Draws the text from x with its baseline at `baseline`, blending the colour (0xRRGGBB) by
  // the glyphs' coverage; nothing outside `clip` changes.
  void Draw(SDL_Surface* target, int32_t x, int32_t baseline, std::string_view text, uint32_t rgb,
            const SoftRect& clip);

 private:
  struct Glyph {
    bool loaded = false;
    int32_t left = 0, top = 0, width = 0, rows = 0, advance = 0;
    std::vector<uint8_t> coverage;
  };
  // Glyphs by Windows-1252 byte, rendered on first use.
  const Glyph& GlyphOf(uint8_t byte);
  void Release();

  void* library_ = nullptr;
  void* face_ = nullptr;
  int32_t ascent_ = 0;
  int32_t descent_ = 0;
  std::array<Glyph, 256> glyphs_;
};

// 0xRRGGBB colours on any 32-bit surface format.
void SoftFill(SDL_Surface* target, const SoftRect& r, uint32_t rgb);
// A one-pixel outline just inside the rectangle.
void SoftFrame(SDL_Surface* target, const SoftRect& r, uint32_t rgb);

}  // namespace zorvex
