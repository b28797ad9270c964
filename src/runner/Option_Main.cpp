#include "runner/Option_Main.h"

#include "runner/Runner_Format.h"
#include "runner/Support_Stream.h"

namespace zorvex {

bool ReadSettings(CStream& s, CSettings& o) {
  o = CSettings();
  if (s.ReadInt() != kSettingsVersion) return false;
  o.start_fullscreen = s.ReadBool();
  o.interpolate_pixels = s.ReadBool();
  o.no_window_border = s.ReadBool();
  o.show_cursor = s.ReadBool();
  o.scaling = s.ReadInt();
  o.allow_resize = s.ReadBool();
  o.stay_on_top = s.ReadBool();
  o.window_color = s.ReadInt();
  o.change_display_mode = s.ReadBool();
  o.color_depth = s.ReadInt();
  o.resolution = s.ReadInt();
  o.frequency = s.ReadInt();
  o.no_window_buttons = s.ReadBool();
  o.use_synchronization = s.ReadBool();
  o.f4_switches_fullscreen = s.ReadBool();
  o.f1_shows_information = s.ReadBool();
  o.esc_ends_game = s.ReadBool();
  o.f5_f6_save_load = s.ReadBool();
  o.f9_screenshot = s.ReadBool();
  o.close_as_esc = s.ReadBool();
  o.process_priority = s.ReadInt();
  o.freeze_unfocused = s.ReadBool();
  o.show_progress_bar = s.ReadBool();
  if (o.show_progress_bar) {
    o.progress_back_image = s.ReadImage();
    o.progress_front_image = s.ReadImage();
  }
  o.loading_image = s.ReadImage();
  o.loading_transparent = s.ReadBool();
  o.loading_alpha = s.ReadInt();
  o.scale_progress_bar = s.ReadBool();
  o.show_errors = s.ReadBool();
  o.log_errors = s.ReadBool();
  o.abort_on_errors = s.ReadBool();
  o.uninitialised_as_zero = s.ReadBool();
  int32_t count = s.ReadInt();
  // Each constant takes at least 8 bytes; a count the stream cannot hold is corrupt data, not a
  // reason to reserve gigabytes.
  if (count > 0 && static_cast<size_t>(count) > s.Remaining() / 8)
    throw StreamReadError("constant count past the end");
  for (int32_t i = 0; i < count; ++i) {
    o.constant_names.push_back(s.ReadString());
    o.constant_values.push_back(s.ReadString());
  }
  return true;
}

void WriteSettings(CStream& s, const CSettings& o) {
  s.WriteInt(kSettingsVersion);
  s.WriteBool(o.start_fullscreen);
  s.WriteBool(o.interpolate_pixels);
  s.WriteBool(o.no_window_border);
  s.WriteBool(o.show_cursor);
  s.WriteInt(o.scaling);
  s.WriteBool(o.allow_resize);
  s.WriteBool(o.stay_on_top);
  s.WriteInt(o.window_color);
  s.WriteBool(o.change_display_mode);
  s.WriteInt(o.color_depth);
  s.WriteInt(o.resolution);
  s.WriteInt(o.frequency);
  s.WriteBool(o.no_window_buttons);
  s.WriteBool(o.use_synchronization);
  s.WriteBool(o.f4_switches_fullscreen);
  s.WriteBool(o.f1_shows_information);
  s.WriteBool(o.esc_ends_game);
  s.WriteBool(o.f5_f6_save_load);
  s.WriteBool(o.f9_screenshot);
  s.WriteBool(o.close_as_esc);
  s.WriteInt(o.process_priority);
  s.WriteBool(o.freeze_unfocused);
  s.WriteBool(o.show_progress_bar);
  if (o.show_progress_bar) {
    s.WriteImage(o.progress_back_image.get());
    s.WriteImage(o.progress_front_image.get());
  }
  s.WriteImage(o.loading_image.get());
  s.WriteBool(o.loading_transparent);
  s.WriteInt(o.loading_alpha);
  s.WriteBool(o.scale_progress_bar);
  s.WriteBool(o.show_errors);
  s.WriteBool(o.log_errors);
  s.WriteBool(o.abort_on_errors);
  s.WriteBool(o.uninitialised_as_zero);
  s.WriteInt(ConstantCount(o));
  for (size_t i = 0; i < o.constant_names.size(); ++i) {
    s.WriteString(o.constant_names[i]);
    s.WriteString(i < o.constant_values.size() ? o.constant_values[i] : std::string());
  }
}

FunctionKeyAction FunctionKeyActionFor(const CSettings& settings, int32_t last_key) {
  for (const FunctionKeyRule& rule : kFunctionKeys)
    if (rule.key == last_key && settings.*rule.enabled) return rule.action;
  return FunctionKeyAction::kNone;
}

std::string SaveGameFileName(int32_t game_id) {
  return "_save" + std::to_string(game_id) + ".sav";
}

std::string NextScreenshotFileName(const std::function<bool(const std::string&)>& exists) {
  for (int n = 100;; ++n) {
    std::string name = "screenshot" + std::to_string(n) + ".bmp";
    if (!exists(name)) return name;
  }
}

CloseButtonAction CloseButtonActionFor(const CSettings& settings, bool information_in_window,
                                       bool splash_shown) {
  if (information_in_window) return CloseButtonAction::kDismissInformation;
  if (splash_shown) return CloseButtonAction::kCloseSplash;
  return settings.close_as_esc ? CloseButtonAction::kPressEscape
                               : CloseButtonAction::kCloseButtonEvent;
}

namespace {
struct Resolution {
  int32_t width, height;
};
constexpr int32_t kDepths[] = {16, 32};
constexpr Resolution kResolutions[] = {{320, 240},  {640, 480},   {800, 600},
                                       {1024, 768}, {1280, 1024}, {1600, 1200}};
constexpr int32_t kFrequencies[] = {60, 70, 85, 100, 120};

template <size_t N>
bool InTable(int32_t index) {
  return index >= 1 && static_cast<size_t>(index) <= N;
}
}  // namespace

DisplayModeRequest DisplayModeFromSettings(const CSettings& s) {
  DisplayModeRequest r;
  if (!s.change_display_mode) return r;
  if (InTable<std::size(kDepths)>(s.color_depth)) r.depth = kDepths[s.color_depth - 1];
  if (InTable<std::size(kResolutions)>(s.resolution)) {
    r.width = kResolutions[s.resolution - 1].width;
    r.height = kResolutions[s.resolution - 1].height;
  }
  if (InTable<std::size(kFrequencies)>(s.frequency)) r.frequency = kFrequencies[s.frequency - 1];
  return r;
}

}  // namespace zorvex
