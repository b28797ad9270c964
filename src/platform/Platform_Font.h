// System fonts through FreeType and fontconfig, measured and drawn the way the glyph-sheet
// builder of fonts expects of the Windows text functions: A/B/C widths per character, the cell
// height of "W", point sizes at 96 DPI and text bytes in Windows-1252.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "resources/Font_Class.h"

namespace zorvex {

class CSystemFontRenderer final : public CGlyphRenderer {
 public:
  CSystemFontRenderer() = default;
  ~CSystemFontRenderer() override;
  CSystemFontRenderer(const CSystemFontRenderer&) = delete;
  CSystemFontRenderer& operator=(const CSystemFontRenderer&) = delete;

  // Fontconfig picks the face (Arial, Times New Roman and Courier New find the Liberation
  // fonts); a style the face lacks is made by emboldening or slanting its outlines.
  bool SelectFont(const std::string& name, int32_t size, bool bold, bool italic) override;
  // Ascent plus descent of the selected font: the height of a text cell, whatever the text.
  int32_t TextHeight(std::string_view text) override;
  int32_t TextWidth(std::string_view text) override;
  // A = left bearing of the drawn glyph, B = its width in pixels, C = the rest of the advance.
  bool CharWidths(uint8_t c, int32_t& a, int32_t& b, int32_t& cw) override;
  void DrawChar(uint8_t c, int32_t x, int32_t y, uint8_t ink, uint8_t* canvas, int32_t w,
                int32_t h) override;

  // The file of the selected face (for messages and tests); empty without one.
  const std::string& FontFile() const { return file_; }
  // The family name of the selected face.
  const std::string& FamilyName() const { return family_; }

 private:
  // Loads and renders the glyph of a Windows-1252 byte into the face's glyph slot.
  bool LoadGlyph(uint8_t c);
  void ReleaseFace();

  void* config_ = nullptr;   // FcConfig
  void* library_ = nullptr;  // FT_Library
  void* face_ = nullptr;     // FT_Face
  bool embolden_ = false;
  bool slant_ = false;
  int32_t ascent_ = 0;
  int32_t descent_ = 0;
  std::string file_;
  std::string family_;
};

}  // namespace zorvex
