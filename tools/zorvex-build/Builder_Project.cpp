#include "zorvex-build/Builder_Project.h"

#include "zorvex-build/Builder_Catalog.h"
#include "zorvex-build/Builder_Json.h"
#include "zorvex-build/Builder_Picture.h"
#include "zorvex-build/Builder_Readers.h"
#include "zorvex-build/Builder_Text.h"

namespace zorvex {

namespace {

constexpr const char* kGameJson = "game.json";

struct BoolSetting {
  const char* name;
  bool CSettings::*member;
};
struct IntSetting {
  const char* name;
  int32_t CSettings::*member;
  int32_t min, max;
};
struct ImageSetting {
  const char* name;
  std::unique_ptr<CImage> CSettings::*member;
};

constexpr BoolSetting kBoolSettings[] = {
    {"start_fullscreen", &CSettings::start_fullscreen},
    {"interpolate_pixels", &CSettings::interpolate_pixels},
    {"no_window_border", &CSettings::no_window_border},
    {"show_cursor", &CSettings::show_cursor},
    {"allow_resize", &CSettings::allow_resize},
    {"stay_on_top", &CSettings::stay_on_top},
    {"change_display_mode", &CSettings::change_display_mode},
    {"no_window_buttons", &CSettings::no_window_buttons},
    {"use_synchronization", &CSettings::use_synchronization},
    {"f4_switches_fullscreen", &CSettings::f4_switches_fullscreen},
    {"f1_shows_information", &CSettings::f1_shows_information},
    {"esc_ends_game", &CSettings::esc_ends_game},
    {"f5_f6_save_load", &CSettings::f5_f6_save_load},
    {"f9_screenshot", &CSettings::f9_screenshot},
    {"close_as_esc", &CSettings::close_as_esc},
    {"freeze_unfocused", &CSettings::freeze_unfocused},
    {"show_progress_bar", &CSettings::show_progress_bar},
    {"loading_transparent", &CSettings::loading_transparent},
    {"scale_progress_bar", &CSettings::scale_progress_bar},
    {"show_errors", &CSettings::show_errors},
    {"log_errors", &CSettings::log_errors},
    {"abort_on_errors", &CSettings::abort_on_errors},
    {"uninitialised_as_zero", &CSettings::uninitialised_as_zero},
};

constexpr IntSetting kIntSettings[] = {
    {"scaling", &CSettings::scaling, INT32_MIN, INT32_MAX},
    {"color_depth", &CSettings::color_depth, 0, 2},
    {"resolution", &CSettings::resolution, 0, 6},
    {"frequency", &CSettings::frequency, 0, 5},
    {"process_priority", &CSettings::process_priority, 0, 2},
    {"loading_alpha", &CSettings::loading_alpha, 0, 255},
};

constexpr ImageSetting kImageSettings[] = {
    {"progress_back_image", &CSettings::progress_back_image},
    {"progress_front_image", &CSettings::progress_front_image},
    {"loading_image", &CSettings::loading_image},
};

bool ParseGuid(const std::string& text, std::array<uint8_t, 16>& out) {
  std::string hex;
  for (char c : text)
    if (c != '-' && c != '{' && c != '}') hex.push_back(c);
  if (hex.size() != 32) return false;
  for (size_t i = 0; i < 16; ++i) {
    char* end = nullptr;
    std::string pair = hex.substr(i * 2, 2);
    unsigned long v = std::strtoul(pair.c_str(), &end, 16);
    if (end != pair.c_str() + 2) return false;
    out[i] = static_cast<uint8_t>(v);
  }
  return true;
}

// Game ids and identifiers that are not given come from the folder's name, so that rebuilding
// a project gives the same file.
uint64_t Fnv1a(std::string_view s) {
  uint64_t h = 1469598103934665603ull;
  for (char c : s)
    h = (h ^ static_cast<uint8_t>(c)) * 1099511628211ull;
  return h;
}

// Plain text becomes a minimal rich text; text already in rich-text form is kept.
std::string AsRichText(const std::string& text) {
  if (text.rfind("{\\rtf", 0) == 0) return text;
  std::string out = "{\\rtf1\\ansi ";
  for (char c : text) {
    if (c == '\\' || c == '{' || c == '}') {
      out.push_back('\\');
      out.push_back(c);
    } else if (c == '\n') {
      out += "\\par\n";
    } else if (c != '\r') {
      out.push_back(c);
    }
  }
  out += "}";
  return out;
}

bool ReadInformation(const Json& j, CProject& p, std::string& error) {
  if (!j.is_object()) {
    error = std::string(kGameJson) + ": field \"game_information\": expected an object";
    return false;
  }
  CJsonFields f(j, kGameJson, "game_information", error);
  CGameInformation& info = p.information;
  std::string text, text_file;
  bool ok = f.OnlyKnown({"background_color", "in_game_window", "caption", "left", "top", "width",
                         "height", "show_border", "sizeable", "stay_on_top", "modal", "text",
                         "text_file"}) &&
            f.Color("background_color", info.background_color) &&
            f.Bool("in_game_window", info.in_game_window) && f.Text("caption", info.caption) &&
            f.Int("left", info.left) && f.Int("top", info.top) && f.Int("width", info.width) &&
            f.Int("height", info.height) && f.Bool("show_border", info.show_border) &&
            f.Bool("sizeable", info.sizeable) && f.Bool("stay_on_top", info.stay_on_top) &&
            f.Bool("modal", info.modal) && f.Text("text", text) && f.String("text_file", text_file);
  if (!ok) return false;
  if (f.Has("text") && f.Has("text_file"))
    return f.Fail("text_file", "give either \"text\" or \"text_file\", not both");
  if (!text_file.empty()) {
    std::string why;
    if (!ReadGameTextFile(p.folder / text_file, text_file, text, why))
      return f.Fail("text_file", why);
  }
  info.text = text.empty() ? std::string() : AsRichText(text);
  return true;
}

bool ReadSettingsFields(const Json& j, CProject& p, std::string& error) {
  CJsonFields f(j, kGameJson, "", error);
  for (const BoolSetting& b : kBoolSettings)
    if (!f.Bool(b.name, p.settings.*b.member)) return false;
  for (const IntSetting& s : kIntSettings) {
    int32_t v = p.settings.*s.member;
    if (!f.Int(s.name, v)) return false;
    if (v < s.min || v > s.max)
      return f.Fail(s.name, "expected " + std::to_string(s.min) + " to " + std::to_string(s.max));
    p.settings.*s.member = v;
  }
  if (!f.Color("window_color", p.settings.window_color)) return false;
  for (const ImageSetting& img : kImageSettings) {
    std::string file;
    if (!f.String(img.name, file)) return false;
    if (file.empty()) continue;
    std::string why;
    if (!LoadPictureFile(p.folder / file, file, p.settings.*img.member, why))
      return f.Fail(img.name, why);
  }
  if (f.Has("constants")) {
    const Json& c = j.at("constants");
    if (!c.is_object()) return f.Fail("constants", "expected an object of NAME: value");
    for (auto it = c.begin(); it != c.end(); ++it) {
      std::string value, why;
      if (it.value().is_string()) {
        if (!ToGameText(it.value().get<std::string>(), value, why))
          return f.Fail("constants." + it.key(), why);
      } else if (it.value().is_number()) {
        value = it.value().dump();
      } else {
        return f.Fail("constants." + it.key(), "expected a string or a number");
      }
      p.settings.constant_names.push_back(it.key());
      p.settings.constant_values.push_back(value);
    }
  }
  return true;
}

// "resource_order": {"sprites": ["spr_player", ...], ...}: these names take the first numbers.
bool ReadResourceOrder(CJsonFields& f, CProject& p) {
  if (!f.Has("resource_order")) return true;
  const Json& order = f.object().at("resource_order");
  if (!order.is_object()) return f.Fail("resource_order", "expected an object of FOLDER: [names]");
  for (auto it = order.begin(); it != order.end(); ++it) {
    const std::string field = "resource_order." + it.key();
    const ProjectKindInfo* kind = nullptr;
    for (const ProjectKindInfo& k : kProjectKinds)
      if (it.key() == k.folder) kind = &k;
    if (kind == nullptr)
      return f.Fail(field,
                    "not a resource folder (sounds, sprites, backgrounds, paths, scripts, fonts, "
                    "timelines, objects, rooms)");
    if (!it.value().is_array()) return f.Fail(field, "expected a list of names");
    auto& names = p.listed_order[static_cast<size_t>(kind->kind)];
    for (size_t i = 0; i < it.value().size(); ++i) {
      if (!it.value()[i].is_string())
        return f.Fail(field + "[" + std::to_string(i) + "]", "expected a name");
      names.push_back(it.value()[i].get<std::string>());
    }
  }
  return true;
}

// "library_init_code": ["code or file.gml", ...], one entry per action library.
bool ReadLibraryInitCode(CJsonFields& f, CProject& p) {
  if (!f.Has("library_init_code")) return true;
  const Json& list = f.object().at("library_init_code");
  if (!list.is_array()) return f.Fail("library_init_code", "expected a list of code texts");
  for (size_t i = 0; i < list.size(); ++i) {
    const std::string field = "library_init_code[" + std::to_string(i) + "]";
    if (!list[i].is_string()) return f.Fail(field, "expected code or the name of a .gml file");
    std::string code, why;
    if (!ReadCodeText(p.folder, ".", list[i].get<std::string>(), code, why))
      return f.Fail(field, why);
    p.resources->library_init.code.push_back(std::move(code));
  }
  return true;
}

bool ReadGameJsonObject(const Json& j, CProject& p, std::string& error) {
  std::vector<const char*> known = {
      "name",      "game_id",          "guid",       "debug_mode",     "window_color",
      "constants", "game_information", "room_order", "resource_order", "library_init_code"};
  for (const BoolSetting& b : kBoolSettings)
    known.push_back(b.name);
  for (const IntSetting& s : kIntSettings)
    known.push_back(s.name);
  for (const ImageSetting& s : kImageSettings)
    known.push_back(s.name);
  CJsonFields f(j, kGameJson, "", error);
  if (!f.OnlyKnown(known)) return false;

  std::string name = p.folder.filename().string();
  if (!f.String("name", name)) return false;
  const uint64_t h = Fnv1a(name);
  p.game_id = static_cast<int32_t>(h % 100000000);
  for (size_t i = 0; i < 16; ++i)
    p.guid[i] = static_cast<uint8_t>(Fnv1a(name + char('a' + i)));
  if (!f.Int("game_id", p.game_id)) return false;
  if (f.Has("guid")) {
    std::string g;
    if (!f.String("guid", g)) return false;
    if (!ParseGuid(g, p.guid)) return f.Fail("guid", "expected 32 hexadecimal digits");
  }
  if (!f.Bool("debug_mode", p.debug_mode)) return false;
  if (!ReadSettingsFields(j, p, error)) return false;
  if (f.Has("game_information") && !ReadInformation(j.at("game_information"), p, error))
    return false;
  if (f.Has("room_order")) {
    const Json& order = j.at("room_order");
    if (!order.is_array()) return f.Fail("room_order", "expected an array of rooms");
    for (size_t i = 0; i < order.size(); ++i) {
      CProject::RoomRef ref;
      const Json& r = order[i];
      if (r.is_number_integer() && r.get<int64_t>() >= 0 && r.get<int64_t>() <= INT32_MAX) {
        ref.index = static_cast<int32_t>(r.get<int64_t>());
      } else if (r.is_string()) {
        ref.name = r.get<std::string>();
      } else {
        return f.Fail("room_order[" + std::to_string(i) + "]",
                      "expected a room name or a room index");
      }
      p.room_order_refs.push_back(ref);
    }
  }
  return ReadResourceOrder(f, p) && ReadLibraryInitCode(f, p);
}

// The rooms in playing order: as game.json lists them, else every room in index order.
bool ResolveRoomOrder(CProject& p, std::string& error) {
  p.room_order.clear();
  if (p.room_names.empty()) {
    error = "rooms/: a game needs at least one room (rooms/NAME.json)";
    return false;
  }
  if (p.room_order_refs.empty()) {
    for (size_t k = 0; k < p.room_names.size(); ++k)
      p.room_order.push_back(static_cast<int32_t>(k));
    return true;
  }
  for (size_t i = 0; i < p.room_order_refs.size(); ++i) {
    const CProject::RoomRef& ref = p.room_order_refs[i];
    const std::string field =
        std::string(kGameJson) + ": field \"room_order[" + std::to_string(i) + "]\": ";
    if (ref.name.empty()) {
      if (ref.index >= static_cast<int32_t>(p.room_names.size())) {
        error = field + "there is no room " + std::to_string(ref.index) + " (the rooms are 0 to " +
                std::to_string(p.room_names.size() - 1) + ")";
        return false;
      }
      p.room_order.push_back(ref.index);
      continue;
    }
    int32_t found = -1;
    for (size_t k = 0; k < p.room_names.size(); ++k)
      if (p.room_names[k] == ref.name) found = static_cast<int32_t>(k);
    if (found < 0) {
      error = field + "no room named \"" + ref.name + "\"";
      return false;
    }
    p.room_order.push_back(found);
  }
  return true;
}

// In the order of the sections, after game.json and the listing that numbers every resource
// (objects name sprites, rooms name objects, and so on).
constexpr ProjectReaderEntry kReaders[] = {
    {"game.json", ReadGameJson},          {"resource folders", ListProjectFolders},
    {"extensions/", ReadExtensionFolder}, {"sounds/", ReadSoundFolder},
    {"sprites/", ReadSpriteFolder},       {"backgrounds/", ReadBackgroundFolder},
    {"paths/", ReadPathFolder},           {"scripts/", ReadScriptFolder},
    {"fonts/", ReadFontFolder},           {"timelines/", ReadTimeLineFolder},
    {"objects/", ReadObjectFolder},       {"rooms/", ReadRoomFolder},
    {"included/", ReadIncludedFolder},
};

}  // namespace

bool ReadGameJsonText(const std::string& text, CProject& project, std::string& error) {
  Json j;
  if (!ParseJsonText(text, kGameJson, j, error)) return false;
  return ReadGameJsonObject(j, project, error);
}

bool ReadGameJson(CProject& project, std::string& error) {
  Json j;
  if (!LoadJsonFile(project.folder / kGameJson, kGameJson, j, error)) return false;
  return ReadGameJsonObject(j, project, error);
}

int32_t CProject::Find(ProjectKind kind, std::string_view name) const {
  const auto& map = index[static_cast<size_t>(kind)];
  auto it = map.find(std::string(name));
  return it == map.end() ? -1 : it->second;
}

std::span<const ProjectReaderEntry> ProjectReaders() {
  return kReaders;
}

bool ReadProject(const std::filesystem::path& folder, CProject& project, std::string& error) {
  project = CProject();
  project.folder = folder;
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    error = folder.string() + ": not a project folder";
    return false;
  }
  for (const ProjectReaderEntry& r : kReaders)
    if (!r.read(project, error)) return false;
  return ResolveRoomOrder(project, error);
}

}  // namespace zorvex
