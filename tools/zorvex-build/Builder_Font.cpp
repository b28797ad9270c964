// fonts/NAME.json: a system font, its size, style and character range, made into a glyph sheet
// with the platform's font rendering.
#include "platform/Platform_Font.h"
#include "zorvex-build/Builder_Catalog.h"
#include "zorvex-build/Builder_Readers.h"

namespace zorvex {

namespace {

// Larger fonts would make sheets of hundreds of megabytes while they are built.
constexpr int32_t kMaxFontSize = 200;

bool ReadFont(CProject& project, const CProjectEntry& entry, CFont& font, std::string& error) {
  Json j;
  if (!LoadEntryJson(entry.path, entry.display, false, j, error)) return false;
  CJsonFields f(j, entry.display, "", error);
  std::string name = "Arial";
  int32_t size = 12, first = 32, last = 127;
  bool bold = false, italic = false;
  if (!f.OnlyKnown({"font", "size", "bold", "italic", "first", "last"}) || !f.Text("font", name) ||
      !f.IntIn("size", size, 1, kMaxFontSize) || !f.Bool("bold", bold) ||
      !f.Bool("italic", italic) || !f.IntIn("first", first, 0, 255) ||
      !f.IntIn("last", last, 0, 255))
    return false;
  if (first > last)
    return f.Fail("last",
                  "the range ends before it begins (\"first\" is " + std::to_string(first) + ")");
  if (!project.glyphs) project.glyphs = std::make_shared<CSystemFontRenderer>();
  if (!project.glyphs->SelectFont(name, size, bold, italic))
    return f.Fail("font", "no system font can be found for \"" + name + "\"");
  font.FromSystemFont(*project.glyphs, name, size, bold, italic, first, last);
  if (font.sheet_width == 0) return f.Fail("size", "too large for a glyph sheet");
  return true;
}

}  // namespace

bool ReadFontFolder(CProject& project, std::string& error) {
  for (const CProjectEntry& entry : project.Entries(ProjectKind::kFont)) {
    auto font = std::make_unique<CFont>();
    if (!ReadFont(project, entry, *font, error)) return false;
    project.resources->fonts.Append(std::move(font), entry.name);
  }
  return true;
}

}  // namespace zorvex
