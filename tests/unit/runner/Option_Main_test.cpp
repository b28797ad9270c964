#include "runner/Option_Main.h"

#include <gtest/gtest.h>

#include <set>

#include "runner/Support_Stream.h"

namespace zorvex {
namespace {

CSettings Unusual() {
  CSettings s;
  s.start_fullscreen = true;
  s.interpolate_pixels = true;
  s.no_window_border = true;
  s.show_cursor = false;
  s.scaling = -1;
  s.allow_resize = true;
  s.stay_on_top = true;
  s.window_color = 0x123456;
  s.change_display_mode = true;
  s.color_depth = 2;
  s.resolution = 5;
  s.frequency = 4;
  s.no_window_buttons = true;
  s.use_synchronization = true;
  s.f4_switches_fullscreen = false;
  s.f1_shows_information = false;
  s.esc_ends_game = false;
  s.f5_f6_save_load = false;
  s.f9_screenshot = false;
  s.close_as_esc = false;
  s.process_priority = 2;
  s.freeze_unfocused = true;
  s.show_progress_bar = true;
  s.progress_back_image = std::make_unique<CImage>(3, 1, 0xFF00FF00);
  s.progress_front_image = std::make_unique<CImage>(2, 2, 0xFFFF0000);
  s.loading_image = std::make_unique<CImage>(4, 3, 0xFF0000FF);
  s.loading_transparent = true;
  s.loading_alpha = 254;
  s.scale_progress_bar = false;
  s.show_errors = false;
  s.log_errors = true;
  s.abort_on_errors = true;
  s.uninitialised_as_zero = true;
  s.constant_names = {"SPEED", "NAME"};
  s.constant_values = {"4", "\"x\""};
  return s;
}

TEST(OptionMain, EveryFieldSurvivesWritingAndReading) {
  CSettings in = Unusual();
  CStream s;
  WriteSettings(s, in);
  s.WriteInt(12345);  // whatever follows stays unread
  s.Seek(0);
  CSettings out;
  ASSERT_TRUE(ReadSettings(s, out));
  EXPECT_EQ(s.ReadInt(), 12345);
  EXPECT_EQ(out.start_fullscreen, true);
  EXPECT_EQ(out.interpolate_pixels, true);
  EXPECT_EQ(out.no_window_border, true);
  EXPECT_EQ(out.show_cursor, false);
  EXPECT_EQ(out.scaling, -1);
  EXPECT_EQ(out.allow_resize, true);
  EXPECT_EQ(out.stay_on_top, true);
  EXPECT_EQ(out.window_color, 0x123456);
  EXPECT_EQ(out.change_display_mode, true);
  EXPECT_EQ(out.color_depth, 2);
  EXPECT_EQ(out.resolution, 5);
  EXPECT_EQ(out.frequency, 4);
  EXPECT_EQ(out.no_window_buttons, true);
  EXPECT_EQ(out.use_synchronization, true);
  EXPECT_EQ(out.f4_switches_fullscreen, false);
  EXPECT_EQ(out.f1_shows_information, false);
  EXPECT_EQ(out.esc_ends_game, false);
  EXPECT_EQ(out.f5_f6_save_load, false);
  EXPECT_EQ(out.f9_screenshot, false);
  EXPECT_EQ(out.close_as_esc, false);
  EXPECT_EQ(out.process_priority, 2);
  EXPECT_EQ(out.freeze_unfocused, true);
  EXPECT_EQ(out.show_progress_bar, true);
  ASSERT_TRUE(out.progress_back_image && out.progress_front_image && out.loading_image);
  EXPECT_EQ(out.progress_back_image->pixels, in.progress_back_image->pixels);
  EXPECT_EQ(out.progress_front_image->pixels, in.progress_front_image->pixels);
  EXPECT_EQ(out.loading_image->width, 4);
  EXPECT_EQ(out.loading_image->pixels, in.loading_image->pixels);
  EXPECT_EQ(out.loading_transparent, true);
  EXPECT_EQ(out.loading_alpha, 254);
  EXPECT_EQ(out.scale_progress_bar, false);
  EXPECT_EQ(out.show_errors, false);
  EXPECT_EQ(out.log_errors, true);
  EXPECT_EQ(out.abort_on_errors, true);
  EXPECT_EQ(out.uninitialised_as_zero, true);
  EXPECT_EQ(out.constant_names, in.constant_names);
  EXPECT_EQ(out.constant_values, in.constant_values);
}

TEST(OptionMain, WithoutProgressBarTheNextFieldIsTheLoadingImage) {
  // Hand-made record: 23 fields up to show_progress_bar, which is false.
  CStream s;
  s.WriteInt(702);
  for (int i = 0; i < 22; ++i)
    s.WriteInt(0);
  s.WriteInt(0);      // show_progress_bar
  s.WriteBool(true);  // loading image present...
  CImage img(1, 1, 0xFFABCDEF);
  CStream tmp;
  tmp.WriteImage(&img);
  s.WriteBytes(tmp.Data() + 4, tmp.Size() - 4);  // ...its block
  s.WriteInt(1);                                 // loading_transparent
  s.WriteInt(200);                               // loading_alpha
  for (int i = 0; i < 5; ++i)
    s.WriteInt(0);
  s.WriteInt(0);  // no constants
  s.Seek(0);
  CSettings out;
  out.progress_back_image = std::make_unique<CImage>(1, 1);
  ASSERT_TRUE(ReadSettings(s, out));
  EXPECT_TRUE(s.AtEnd());
  EXPECT_FALSE(out.show_progress_bar);
  EXPECT_EQ(out.progress_back_image, nullptr);  // reset, and nothing was read for it
  ASSERT_NE(out.loading_image, nullptr);
  EXPECT_EQ(out.loading_image->At(0, 0), 0xFFABCDEFu);
  EXPECT_TRUE(out.loading_transparent);
  EXPECT_EQ(out.loading_alpha, 200);
}

TEST(OptionMain, WrongVersionReadsNothingMoreAndLeavesDefaults) {
  CSettings in = Unusual();
  CStream s;
  WriteSettings(s, in);
  s.Seek(0);
  s.WriteInt(701);
  s.Seek(0);
  CSettings out = Unusual();
  EXPECT_FALSE(ReadSettings(s, out));
  EXPECT_EQ(s.Position(), 4u);
  // Everything is back at its value before reading.
  EXPECT_TRUE(out.show_cursor);
  EXPECT_EQ(out.scaling, 100);
  EXPECT_EQ(out.window_color, 16777215);
  EXPECT_TRUE(out.f4_switches_fullscreen && out.f1_shows_information && out.esc_ends_game &&
              out.f5_f6_save_load && out.f9_screenshot && out.close_as_esc);
  EXPECT_TRUE(out.show_progress_bar && out.scale_progress_bar && out.show_errors);
  EXPECT_EQ(out.loading_alpha, 255);
  EXPECT_FALSE(out.start_fullscreen || out.log_errors || out.abort_on_errors);
  EXPECT_EQ(out.loading_image, nullptr);
  EXPECT_TRUE(out.constant_names.empty());
}

TEST(OptionMain, TruncatedRecordThrowsAndHugeConstantCountsDoNotAllocate) {
  CStream full;
  WriteSettings(full, Unusual());
  CStream cut(std::vector<uint8_t>(full.Bytes().begin(), full.Bytes().end() - 3));
  CSettings out;
  EXPECT_THROW(ReadSettings(cut, out), StreamReadError);

  CSettings none;
  none.show_progress_bar = false;
  CStream s;
  WriteSettings(s, none);
  s.Seek(s.Size() - 4);
  s.WriteInt(0x7FFFFFFF);
  s.Seek(0);
  EXPECT_THROW(ReadSettings(s, out), StreamReadError);
}

TEST(OptionMain, FunctionKeysFollowTheirSettings) {
  CSettings s;
  EXPECT_EQ(FunctionKeyActionFor(s, 112), FunctionKeyAction::kShowInformation);
  EXPECT_EQ(FunctionKeyActionFor(s, 27), FunctionKeyAction::kEndGame);
  EXPECT_EQ(FunctionKeyActionFor(s, 115), FunctionKeyAction::kToggleFullscreen);
  EXPECT_EQ(FunctionKeyActionFor(s, 116), FunctionKeyAction::kSaveGame);
  EXPECT_EQ(FunctionKeyActionFor(s, 117), FunctionKeyAction::kLoadGame);
  EXPECT_EQ(FunctionKeyActionFor(s, 120), FunctionKeyAction::kScreenshot);
  EXPECT_EQ(FunctionKeyActionFor(s, 113), FunctionKeyAction::kNone);  // F2
  EXPECT_EQ(FunctionKeyActionFor(s, 0), FunctionKeyAction::kNone);
  s.f5_f6_save_load = false;
  s.esc_ends_game = false;
  EXPECT_EQ(FunctionKeyActionFor(s, 116), FunctionKeyAction::kNone);
  EXPECT_EQ(FunctionKeyActionFor(s, 117), FunctionKeyAction::kNone);
  EXPECT_EQ(FunctionKeyActionFor(s, 27), FunctionKeyAction::kNone);
  EXPECT_EQ(FunctionKeyActionFor(s, 120), FunctionKeyAction::kScreenshot);
  // The table checks F1, Esc, F4, F5, F6, F9 in that order.
  const int32_t order[] = {112, 27, 115, 116, 117, 120};
  for (size_t i = 0; i < std::size(order); ++i)
    EXPECT_EQ(kFunctionKeys[i].key, order[i]);
}

TEST(OptionMain, FileNamesOfSavesAndScreenshots) {
  EXPECT_EQ(SaveGameFileName(4711), "_save4711.sav");
  EXPECT_EQ(SaveGameFileName(-3), "_save-3.sav");
  std::set<std::string> present = {"screenshot100.bmp", "screenshot101.bmp", "screenshot103.bmp"};
  EXPECT_EQ(NextScreenshotFileName([&](const std::string& n) { return present.count(n) > 0; }),
            "screenshot102.bmp");
  EXPECT_EQ(NextScreenshotFileName([](const std::string&) { return false; }), "screenshot100.bmp");
}

TEST(OptionMain, CloseButton) {
  CSettings s;
  EXPECT_EQ(CloseButtonActionFor(s, true, true), CloseButtonAction::kDismissInformation);
  EXPECT_EQ(CloseButtonActionFor(s, false, true), CloseButtonAction::kCloseSplash);
  EXPECT_EQ(CloseButtonActionFor(s, false, false), CloseButtonAction::kPressEscape);
  // Escape is only delivered; whether it ends the game is esc_ends_game's business.
  s.esc_ends_game = false;
  EXPECT_EQ(CloseButtonActionFor(s, false, false), CloseButtonAction::kPressEscape);
  s.close_as_esc = false;
  EXPECT_EQ(CloseButtonActionFor(s, false, false), CloseButtonAction::kCloseButtonEvent);
}

TEST(OptionMain, DisplayModeIndices) {
  CSettings s;
  s.color_depth = 2;
  s.resolution = 3;
  s.frequency = 1;
  EXPECT_FALSE(DisplayModeFromSettings(s).Changes());  // change_display_mode is off
  s.change_display_mode = true;
  DisplayModeRequest r = DisplayModeFromSettings(s);
  EXPECT_EQ(r.depth, 32);
  EXPECT_EQ(r.width, 800);
  EXPECT_EQ(r.height, 600);
  EXPECT_EQ(r.frequency, 60);
  s.color_depth = 3;
  s.resolution = 7;
  s.frequency = 6;
  r = DisplayModeFromSettings(s);
  EXPECT_FALSE(r.Changes());
  s.color_depth = 1;
  s.resolution = 6;
  s.frequency = 5;
  r = DisplayModeFromSettings(s);
  EXPECT_EQ(r.depth, 16);
  EXPECT_EQ(r.width, 1600);
  EXPECT_EQ(r.height, 1200);
  EXPECT_EQ(r.frequency, 120);
  s.color_depth = 0;
  s.resolution = -1;
  s.frequency = 0;
  EXPECT_FALSE(DisplayModeFromSettings(s).Changes());
}

}  // namespace
}  // namespace zorvex
