// The game's settings record: how the window looks, the display mode, the function keys the
// runner handles itself, the loading window, error handling and the user constants. Read once
// from the game header; only show_cursor changes afterwards.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runner/Support_Image.h"

namespace zorvex {

class CStream;

struct CSettings {
  bool start_fullscreen = false;
  bool interpolate_pixels = false;
  bool no_window_border = false;
  bool show_cursor = true;
  int32_t scaling = 100;
  bool allow_resize = false;
  bool stay_on_top = false;
  int32_t window_color = 16777215;  // 0x00BBGGRR
  bool change_display_mode = false;
  int32_t color_depth = 0;
  int32_t resolution = 0;
  int32_t frequency = 0;
  bool no_window_buttons = false;
  bool use_synchronization = false;
  bool f4_switches_fullscreen = true;
  bool f1_shows_information = true;
  bool esc_ends_game = true;
  bool f5_f6_save_load = true;
  bool f9_screenshot = true;
  bool close_as_esc = true;
  int32_t process_priority = 0;
  bool freeze_unfocused = false;
  bool show_progress_bar = true;
  std::unique_ptr<CImage> progress_back_image;  // stored only with show_progress_bar
  std::unique_ptr<CImage> progress_front_image;
  std::unique_ptr<CImage> loading_image;
  bool loading_transparent = false;
  int32_t loading_alpha = 255;
  bool scale_progress_bar = true;
  bool show_errors = true;
  bool log_errors = false;
  bool abort_on_errors = false;
  bool uninitialised_as_zero = false;
  // Parallel lists: the name and the source text of each user constant's value.
  std::vector<std::string> constant_names;
  std::vector<std::string> constant_values;
};

// Resets every setting to its value before reading, then reads the record. False when the
// version is not kSettingsVersion (nothing after it is read then). A read past the end throws.
bool ReadSettings(CStream& stream, CSettings& settings);
// The builder's side of ReadSettings.
void WriteSettings(CStream& stream, const CSettings& settings);

// What the main loop does with the last key pressed, once per step before the events.
enum class FunctionKeyAction {
  kNone,
  kShowInformation,
  kEndGame,
  kToggleFullscreen,
  kSaveGame,
  kLoadGame,
  kScreenshot,
};

struct FunctionKeyRule {
  int32_t key;               // Windows virtual-key code
  bool CSettings::*enabled;  // the setting that switches the key on
  FunctionKeyAction action;
};

// Checked in this order; at most one key is handled per step, and handling it first sets
// keyboard_lastkey to 0.
inline constexpr FunctionKeyRule kFunctionKeys[] = {
    {112, &CSettings::f1_shows_information, FunctionKeyAction::kShowInformation},
    {27, &CSettings::esc_ends_game, FunctionKeyAction::kEndGame},
    {115, &CSettings::f4_switches_fullscreen, FunctionKeyAction::kToggleFullscreen},
    {116, &CSettings::f5_f6_save_load, FunctionKeyAction::kSaveGame},
    {117, &CSettings::f5_f6_save_load, FunctionKeyAction::kLoadGame},
    {120, &CSettings::f9_screenshot, FunctionKeyAction::kScreenshot},
};

FunctionKeyAction FunctionKeyActionFor(const CSettings& settings, int32_t last_key);

// The file of the F5 and F6 keys: "_save" + decimal game id + ".sav".
std::string SaveGameFileName(int32_t game_id);
// "screenshot" + N + ".bmp" for the first N from 100 upward that names no existing file.
std::string NextScreenshotFileName(const std::function<bool(const std::string&)>& exists);

// What the game window's close button does; it never closes the window by itself.
enum class CloseButtonAction {
  kDismissInformation,  // the game information shown inside the game window goes away
  kCloseSplash,
  kPressEscape,       // key 27 marked down, keyboard_key = keyboard_lastkey = 27
  kCloseButtonEvent,  // ev_close_button is performed
};

CloseButtonAction CloseButtonActionFor(const CSettings& settings, bool information_in_window,
                                       bool splash_shown);

// The display mode the settings ask for; -1 leaves a value as it is.
struct DisplayModeRequest {
  int32_t width = -1;
  int32_t height = -1;
  int32_t depth = -1;
  int32_t frequency = -1;
  bool Changes() const { return width >= 0 || height >= 0 || depth >= 0 || frequency >= 0; }
};

// Translates the three indices when change_display_mode is set; unknown indices and 0 mean
// unchanged.
DisplayModeRequest DisplayModeFromSettings(const CSettings& settings);

// The user constants as the settings carry them.
inline int32_t ConstantCount(const CSettings& s) {
  return static_cast<int32_t>(s.constant_names.size());
}

}  // namespace zorvex
