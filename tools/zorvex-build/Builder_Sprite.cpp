// sprites/NAME/: the frames 0.png, 1.png, ... (or .bmp) and sprite.json.
#include <map>

#include "zorvex-build/Builder_Catalog.h"
#include "zorvex-build/Builder_Picture.h"
#include "zorvex-build/Builder_Readers.h"

namespace zorvex {

namespace fs = std::filesystem;

namespace {

constexpr NamedValue kBBoxModes[] = {{"automatic", 0}, {"full", 1}, {"manual", 2}};

// A frame number as its file names it: decimal without leading zeros.
bool FrameNumber(const std::string& stem, int32_t& out) {
  if (stem.empty() || stem.size() > 6 || (stem.size() > 1 && stem[0] == '0')) return false;
  out = 0;
  for (char c : stem) {
    if (c < '0' || c > '9') return false;
    out = out * 10 + (c - '0');
  }
  return true;
}

// The frame files of a sprite folder in frame order.
bool ListFrames(const CProjectEntry& entry, std::vector<fs::path>& frames, std::string& error) {
  std::map<int32_t, fs::path> found;
  for (const fs::directory_entry& e : FolderEntries(entry.path)) {
    const std::string file = e.path().filename().string();
    const std::string ext = LowerExtension(e.path());
    if (file == "sprite.json" || ext == ".txt" || ext == ".md") continue;
    int32_t n;
    std::error_code ec;
    if (e.is_directory(ec) || (ext != ".png" && ext != ".bmp") ||
        !FrameNumber(e.path().stem().string(), n)) {
      error = entry.display + "/" + file +
              ": not a frame (a sprite folder holds 0.png, 1.png, ... and sprite.json)";
      return false;
    }
    auto [it, fresh] = found.emplace(n, e.path());
    if (!fresh) {
      error = entry.display + "/" + file + ": a second picture for frame " + std::to_string(n) +
              " (" + it->second.filename().string() + ")";
      return false;
    }
  }
  if (found.empty()) {
    error = entry.display + ": no frames (a sprite folder holds 0.png, 1.png, ...)";
    return false;
  }
  int32_t expect = 0;
  for (const auto& [n, path] : found) {
    if (n != expect) {
      error = entry.display + "/" + std::to_string(expect) +
              ".png: missing (frames are numbered from 0 without gaps, and there is " +
              path.filename().string() + ")";
      return false;
    }
    frames.push_back(path);
    ++expect;
  }
  return true;
}

bool ReadSprite(const CProjectEntry& entry, CSprite& sprite, std::string& error) {
  const std::string json_display = entry.display + "/sprite.json";
  Json j;
  if (!LoadEntryJson(entry.path / "sprite.json", json_display, true, j, error)) return false;
  CJsonFields f(j, json_display, "", error);
  if (!f.OnlyKnown({"origin", "bbox_mode", "bbox", "precise", "transparent", "smooth", "preload",
                    "key_color"}))
    return false;
  CKeyColor key;
  if (!f.Bool("precise", sprite.precise) || !f.Bool("transparent", sprite.transparent) ||
      !f.Bool("smooth", sprite.smooth) || !f.Bool("preload", sprite.preload) ||
      !KeyColorField(f, "key_color", key))
    return false;

  std::vector<fs::path> files;
  if (!ListFrames(entry, files, error)) return false;
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string display = entry.display + "/" + files[i].filename().string();
    std::unique_ptr<CImage> image;
    if (!LoadPictureFile(files[i], display, image, error)) return false;
    if (i == 0) {
      sprite.width = image->width;
      sprite.height = image->height;
    } else if (image->width != sprite.width || image->height != sprite.height) {
      error = display + ": " + std::to_string(image->width) + " x " +
              std::to_string(image->height) + " pixels, but " + files[0].filename().string() +
              " is " + std::to_string(sprite.width) + " x " + std::to_string(sprite.height) +
              " (the frames of a sprite share one size)";
      return false;
    }
    CBitmap32 frame = ToBitmap32(*image);
    ApplyKeyColor(frame, key);
    if (sprite.smooth && sprite.transparent) frame.SmoothEdges();
    sprite.frames.push_back(std::move(frame));
  }

  if (f.Has("origin")) {
    const Json& o = j.at("origin");
    if (o == "center") {
      sprite.xoffset = sprite.width / 2;
      sprite.yoffset = sprite.height / 2;
    } else if (o.is_array() && o.size() == 2 && o[0].is_number_integer() &&
               o[1].is_number_integer() && o[0].get<int64_t>() >= INT32_MIN &&
               o[0].get<int64_t>() <= INT32_MAX && o[1].get<int64_t>() >= INT32_MIN &&
               o[1].get<int64_t>() <= INT32_MAX) {
      sprite.xoffset = static_cast<int32_t>(o[0].get<int64_t>());
      sprite.yoffset = static_cast<int32_t>(o[1].get<int64_t>());
    } else {
      return f.Fail("origin", "expected [x, y] or \"center\"");
    }
  }

  sprite.bbox_mode = f.Has("bbox") ? 2 : 0;
  if (!f.Named("bbox_mode", kBBoxModes, sprite.bbox_mode)) return false;
  if (f.Has("bbox")) {
    if (sprite.bbox_mode != 2)
      return f.Fail("bbox", "a box is given only with \"bbox_mode\": \"manual\"");
    const Json& b = j.at("bbox");
    bool ok = b.is_array() && b.size() == 4;
    int32_t v[4] = {0, 0, 0, 0};
    for (size_t i = 0; ok && i < 4; ++i) {
      ok = b[i].is_number_integer() && b[i].get<int64_t>() >= 0 && b[i].get<int64_t>() < 65536;
      if (ok) v[i] = static_cast<int32_t>(b[i].get<int64_t>());
    }
    if (!ok) return f.Fail("bbox", "expected [left, top, right, bottom] in frame pixels");
    if (v[0] > v[2] || v[1] > v[3] || v[2] >= sprite.width || v[3] >= sprite.height)
      return f.Fail("bbox", "the box must lie inside the " + std::to_string(sprite.width) + " x " +
                                std::to_string(sprite.height) +
                                " frame, left <= right and top <= bottom (edges included)");
    sprite.bbox_left = v[0];
    sprite.bbox_top = v[1];
    sprite.bbox_right = v[2];
    sprite.bbox_bottom = v[3];
  } else if (sprite.bbox_mode == 2) {
    return f.Fail("bbox_mode", "a manual box needs \"bbox\": [left, top, right, bottom]");
  }
  sprite.ComputeBBox();
  return true;
}

}  // namespace

bool ReadSpriteFolder(CProject& project, std::string& error) {
  for (const CProjectEntry& entry : project.Entries(ProjectKind::kSprite)) {
    auto sprite = std::make_unique<CSprite>();
    if (!ReadSprite(entry, *sprite, error)) return false;
    project.resources->sprites.Append(std::move(sprite), entry.name);
  }
  return true;
}

}  // namespace zorvex
