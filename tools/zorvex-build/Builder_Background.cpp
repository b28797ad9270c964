// backgrounds/NAME.png (or .bmp) with an optional NAME.json.
#include "zorvex-build/Builder_Catalog.h"
#include "zorvex-build/Builder_Picture.h"
#include "zorvex-build/Builder_Readers.h"

namespace zorvex {

namespace {

bool ReadBackground(const CProjectEntry& entry, CBackground& back, std::string& error) {
  const std::string json_display = DisplayFolder(entry) + "/" + entry.name + ".json";
  Json j;
  if (!LoadEntryJson(entry.path.parent_path() / (entry.name + ".json"), json_display, true, j,
                     error))
    return false;
  CJsonFields f(j, json_display, "", error);
  CKeyColor key;
  if (!f.OnlyKnown({"transparent", "smooth", "preload", "key_color"}) ||
      !f.Bool("transparent", back.transparent) || !f.Bool("smooth", back.smooth) ||
      !f.Bool("preload", back.preload) || !KeyColorField(f, "key_color", key))
    return false;
  std::unique_ptr<CImage> image;
  if (!LoadPictureFile(entry.path, entry.display, image, error)) return false;
  back.width = image->width;
  back.height = image->height;
  back.image = ToBitmap32(*image);
  ApplyKeyColor(back.image, key);
  if (back.smooth && back.transparent) back.image.SmoothEdges();
  back.has_image = true;
  return true;
}

}  // namespace

bool ReadBackgroundFolder(CProject& project, std::string& error) {
  for (const CProjectEntry& entry : project.Entries(ProjectKind::kBackground)) {
    auto back = std::make_unique<CBackground>();
    if (!ReadBackground(entry, *back, error)) return false;
    project.resources->backgrounds.Append(std::move(back), entry.name);
  }
  return true;
}

}  // namespace zorvex
