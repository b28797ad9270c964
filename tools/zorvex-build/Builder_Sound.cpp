// sounds/NAME.wav (or .ogg, .mid, .midi, .mp3) with an optional NAME.json.
#include "zorvex-build/Builder_Catalog.h"
#include "zorvex-build/Builder_Readers.h"
#include "zorvex-build/Builder_Text.h"

namespace zorvex {

namespace {

constexpr NamedValue kSoundKinds[] = {
    {"normal", CSound::kNormal},
    {"background", CSound::kBackground},
    {"3d", CSound::k3D},
    {"multimedia", CSound::kMultimedia},
};
// Effect bits, as the sound functions name them.
constexpr NamedValue kEffects[] = {
    {"chorus", 1},  {"echo", 2},        {"flanger", 4},    {"gargle", 8},
    {"reverb", 16}, {"compressor", 32}, {"equalizer", 64},
};

bool ReadEffects(CJsonFields& f, int32_t& out) {
  if (!f.Has("effects")) return true;
  const Json& v = f.object().at("effects");
  if (v.is_number_integer()) {
    if (!f.IntIn("effects", out, 0, 127)) return false;
    return true;
  }
  if (!v.is_array())
    return f.Fail("effects", "expected a list of effect names or the effect bits (0 to 127)");
  out = 0;
  for (size_t i = 0; i < v.size(); ++i) {
    bool found = false;
    for (const NamedValue& e : kEffects) {
      if (v[i] == e.name) {
        out |= e.value;
        found = true;
      }
    }
    if (!found)
      return f.Fail("effects[" + std::to_string(i) + "]",
                    "expected chorus, echo, flanger, gargle, reverb, compressor or equalizer");
  }
  return true;
}

bool ReadSound(const CProjectEntry& entry, CSound& sound, std::string& error) {
  const std::string json_display = DisplayFolder(entry) + "/" + entry.name + ".json";
  Json j;
  if (!LoadEntryJson(entry.path.parent_path() / (entry.name + ".json"), json_display, true, j,
                     error))
    return false;
  CJsonFields f(j, json_display, "", error);
  const std::string ext = LowerExtension(entry.path);
  // Music files play as background music unless the project says otherwise.
  sound.kind = ext == ".wav" ? CSound::kNormal : CSound::kBackground;
  if (!f.OnlyKnown({"kind", "effects", "volume", "pan", "preload"}) ||
      !f.Named("kind", kSoundKinds, sound.kind) || !ReadEffects(f, sound.effects) ||
      !f.Double("volume", sound.volume) || !f.Double("pan", sound.pan) ||
      !f.Bool("preload", sound.preload))
    return false;
  if (!(sound.volume >= 0 && sound.volume <= 1)) return f.Fail("volume", "expected 0 to 1");
  if (!(sound.pan >= -1 && sound.pan <= 1)) return f.Fail("pan", "expected -1 (left) to 1 (right)");
  std::string bytes;
  if (!ReadFileBytes(entry.path, bytes)) {
    error = entry.display + ": cannot be read";
    return false;
  }
  sound.file_type = entry.path.extension().string();
  sound.file_name = entry.path.filename().string();
  sound.has_data = true;
  sound.data.assign(bytes.begin(), bytes.end());
  return true;
}

}  // namespace

bool ReadSoundFolder(CProject& project, std::string& error) {
  for (const CProjectEntry& entry : project.Entries(ProjectKind::kSound)) {
    auto sound = std::make_unique<CSound>();
    if (!ReadSound(entry, *sound, error)) return false;
    project.resources->sounds.Append(std::move(sound), entry.name);
  }
  return true;
}

}  // namespace zorvex
