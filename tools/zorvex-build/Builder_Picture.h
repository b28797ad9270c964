// Picture files of a project folder (PNG or BMP) read into images.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "resources/Graphics_Bitmap32.h"
#include "runner/Support_Image.h"

namespace zorvex {

// False with "NAME: ..." when the file is missing or is no PNG or BMP picture.
bool LoadPictureFile(const std::filesystem::path& path, const std::string& display_name,
                     std::unique_ptr<CImage>& out, std::string& error);

// The pixels of a picture as an image of the resource system.
CBitmap32 ToBitmap32(const CImage& image);

class CJsonFields;

// Which colour of a picture becomes see-through ("key_color" of sprites and backgrounds):
// none (the picture's own alpha counts), the colour of the bottom-left pixel, or a given one.
struct CKeyColor {
  enum Mode { kNone, kBottomLeft, kColour } mode = kNone;
  uint32_t rgb = 0;  // 0xRRGGBB for kColour
};
bool KeyColorField(CJsonFields& f, const char* field, CKeyColor& out);
// Pixels of the key colour get alpha 0 (keeping their colour bits); then see-through pixels
// take the colours of their neighbours, so filtering at shape edges blends in shape colours.
void ApplyKeyColor(CBitmap32& image, const CKeyColor& key);

}  // namespace zorvex
