// The device on the software renderer: batching, grabbing, screenshots, render settings, and
// the built-in functions reached through the function table.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "Render_Fixture.h"
#include "graphics/Graphics_Color.h"

namespace zorvex::testing {
namespace {

using GraphicsDevice = RenderTest;

RValue Call(CGame& game, const char* name, std::vector<double> args) {
  int32_t id = game.functions.Find(name);
  EXPECT_GE(id, 0) << name;
  if (id < 0) return RValue();
  const FunctionEntry* e = game.functions.Entry(id);
  EXPECT_EQ(e->argc, static_cast<int32_t>(args.size())) << name;
  RValue argv[16];
  for (size_t i = 0; i < args.size(); ++i)
    argv[i] = RValue(args[i]);
  RValue result;
  e->handler(game, nullptr, nullptr, static_cast<int>(args.size()), argv, result);
  return result;
}

TEST_F(GraphicsDevice, ConsecutiveDrawsShareOneDrawCall) {
  CGLRenderer& gl = *g().device.gl();
  std::vector<int> ids;
  const uint32_t px[4] = {0xFFFFFFFFu, 0xFF00FF00u, 0xFF0000FFu, 0xFFFF0000u};
  for (int i = 0; i < 4; ++i)
    ids.push_back(TextureFromImage(g(), 2, 2, px));
  gl.Flush();
  gl.ResetStats();
  // Four textures interleaved, untextured rectangles in between: still one call.
  for (int i = 0; i < 400; ++i) {
    TextureDrawExt(g(), ids[static_cast<size_t>(i % 4)], 0xFFFFFF, 1, 1, i % 60, i % 50, 1.5, 1,
                   i * 0.1, 0.5);
    if (i % 50 == 0) Fill(g(), 0, 0, 3, 3);
  }
  gl.Flush();
  EXPECT_EQ(gl.Stats().draw_calls, 1);
  EXPECT_EQ(gl.Stats().vertices, 400 * 4 + 8 * 4);
  // A state change or a switch between lines and triangles splits the batch.
  gl.ResetStats();
  TextureDraw(g(), ids[0], 0, 0);
  DrawSetBlendMode(g(), 1);
  TextureDraw(g(), ids[0], 0, 0);
  DrawLine(g(), 0, 0, 5, 5, 0xFFFFFFFFu, 0xFFFFFFFFu);
  TextureDraw(g(), ids[0], 0, 0);
  DrawSetBlendMode(g(), 1);  // unchanged: no split
  TextureDraw(g(), ids[0], 0, 0);
  gl.Flush();
  EXPECT_EQ(gl.Stats().draw_calls, 4);
  DrawSetBlendMode(g(), 0);
}

TEST_F(GraphicsDevice, GrabbingCutsToTheDrawingArea) {
  Fill(g(), 60, 60, 63, 63, 0xFF102030u);
  CRegionImage img;
  ASSERT_TRUE(g().GrabRegion(-5, 58, 100, 100, img));  // partly outside: the inside part
  EXPECT_EQ(img.width, 64);
  EXPECT_EQ(img.height, 6);
  EXPECT_EQ(img.pixels[static_cast<size_t>(5 * 64 + 63)] & 0xFFFFFFu, 0x102030u);
  EXPECT_FALSE(g().GrabRegion(64, 0, 10, 10, img));  // entirely outside: nothing
  EXPECT_FALSE(g().GrabRegion(0, 0, 0, 10, img));
  EXPECT_EQ(g().GetRegionPixel(61, 62), 0x302010);  // script colour: red in the low byte
  EXPECT_EQ(g().GetRegionPixel(100, 100), 0);
}

TEST_F(GraphicsDevice, ScreenshotIsTheRegionAsRgbPng) {
  Fill(g(), 0, 0, 63, 31, 0xFFFF8000u);
  const std::string path = ::testing::TempDir() + "zorvex_shot.png";
  ASSERT_TRUE(SaveScreenshotPng(g(), path));
  CRegionImage back;
  ASSERT_TRUE(ReadPngRgb(path, back));
  EXPECT_EQ(back.width, 64);
  EXPECT_EQ(back.height, 64);
  EXPECT_EQ(back.pixels[0] & 0xFFFFFFu, 0xFF8000u);
  EXPECT_EQ(back.pixels[static_cast<size_t>(40 * 64)] & 0xFFFFFFu, 0u);
  std::remove(path.c_str());
  EXPECT_FALSE(SaveScreenshotPng(g(), "/nonexistent-dir/x.png"));
}

TEST_F(GraphicsDevice, ClearTouchesOnlyTheViewport) {
  g().device.SetViewport(10, 10, 20, 20);
  DrawClear(g(), 255, 1.0);
  g().device.SetViewport(0, 0, kWidth, kHeight);
  EXPECT_EQ(Pixel(10, 10), 0xFF0000u);
  EXPECT_EQ(Pixel(29, 29), 0xFF0000u);
  EXPECT_EQ(Pixel(30, 29), 0u);
  EXPECT_EQ(Pixel(9, 10), 0u);
}

TEST_F(GraphicsDevice, RenderSettingsSurviveAReset) {
  DrawSetBlendMode(g(), 1);
  g().device.SetTextureBlending(false);
  ASSERT_TRUE(g().ResetDevice());
  g().device.SetViewport(0, 0, kWidth, kHeight);
  g().device.SetView2D(0, 0, kWidth, kHeight, 0);
  // Texture blending off: an untextured primitive takes the white of the missing texture.
  Fill(g(), 0, 0, 3, 3, 0xFF00FF00u);
  EXPECT_EQ(Pixel(1, 1), 0xFFFFFFu);
  g().device.SetTextureBlending(true);
  // Additive blending is still on after the reset: 0x40 + 0x40.
  Fill(g(), 10, 10, 13, 13, 0xFF404040u);
  Fill(g(), 10, 10, 13, 13, 0xFF404040u);
  EXPECT_EQ(Pixel(11, 11), 0x808080u);
  EXPECT_EQ(g().device.settings().blend_dest, kGLBlendOne);
}

TEST_F(GraphicsDevice, CullingRemovesCounterClockwiseTriangles) {
  g().device.SetCulling(true);
  // Clockwise on screen (y down): drawn. The same triangle reversed: culled.
  DrawTriangle(g(), 0, 0, 20, 0, 0, 20, 0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u, false);
  DrawTriangle(g(), 30, 0, 30, 20, 50, 0, 0xFF00FF00u, 0xFF00FF00u, 0xFF00FF00u, false);
  EXPECT_EQ(Pixel(3, 3), 0xFF0000u);
  EXPECT_EQ(Pixel(33, 3), 0u);
  g().device.SetCulling(false);
  DrawTriangle(g(), 30, 0, 30, 20, 50, 0, 0xFF00FF00u, 0xFF00FF00u, 0xFF00FF00u, false);
  EXPECT_EQ(Pixel(33, 3), 0x00FF00u);
}

TEST_F(GraphicsDevice, PrimitiveBuilderLimitsAndCounts) {
  CGLRenderer& gl = *g().device.gl();
  gl.Flush();
  gl.ResetStats();
  PrimitiveBegin(g(), kGLTriangleFan, -1);  // two vertices: no triangle, nothing drawn
  PrimitiveVertex(g(), 0, 0, 0xFFFFFFFFu, 0, 0);
  PrimitiveVertex(g(), 9, 0, 0xFFFFFFFFu, 0, 0);
  PrimitiveEnd(g());
  PrimitiveBegin(g(), 9, -1);  // not a kind
  PrimitiveVertex(g(), 0, 0, 0xFFFFFFFFu, 0, 0);
  PrimitiveEnd(g());
  gl.Flush();
  EXPECT_EQ(gl.Stats().vertices, 0);
  PrimitiveBegin(g(), kGLPointList, -1);
  for (int i = 0; i < 1002; ++i)
    PrimitiveVertex(g(), i % 64, 5, 0xFFFFFFFFu, 0, 0);
  EXPECT_EQ(g().draw.primitive_count, 1001);  // the 1002nd is dropped
  PrimitiveEnd(g());
  gl.Flush();
  EXPECT_EQ(gl.Stats().vertices, 1001);
}

TEST_F(GraphicsDevice, TextureSizeRule) {
  EXPECT_EQ(TextureSizeRule(1, 16384), 1);
  EXPECT_EQ(TextureSizeRule(0, 16384), 1);
  EXPECT_EQ(TextureSizeRule(3, 16384), 4);
  EXPECT_EQ(TextureSizeRule(300, 16384), 512);
  EXPECT_EQ(TextureSizeRule(256, 16384), 256);
  EXPECT_EQ(TextureSizeRule(16384, 16384), 16384);
  EXPECT_EQ(TextureSizeRule(16385, 16384), 0);
  // Not square: 300 x 200 gets 512 x 256, and the functions report image / texture.
  std::vector<uint32_t> px(300 * 200, 0xFFFFFFFFu);
  const int id = TextureFromImage(g(), 300, 200, px.data());
  const double did = id;
  ASSERT_GE(id, 0);
  EXPECT_EQ(g().textures.Get(id)->texture_width, 512);
  EXPECT_EQ(g().textures.Get(id)->texture_height, 256);
  EXPECT_DOUBLE_EQ(Call(*game_, "texture_get_width", {did}).real, 300.0 / 512);
  EXPECT_DOUBLE_EQ(Call(*game_, "texture_get_height", {did}).real, 200.0 / 256);
  EXPECT_DOUBLE_EQ(Call(*game_, "texture_get_width", {did + 1}).real, 1.0);
  EXPECT_EQ(Call(*game_, "texture_exists", {did}).real, 1.0);
  EXPECT_EQ(Call(*game_, "texture_exists", {-1}).real, 0.0);
  // Too large for the device: -1. An alpha sheet is white with the given alpha.
  EXPECT_EQ(TextureCreate(g(), 20000, 4, false), -1);
  const uint8_t alpha[2] = {0, 255};
  int a = TextureFromAlpha(g(), 2, 1, alpha);
  ASSERT_GE(a, 0);
  TextureDraw(g(), a, 20, 20);
  EXPECT_EQ(Pixel(20, 20), 0u);
  EXPECT_EQ(Pixel(21, 20), 0xFFFFFFu);
}

TEST_F(GraphicsDevice, FunctionsThroughTheTable) {
  CGame& game = *game_;
  EXPECT_EQ(Call(game, "make_color_rgb", {256, 0, 0}).real, 256);
  EXPECT_EQ(Call(game, "color_get_red", {256}).real, 0);
  EXPECT_EQ(Call(game, "color_get_green", {256}).real, 1);
  EXPECT_EQ(Call(game, "make_color_hsv", {255, 255, 255}).real, 255);
  EXPECT_EQ(Call(game, "make_color_hsv", {255 + 256 * 3, 255, 255}).real, 255);  // mod 256
  EXPECT_EQ(Call(game, "color_get_hue", {16777215}).real, 0);
  EXPECT_EQ(Call(game, "merge_color", {0, 16777215, 0.5}).real, 8421504);
  Call(game, "draw_set_color", {65535});
  Call(game, "draw_set_alpha", {-3});
  EXPECT_EQ(Call(game, "draw_get_alpha", {}).real, 0);
  EXPECT_EQ(Call(game, "draw_get_color", {}).real, 65535);
  Call(game, "draw_set_alpha", {1});
  Call(game, "draw_set_circle_precision", {30});
  EXPECT_EQ(game.graphics.draw.circle_precision, 28);
  Call(game, "draw_set_circle_precision", {100});
  EXPECT_EQ(game.graphics.draw.circle_precision, 64);
  Call(game, "draw_set_circle_precision", {1});
  EXPECT_EQ(game.graphics.draw.circle_precision, 4);
  Call(game, "draw_set_blend_mode_ext", {7, 8});
  EXPECT_EQ(game.graphics.device.settings().blend_src, 7);
  EXPECT_EQ(game.graphics.device.settings().blend_dest, 8);
  Call(game, "draw_set_blend_mode", {0});
  // Drawing through the table: a yellow rectangle covering 11 pixels.
  Call(game, "draw_rectangle", {0, 0, 10, 10, 0});
  EXPECT_EQ(Pixel(10, 10), 0xFFFF00u);
  EXPECT_EQ(Pixel(11, 10), 0u);
  EXPECT_EQ(Call(game, "draw_getpixel", {5, 5}).real, 65535);
  Call(game, "draw_clear_alpha", {255, 0.5});
  EXPECT_EQ(Pixel(0, 0), 0xFF0000u);  // the back buffer keeps no alpha
  // Window region functions.
  Call(game, "window_set_region_size", {0, 100, 0});
  EXPECT_EQ(Call(game, "window_get_region_width", {}).real, 64);
  EXPECT_EQ(Call(game, "window_get_region_height", {}).real, 100);
  Call(game, "window_set_region_scale", {-1, 0});
  EXPECT_EQ(Call(game, "window_get_region_scale", {}).real, -1);
  Call(game, "set_automatic_draw", {0.4});
  EXPECT_FALSE(game.graphics.automatic_draw);
  EXPECT_GT(Call(game, "display_get_width", {}).real, 0);
  EXPECT_EQ(Call(game, "display_get_colordepth", {}).real, 32);
  // Without a running room there is nothing to draw, but the frame is still presented.
  Call(game, "screen_redraw", {});
  EXPECT_TRUE(game.graphics.device.Exists());
}

}  // namespace
}  // namespace zorvex::testing
