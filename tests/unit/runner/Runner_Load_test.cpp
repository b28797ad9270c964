#include "runner/Runner_Load.h"

#include <gtest/gtest.h>

#include "runner/Option_Main.h"
#include "runner/Runner_Information.h"
#include "runner/Support_Stream.h"

namespace zorvex {
namespace {

TEST(RunnerLoad, ProgressWidthRoundsHalfToEven) {
  EXPECT_EQ(ProgressWidth(0, 284), 0);
  EXPECT_EQ(ProgressWidth(100, 284), 284);
  EXPECT_EQ(ProgressWidth(49, 284), 139);  // 139.16
  EXPECT_EQ(ProgressWidth(45, 10), 4);     // 4.5 -> 4
  EXPECT_EQ(ProgressWidth(35, 10), 4);     // 3.5 -> 4
  EXPECT_EQ(ProgressWidth(25, 2), 0);      // 0.5 -> 0
  EXPECT_EQ(ProgressWidth(75, 2), 2);      // 1.5 -> 2
  EXPECT_EQ(ProgressWidth(1, 284), 3);     // 2.84
}

TEST(RunnerLoad, DefaultLayout) {
  CSettings s;
  CLoadForm f;
  f.SetUp(s, true, 1024, 768);
  EXPECT_TRUE(f.visible);
  EXPECT_EQ(f.client_width, 332);
  EXPECT_EQ(f.client_height, 92);
  EXPECT_EQ(f.left, (1024 - 332) / 2);
  EXPECT_EQ(f.top, (768 - 92) / 2);
  EXPECT_EQ(f.empty_bar.left, 24);
  EXPECT_EQ(f.empty_bar.top, 60);
  EXPECT_EQ(f.empty_bar.width, 284);
  EXPECT_EQ(f.empty_bar.height, 16);
  EXPECT_EQ(f.full_bar.width, 0);
  EXPECT_EQ(f.label, "Loading");
  EXPECT_TRUE(f.bars_visible);
  EXPECT_TRUE(f.label_visible);
  EXPECT_EQ(f.alpha, 255);
  EXPECT_FALSE(f.transparent);
  f.SetProgress(49, "Loading room order");
  EXPECT_EQ(f.full_bar.width, 139);
  EXPECT_EQ(f.label, "Loading room order");
  f.Close();
  EXPECT_FALSE(f.visible);
}

TEST(RunnerLoad, PicturesDecideTheLayoutAndLeaveTheSettings) {
  CSettings s;
  s.loading_image = std::make_unique<CImage>(200, 100, 0xFF000000);
  s.loading_image->Set(0, 99, 0xFF00FF00);  // bottom-left
  s.loading_transparent = true;
  s.loading_alpha = 254;
  s.progress_back_image = std::make_unique<CImage>(5, 5);
  s.progress_front_image = std::make_unique<CImage>(6, 6);
  s.scale_progress_bar = false;
  CLoadForm f;
  f.SetUp(s, false, 800, 600);
  EXPECT_EQ(f.client_width, 200);
  EXPECT_EQ(f.client_height, 100);
  EXPECT_EQ(f.left, 300);
  EXPECT_EQ(f.top, 250);
  EXPECT_EQ(f.empty_bar.top, 68);
  EXPECT_EQ(f.empty_bar.width, 152);
  EXPECT_TRUE(f.transparent);
  EXPECT_EQ(f.transparent_color, 0xFF00FF00u);
  EXPECT_EQ(f.alpha, 254);
  EXPECT_FALSE(f.label_visible);  // not in debug mode
  EXPECT_FALSE(f.stretch_front);
  ASSERT_NE(f.back_picture, nullptr);
  EXPECT_EQ(f.front_picture->width, 6);
  EXPECT_EQ(s.loading_image, nullptr);
  EXPECT_EQ(s.progress_back_image, nullptr);
  EXPECT_EQ(s.progress_front_image, nullptr);
  // A picture larger than the screen centres at a negative position, truncating toward zero.
  CSettings big;
  big.loading_image = std::make_unique<CImage>(101, 10);
  CLoadForm g;
  g.SetUp(big, false, 100, 100);
  EXPECT_EQ(g.left, 0);  // -1 div 2
}

TEST(RunnerLoad, WithoutProgressBarTheLabelIsHiddenEvenInDebugMode) {
  CSettings s;
  s.show_progress_bar = false;
  CLoadForm f;
  f.SetUp(s, true, 1024, 768);
  EXPECT_FALSE(f.bars_visible);
  EXPECT_FALSE(f.label_visible);
}

TEST(RunnerInformation, ReadsClampsAndCentres) {
  CGameInformation in;
  in.background_color = 0x00FF00;
  in.in_game_window = true;
  in.caption = "Help";
  in.left = -1;
  in.top = 20;
  in.width = 2000;
  in.height = 300;
  in.show_border = false;
  in.sizeable = false;
  in.stay_on_top = true;
  in.modal = true;
  in.text = "{\\rtf1 hi}";
  CStream s;
  WriteGameInformation(s, in);
  s.WriteInt(5);
  s.Seek(0);
  CGameInformation out;
  out.text = "old";
  ASSERT_TRUE(ReadGameInformation(s, out, 1024, 768));
  EXPECT_EQ(s.ReadInt(), 5);
  EXPECT_EQ(out.background_color, 0x00FF00);
  EXPECT_TRUE(out.in_game_window);
  EXPECT_EQ(out.caption, "Help");
  EXPECT_EQ(out.width, 1024);  // clamped before centring
  EXPECT_EQ(out.left, 0);
  EXPECT_EQ(out.top, 20);
  EXPECT_EQ(out.height, 300);
  EXPECT_FALSE(out.show_border);
  EXPECT_FALSE(out.sizeable);
  EXPECT_TRUE(out.stay_on_top);
  EXPECT_TRUE(out.modal);
  EXPECT_EQ(out.text, "{\\rtf1 hi}");

  in.left = 5;
  in.top = -7;
  in.width = 100;
  in.height = 1000;
  CStream t;
  WriteGameInformation(t, in);
  t.Seek(0);
  ASSERT_TRUE(ReadGameInformation(t, out, 1024, 768));
  EXPECT_EQ(out.left, 5);
  EXPECT_EQ(out.height, 768);
  EXPECT_EQ(out.top, 0);

  CStream bad;
  WriteGameInformation(bad, in);
  bad.Seek(0);
  bad.WriteInt(601);
  bad.Seek(0);
  out.text = "old";
  EXPECT_FALSE(ReadGameInformation(bad, out, 1024, 768));
  EXPECT_EQ(out.text, "");  // cleared first
}

}  // namespace
}  // namespace zorvex
