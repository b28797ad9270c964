#include "zorvex-build/Builder_Catalog.h"

#include <algorithm>
#include <map>

#include "zorvex-build/Builder_Text.h"

namespace zorvex {

namespace fs = std::filesystem;

namespace {

// How the resources of a kind lie in their folder.
enum class Shape {
  kFolder,      // sprites/NAME/
  kPicture,     // backgrounds/NAME.png + NAME.json
  kSoundFile,   // sounds/NAME.wav + NAME.json
  kScriptFile,  // scripts/NAME.gml
  kJson,        // objects/NAME.json (code files and sub-folders of code beside them)
};

struct KindShape {
  ProjectKind kind;
  Shape shape;
  const char* hint;
};

constexpr KindShape kShapes[kProjectKindCount] = {
    {ProjectKind::kSound, Shape::kSoundFile,
     "sounds are NAME.wav, NAME.ogg, NAME.mid or NAME.mp3, with an optional NAME.json"},
    {ProjectKind::kSprite, Shape::kFolder,
     "a sprite is a folder sprites/NAME/ holding 0.png, 1.png, ... and sprite.json"},
    {ProjectKind::kBackground, Shape::kPicture,
     "backgrounds are NAME.png or NAME.bmp, with an optional NAME.json"},
    {ProjectKind::kPath, Shape::kJson, "paths are NAME.json"},
    {ProjectKind::kScript, Shape::kScriptFile, "scripts are NAME.gml"},
    {ProjectKind::kFont, Shape::kJson, "fonts are NAME.json"},
    {ProjectKind::kTimeLine, Shape::kJson, "time lines are NAME.json"},
    {ProjectKind::kObject, Shape::kJson, "objects are NAME.json"},
    {ProjectKind::kRoom, Shape::kJson, "rooms are NAME.json"},
};

constexpr const char* kPictureExtensions[] = {".png", ".bmp"};
constexpr const char* kSoundExtensions[] = {".wav", ".ogg", ".mid", ".midi", ".mp3"};
// Notes may sit anywhere; code files beside the JSON files that use them.
constexpr const char* kNoteExtensions[] = {".txt", ".md"};

template <size_t N>
bool OneOf(const std::string& ext, const char* const (&list)[N]) {
  for (const char* e : list)
    if (ext == e) return true;
  return false;
}

std::string Stem(const fs::path& p) {
  return p.stem().string();
}

// Lists one kind's folder into the catalog (sorted by name for now).
bool ListKind(CProject& project, const KindShape& shape, std::string& error) {
  const ProjectKindInfo& info = KindInfo(shape.kind);
  const std::string folder = info.folder;
  auto& list = project.catalog[static_cast<size_t>(shape.kind)];
  std::map<std::string, std::string> companions;  // NAME -> display of NAME.json
  for (const fs::directory_entry& e : FolderEntries(project.folder / folder)) {
    const std::string file = e.path().filename().string();
    const std::string display = folder + "/" + file;
    const std::string ext = LowerExtension(e.path());
    std::error_code ec;
    const bool is_dir = e.is_directory(ec);
    std::string name;
    bool resource = false;
    switch (shape.shape) {
      case Shape::kFolder:
        resource = is_dir;
        name = file;
        break;
      case Shape::kPicture:
      case Shape::kSoundFile:
        if (!is_dir && ext == ".json") {
          companions[Stem(e.path())] = display;
          continue;
        }
        resource = !is_dir && (shape.shape == Shape::kPicture ? OneOf(ext, kPictureExtensions)
                                                              : OneOf(ext, kSoundExtensions));
        name = Stem(e.path());
        break;
      case Shape::kScriptFile:
        resource = !is_dir && ext == ".gml";
        name = Stem(e.path());
        break;
      case Shape::kJson:
        if (is_dir || ext == ".gml") continue;  // code used by the JSON files
        resource = ext == ".json";
        name = Stem(e.path());
        break;
    }
    if (!resource) {
      if (!is_dir && OneOf(ext, kNoteExtensions)) continue;
      const bool vowel = std::string_view("aeiou").find(info.noun[0]) != std::string_view::npos;
      error = display + ": not " + (vowel ? "an " : "a ") + info.noun + " (" + shape.hint + ")";
      return false;
    }
    if (!IsResourceName(name)) {
      error = display + ": \"" + name +
              "\" cannot name a resource: names are letters, digits and _, and do not begin "
              "with a digit";
      return false;
    }
    for (const CProjectEntry& other : list) {
      if (other.name == name) {
        error = display + ": a second file for the " + info.noun + " \"" + name + "\" (" +
                other.display + ")";
        return false;
      }
    }
    list.push_back(CProjectEntry{name, e.path(), display});
  }
  for (const auto& [name, display] : companions) {
    bool found = false;
    for (const CProjectEntry& entry : list)
      found = found || entry.name == name;
    if (!found) {
      error =
          display + ": there is no " + info.noun + " \"" + name + "\" for it (" + shape.hint + ")";
      return false;
    }
  }
  return true;
}

// The names game.json lists come first, in their order; the rest keep their sorted order.
bool ApplyListedOrder(CProject& project, ProjectKind kind, std::string& error) {
  const auto& listed = project.listed_order[static_cast<size_t>(kind)];
  auto& list = project.catalog[static_cast<size_t>(kind)];
  std::vector<CProjectEntry> ordered;
  std::vector<bool> taken(list.size(), false);
  for (size_t i = 0; i < listed.size(); ++i) {
    const std::string field =
        std::string("resource_order.") + KindInfo(kind).folder + "[" + std::to_string(i) + "]";
    size_t k = 0;
    while (k < list.size() && list[k].name != listed[i])
      ++k;
    if (k == list.size()) {
      error = "game.json: field \"" + field + "\": no " + KindInfo(kind).noun + " named \"" +
              listed[i] + "\"";
      return false;
    }
    if (taken[k]) {
      error = "game.json: field \"" + field + "\": \"" + listed[i] + "\" is listed twice";
      return false;
    }
    taken[k] = true;
    ordered.push_back(list[k]);
  }
  for (size_t k = 0; k < list.size(); ++k)
    if (!taken[k]) ordered.push_back(std::move(list[k]));
  list = std::move(ordered);
  return true;
}

}  // namespace

bool IsResourceName(std::string_view name) {
  if (name.empty()) return false;
  auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (!letter(name[0])) return false;
  for (char c : name)
    if (!letter(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

std::vector<fs::directory_entry> FolderEntries(const fs::path& folder) {
  std::vector<fs::directory_entry> out;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return out;
  for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
    const std::string name = e.path().filename().string();
    if (!name.empty() && name[0] != '.') out.push_back(e);
  }
  std::sort(out.begin(), out.end(), [](const fs::directory_entry& a, const fs::directory_entry& b) {
    return a.path().filename().string() < b.path().filename().string();
  });
  return out;
}

std::string LowerExtension(const fs::path& path) {
  std::string ext = path.extension().string();
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ext;
}

bool ListProjectFolders(CProject& project, std::string& error) {
  for (auto& list : project.catalog)
    list.clear();
  for (auto& map : project.index)
    map.clear();
  for (const KindShape& shape : kShapes)
    if (!ListKind(project, shape, error)) return false;
  // Resource names are constants of game code: one name, one resource.
  std::map<std::string, const CProjectEntry*> seen;
  for (const KindShape& shape : kShapes) {
    for (const CProjectEntry& e : project.catalog[static_cast<size_t>(shape.kind)]) {
      auto [it, fresh] = seen.emplace(e.name, &e);
      if (!fresh) {
        error = e.display + ": the name \"" + e.name + "\" is already used by " +
                it->second->display + " (game code knows resources by their names)";
        return false;
      }
    }
  }
  for (const KindShape& shape : kShapes) {
    if (!ApplyListedOrder(project, shape.kind, error)) return false;
    const auto& list = project.catalog[static_cast<size_t>(shape.kind)];
    auto& map = project.index[static_cast<size_t>(shape.kind)];
    for (size_t i = 0; i < list.size(); ++i)
      map.emplace(list[i].name, static_cast<int32_t>(i));
  }
  project.room_names.clear();
  for (const CProjectEntry& e : project.Entries(ProjectKind::kRoom))
    project.room_names.push_back(e.name);
  return true;
}

bool LoadEntryJson(const fs::path& path, const std::string& display, bool optional, Json& out,
                   std::string& error) {
  std::error_code ec;
  if (optional && !fs::exists(path, ec)) {
    out = Json::object();
    return true;
  }
  return LoadJsonFile(path, display, out, error);
}

bool ResolveNameValue(const CProject& project, const Json& value, ProjectKind kind, int32_t& out,
                      std::string& why) {
  const char* noun = KindInfo(kind).noun;
  if (value.is_null()) {
    out = -1;
    return true;
  }
  if (!value.is_string()) {
    why = std::string("expected the name of a ") + noun + " (or null)";
    return false;
  }
  const std::string name = value.get<std::string>();
  out = project.Find(kind, name);
  if (out < 0) {
    why = std::string("no ") + noun + " named \"" + name + "\"";
    return false;
  }
  return true;
}

bool ResolveName(const CProject& project, CJsonFields& f, const char* field, ProjectKind kind,
                 int32_t& out) {
  if (!f.Has(field)) return true;
  std::string why;
  if (!ResolveNameValue(project, f.object().at(field), kind, out, why)) return f.Fail(field, why);
  return true;
}

bool ReadCodeText(const fs::path& base, const std::string& base_display, const std::string& text,
                  std::string& out, std::string& why) {
  // A file name is one word ending in .gml; anything else is code.
  const bool file = text.size() > 4 && text.compare(text.size() - 4, 4, ".gml") == 0 &&
                    text.find_first_of(" \t\r\n;(){}=\"'") == std::string::npos;
  std::string game_text;
  const bool ok = file ? ReadGameTextFile(base / text, base_display + "/" + text, game_text, why)
                       : ToGameText(text, game_text, why);
  if (!ok) return false;
  out = WithCrLf(game_text);
  return true;
}

bool CodeField(CJsonFields& f, const char* field, const fs::path& base,
               const std::string& base_display, std::string& out) {
  if (!f.Has(field)) return true;
  std::string text;
  if (!f.String(field, text)) return false;
  std::string why;
  if (!ReadCodeText(base, base_display, text, out, why)) return f.Fail(field, why);
  return true;
}

std::string DisplayFolder(const CProjectEntry& entry) {
  const size_t slash = entry.display.rfind('/');
  return slash == std::string::npos ? std::string(".") : entry.display.substr(0, slash);
}

}  // namespace zorvex
