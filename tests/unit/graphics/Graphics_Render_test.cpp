// Drawing with the real GL code on Mesa's software renderer, checked pixel by pixel against
// values worked out by hand, and against reference pictures in tests/render/.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Render_Fixture.h"
#include "graphics/Graphics_Color.h"

namespace zorvex::testing {
namespace {

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kGreen = 0xFF00FF00u;
constexpr uint32_t kBlue = 0xFF0000FFu;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

using RenderPixels = RenderTest;
using RenderReference = RenderTest;

TEST_F(RenderPixels, RectanglesCoverTheirLastColumnAndRow) {
  Fill(g(), 0, 0, 10, 10, kRed);
  // x and y from 0 to 10.01 cover the pixel centres 0..10: eleven pixels each way.
  EXPECT_EQ(Pixel(0, 0), 0xFF0000u);
  EXPECT_EQ(Pixel(10, 10), 0xFF0000u);
  EXPECT_EQ(Pixel(10, 0), 0xFF0000u);
  EXPECT_EQ(Pixel(11, 5), 0u);
  EXPECT_EQ(Pixel(5, 11), 0u);
  // A fractional edge is kept: up to 30.5 covers the centres up to 30 only.
  Fill(g(), 20, 20, 30.5, 30.5, kWhite);
  EXPECT_EQ(Pixel(30, 30), 0xFFFFFFu);
  EXPECT_EQ(Pixel(31, 30), 0u);
  // Reversed corners are put in order.
  Fill(g(), 50, 50, 40, 40, kGreen);
  EXPECT_EQ(Pixel(40, 40), 0x00FF00u);
  EXPECT_EQ(Pixel(50, 50), 0x00FF00u);
  // An outline touches the four edges and leaves the inside.
  DrawRectangle(g(), 2, 40, 12, 50, kBlue, kBlue, kBlue, kBlue, true);
  EXPECT_EQ(Pixel(2, 45), 0x0000FFu);
  EXPECT_EQ(Pixel(7, 40), 0x0000FFu);
  EXPECT_EQ(Pixel(7, 45), 0u);
}

TEST_F(RenderPixels, PointsAndLinesLandOnPixelCentres) {
  DrawPoint(g(), 5, 7, kWhite);
  EXPECT_EQ(Pixel(5, 7), 0xFFFFFFu);
  EXPECT_EQ(Pixel(4, 7), 0u);
  EXPECT_EQ(Pixel(5, 6), 0u);
  DrawLine(g(), 10, 20, 20, 20, kRed, kRed);
  EXPECT_EQ(Pixel(10, 20), 0xFF0000u);
  EXPECT_EQ(Pixel(19, 20), 0xFF0000u);
  EXPECT_EQ(Pixel(10, 19), 0u);
  EXPECT_EQ(Pixel(10, 21), 0u);
  // A line of width 4 from (30, 40) to (50, 40) covers y 38..41.
  DrawLineWidth(g(), 30, 40, 50, 40, 4, kGreen, kGreen);
  EXPECT_EQ(Pixel(40, 38), 0x00FF00u);
  EXPECT_EQ(Pixel(40, 41), 0x00FF00u);
  EXPECT_EQ(Pixel(40, 37), 0u);
  EXPECT_EQ(Pixel(40, 42), 0u);
  // Zero length draws nothing.
  DrawLineWidth(g(), 5, 50, 5, 50, 10, kBlue, kBlue);
  EXPECT_EQ(Pixel(5, 50), 0u);
}

TEST_F(RenderPixels, DrawColourAlphaFollowsTheAlphaSetting) {
  DrawSetColor(g(), 255);
  DrawSetAlpha(g(), 0.5);
  EXPECT_EQ(g().draw.color, 0x80FF0000u);
  EXPECT_EQ(DrawGetColor(g()), 255);
  DrawSetColor(g(), 65280);
  EXPECT_EQ(g().draw.color, 0x8000FF00u);
  DrawSetAlpha(g(), 7);
  EXPECT_EQ(g().draw.alpha, 1.0);
  EXPECT_EQ(g().draw.color, 0xFF00FF00u);
}

// Source 0xC0 grey at alpha 128/255 over a 0x40 grey back buffer, per mode.
TEST_F(RenderPixels, BlendModesUseTheirFactorPairs) {
  auto channel = [&](int64_t mode, int src, int dest) {
    g().device.gl()->Clear(0xFF404040u, true, false);
    if (mode >= 0) {
      DrawSetBlendMode(g(), mode);
    } else {
      DrawSetBlendModeExt(g(), src, dest);
    }
    Fill(g(), 0, 0, 8, 8, ColorToDevice(0xC0C0C0, 128 / 255.0));
    DrawSetBlendMode(g(), 0);
    return static_cast<int>(Pixel(4, 4) & 0xFF);
  };
  // normal: 192 a + 64 (1 - a) = 96.4 + 31.9
  EXPECT_NEAR(channel(0, 0, 0), 128, 1);
  // add: 192 a + 64
  EXPECT_NEAR(channel(1, 0, 0), 160, 1);
  // max: 192 a + 64 (1 - 192/255)
  EXPECT_NEAR(channel(2, 0, 0), 112, 1);
  // subtract: 64 (1 - 192/255)
  EXPECT_NEAR(channel(3, 0, 0), 16, 1);
  // Unknown modes are normal.
  EXPECT_NEAR(channel(17, 0, 0), 128, 1);
  // The back buffer has no alpha channel: destination alpha reads 1.
  EXPECT_NEAR(channel(-1, 7, 1), 192, 1);  // dest alpha, zero
  EXPECT_NEAR(channel(-1, 8, 2), 64, 1);   // inverse dest alpha, one
  // Saturated source alpha works as a destination factor too: min(a, 1 - 1) = 0.
  EXPECT_NEAR(channel(-1, 2, 11), 192, 1);
  EXPECT_NEAR(channel(-1, 9, 1), 48, 1);   // dest colour: 192 x 64 / 255
  EXPECT_NEAR(channel(-1, 2, 3), 240, 1);  // one, src colour: 192 + 64 x 192/255
  EXPECT_NEAR(channel(-1, 4, 10), 95, 1);  // inv src colour, inv dest colour: 47.4 + 47.9
  // Out-of-range factors are ignored: the previous pair (normal) stays.
  EXPECT_NEAR(channel(-1, 0, 12), 128, 1);
}

TEST_F(RenderPixels, TexturesKeepTheirPixelsAndSizes) {
  // 3 x 2 image: red green blue / white black half-transparent red.
  const uint32_t img[6] = {kRed, kGreen, kBlue, kWhite, 0xFF000000u, 0x80FF0000u};
  int id = TextureFromImage(g(), 3, 2, img);
  ASSERT_GE(id, 0);
  const RTexture* t = g().textures.Get(id);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->texture_width, 4);
  EXPECT_EQ(t->texture_height, 2);
  TextureDraw(g(), id, 10, 10);
  EXPECT_EQ(Pixel(10, 10), 0xFF0000u);
  EXPECT_EQ(Pixel(11, 10), 0x00FF00u);
  EXPECT_EQ(Pixel(12, 10), 0x0000FFu);
  EXPECT_EQ(Pixel(10, 11), 0xFFFFFFu);
  EXPECT_EQ(Pixel(13, 10), 0u);                                // the quad ends with the image
  EXPECT_NEAR(static_cast<int>(Pixel(12, 11) >> 16), 128, 1);  // alpha 128 over black
  // Colour blend and alpha modulate the texels.
  TextureDrawExt(g(), id, 0x0000FF /* red */, 0, 0, 20, 10, 1, 1, 0, 1.0);
  EXPECT_EQ(Pixel(20, 10), 0xFF0000u);
  EXPECT_EQ(Pixel(21, 10), 0u);  // green x red = black
  TextureDrawExt(g(), id, 0xFFFFFF, 0, 0, 30, 10, 1, 1, 0, 0.5);
  EXPECT_NEAR(static_cast<int>(Pixel(30, 10) >> 16), 128, 1);
  // Freed ids are reused and draw nothing.
  TextureFree(g(), id);
  EXPECT_EQ(g().textures.Get(id), nullptr);
  TextureDraw(g(), id, 40, 40);
  EXPECT_EQ(Pixel(40, 40), 0u);
  EXPECT_EQ(TextureFromImage(g(), 3, 2, img), id);
}

TEST_F(RenderPixels, RotationIsCounterClockwiseAndScaleStretches) {
  const uint32_t img[2] = {kRed, kGreen};
  int id = TextureFromImage(g(), 2, 1, img);
  ASSERT_GE(id, 0);
  // 90 degrees: the image's right end points up.
  TextureDrawExt(g(), id, 0xFFFFFF, 0, 0, 20, 20, 1, 1, M_PI / 2, 1.0);
  EXPECT_EQ(Pixel(20, 20), 0xFF0000u);
  EXPECT_EQ(Pixel(20, 19), 0x00FF00u);
  EXPECT_EQ(Pixel(21, 20), 0u);
  // Scale 2 x 3 from (30, 30): columns 30..33, rows 30..32.
  TextureDrawExt(g(), id, 0xFFFFFF, 0, 0, 30, 30, 2, 3, 0, 1.0);
  EXPECT_EQ(Pixel(30, 30), 0xFF0000u);
  EXPECT_EQ(Pixel(31, 32), 0xFF0000u);
  EXPECT_EQ(Pixel(32, 30), 0x00FF00u);
  EXPECT_EQ(Pixel(33, 32), 0x00FF00u);
  EXPECT_EQ(Pixel(34, 30), 0u);
  EXPECT_EQ(Pixel(30, 33), 0u);
  // The origin moves the image: origin (1, 0) puts the green texel at x.
  TextureDrawExt(g(), id, 0xFFFFFF, 1, 0, 50, 50, 1, 1, 0, 1.0);
  EXPECT_EQ(Pixel(49, 50), 0xFF0000u);
  EXPECT_EQ(Pixel(50, 50), 0x00FF00u);
  // A negative x scale mirrors.
  TextureDrawExt(g(), id, 0xFFFFFF, 0, 0, 10, 50, -1, 1, 0, 1.0);
  EXPECT_EQ(Pixel(9, 50), 0xFF0000u);
  EXPECT_EQ(Pixel(8, 50), 0x00FF00u);
}

TEST_F(RenderPixels, DuplicatedEdgeKeepsFilteredEdgesClean) {
  // A 3 x 3 white image in a 4 x 4 texture, stretched 8 times with linear filtering: without
  // the duplicated column and row the last pixels would fade toward the unused texels.
  std::vector<uint32_t> img(9, kWhite);
  int id = TextureFromImage(g(), 3, 3, img.data());
  ASSERT_GE(id, 0);
  g().device.SetInterpolation(true);
  TextureDrawExt(g(), id, 0xFFFFFF, 0, 0, 10, 10, 8, 8, 0, 1.0);
  EXPECT_EQ(Pixel(33, 33), 0xFFFFFFu);
  EXPECT_EQ(Pixel(33, 20), 0xFFFFFFu);
  EXPECT_EQ(Pixel(20, 33), 0xFFFFFFu);
  EXPECT_EQ(Pixel(34, 20), 0u);
}

TEST_F(RenderPixels, PartsGeneralColoursAndTiles) {
  const uint32_t img[4] = {kRed, kGreen, kBlue, kWhite};  // 2 x 2
  int id = TextureFromImage(g(), 2, 2, img);
  ASSERT_GE(id, 0);
  // The bottom-right texel alone, scaled 2.
  TextureDrawPart(g(), id, 0xFFFFFF, 1, 1, 1, 1, 5, 5, 2, 2, 0, 1.0);
  EXPECT_EQ(Pixel(5, 5), 0xFFFFFFu);
  EXPECT_EQ(Pixel(6, 6), 0xFFFFFFu);
  EXPECT_EQ(Pixel(7, 5), 0u);
  // Four corner colours on a white texel.
  TextureDrawGeneral(g(), id, 255, 65280, 16711680, 0, 1.0, 1, 1, 1, 1, 20, 5, 1, 1, 0);
  EXPECT_NE(Pixel(20, 5), 0u);
  // Tiling from x = -7 with 2-pixel tiles: -7 mod 2 = -1, so columns start at -1, 1, 3...;
  // rows from y = 41 over an area starting at 40 start at 39 (the last start before 40), so
  // pixel (0, 40) is the second column and row of a tile.
  TextureDrawTiled(g(), id, true, true, 0, 0, -7, 41, 1, 1, 0, 40, 64, 10, 0xFFFFFF, 1.0);
  EXPECT_EQ(Pixel(0, 40), 0xFFFFFFu);
  EXPECT_EQ(Pixel(1, 40), 0x0000FFu);
  EXPECT_EQ(Pixel(1, 41), 0xFF0000u);
  EXPECT_EQ(Pixel(2, 41), 0x00FF00u);
  EXPECT_EQ(Pixel(0, 39), 0x00FF00u);
  EXPECT_EQ(Pixel(5, 50), 0x0000FFu);  // the last row starts at 49 < 50 and covers 49..50
  EXPECT_EQ(Pixel(5, 51), 0u);
  // Without vertical tiling only one row, at y.
  TextureDrawTiled(g(), id, true, false, 0, 0, 0, 20, 1, 1, 0, 0, 64, 64, 0xFFFFFF, 1.0);
  EXPECT_EQ(Pixel(63, 20), 0x00FF00u);
  EXPECT_EQ(Pixel(10, 22), 0u);
}

// ---- reference pictures (ZORVEX_UPDATE_RENDER=1 rewrites them; look at them before accepting) --

TEST_F(RenderReference, FilledPrimitives) {
  CGraphics& gr = g();
  DrawRectangle(gr, 2, 2, 20, 12, kRed, kGreen, kBlue, kWhite, false);
  DrawTriangle(gr, 24, 2, 40, 12, 26, 14, kRed, kGreen, kBlue, false);
  DrawEllipse(gr, 44, 2, 62, 14, kWhite, kBlue, false);
  DrawSetCirclePrecision(gr, 32);
  DrawEllipse(gr, 2, 18, 20, 36, 0xFFFFFF00u, kRed, false);  // circle radius 9
  DrawRoundRect(gr, 24, 18, 44, 34, 10, 10, kWhite, kGreen, false);
  DrawLineWidth(gr, 48, 20, 62, 34, 3, kRed, kBlue);
  DrawSetColor(gr, 0x00FFFF);  // yellow
  DrawArrow(gr, 4, 44, 28, 44, 8);
  DrawSetColor(gr, 0x808080);
  DrawButton(gr, 34, 38, 60, 50, true);
  DrawHealthbar(gr, 4, 54, 60, 60, 70, 0x202020, 255, 65280, 0, true, true);
  ExpectMatchesReference("primitives_filled");
}

TEST_F(RenderReference, OutlinedPrimitives) {
  CGraphics& gr = g();
  DrawRectangle(gr, 2, 2, 20, 12, kRed, kGreen, kBlue, kWhite, true);
  DrawTriangle(gr, 24, 2, 40, 12, 26, 14, kWhite, kWhite, kWhite, true);
  DrawEllipse(gr, 44, 2, 62, 14, kGreen, kGreen, true);
  DrawEllipse(gr, 2, 18, 20, 36, kWhite, kWhite, true);
  DrawRoundRect(gr, 24, 18, 44, 34, 10, 10, kBlue, kBlue, true);
  DrawLine(gr, 48, 20, 62, 34, kRed, kGreen);
  DrawPoint(gr, 50, 40, kWhite);
  DrawPoint(gr, 52, 42, kWhite);
  DrawSetColor(gr, 0x808080);
  DrawButton(gr, 4, 40, 30, 52, false);
  DrawHealthbar(gr, 4, 56, 60, 62, 25, 0, 255, 65280, 1, false, true);
  ExpectMatchesReference("primitives_outline");
}

TEST_F(RenderReference, ScriptBuiltPrimitives) {
  CGraphics& gr = g();
  const uint32_t img[4] = {kRed, kGreen, kBlue, kWhite};
  int id = TextureFromImage(gr, 2, 2, img);
  ASSERT_GE(id, 0);
  PrimitiveBegin(gr, kGLTriangleStrip, -1);
  for (int i = 0; i < 6; ++i) {
    PrimitiveVertex(gr, 4 + i * 10, i % 2 ? 20 : 4, i % 2 ? kRed : kBlue, 0, 0);
  }
  PrimitiveEnd(gr);
  PrimitiveBegin(gr, kGLTriangleFan, id);
  PrimitiveVertex(gr, 10, 30, kWhite, 0, 0);
  PrimitiveVertex(gr, 30, 30, kWhite, 1, 0);
  PrimitiveVertex(gr, 30, 50, kWhite, 1, 1);
  PrimitiveVertex(gr, 10, 50, kWhite, 0, 1);
  PrimitiveEnd(gr);
  PrimitiveBegin(gr, kGLLineList, -1);
  PrimitiveVertex(gr, 36, 30, kGreen, 0, 0);
  PrimitiveVertex(gr, 60, 40, kGreen, 0, 0);
  PrimitiveVertex(gr, 36, 40, kWhite, 0, 0);
  PrimitiveVertex(gr, 60, 50, kWhite, 0, 0);
  PrimitiveEnd(gr);
  PrimitiveBegin(gr, kGLPointList, -1);
  for (int i = 0; i < 10; ++i)
    PrimitiveVertex(gr, 36 + i * 2, 56, kWhite, 0, 0);
  PrimitiveEnd(gr);
  ExpectMatchesReference("primitives_script");
}

TEST_F(RenderReference, BlendModes) {
  CGraphics& gr = g();
  // Four colour bars, then a translucent white-ish square in each mode across them.
  const uint32_t bars[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF808080u};
  for (int i = 0; i < 4; ++i)
    Fill(gr, 0, i * 16, 63, i * 16 + 15, bars[i]);
  for (int mode = 0; mode < 4; ++mode) {
    DrawSetBlendMode(gr, mode);
    Fill(gr, mode * 16 + 2, 2, mode * 16 + 13, 61, ColorToDevice(0x40C0FF, 0.6));
  }
  DrawSetBlendMode(gr, 0);
  ExpectMatchesReference("blend_modes");
}

TEST_F(RenderReference, TransformedTextures) {
  CGraphics& gr = g();
  // An 8 x 8 arrow-like picture: a red column on the left, a yellow top row, blue elsewhere.
  std::vector<uint32_t> img(64, 0xFF2040C0u);
  for (int y = 0; y < 8; ++y)
    img[static_cast<size_t>(y) * 8] = kRed;
  for (int x = 0; x < 8; ++x)
    img[static_cast<size_t>(x)] = 0xFFFFFF00u;
  img[63] = 0x00000000u;  // a transparent corner
  int id = TextureFromImage(gr, 8, 8, img.data());
  ASSERT_GE(id, 0);
  TextureDraw(gr, id, 2, 2);
  TextureDrawExt(gr, id, 0xFFFFFF, 4, 4, 22, 6, 1, 1, M_PI / 4, 1.0);
  TextureDrawExt(gr, id, 0xFFFFFF, 4, 4, 44, 8, 2, 1, M_PI / 2, 1.0);
  TextureDrawExt(gr, id, 0x00FF00, 0, 0, 2, 20, 1.5, 2.5, 0, 0.7);
  TextureDrawExt(gr, id, 0xFFFFFF, 4, 4, 40, 36, -2, 2, -M_PI / 6, 1.0);
  TextureDrawPart(gr, id, 0xFFFFFF, 0, 0, 4, 4, 2, 50, 3, 3, 0, 1.0);
  TextureDrawGeneral(gr, id, 255, 65280, 16711680, 16777215, 1.0, 2, 2, 6, 6, 20, 48, 2, 2, 0.3);
  ExpectMatchesReference("textures_transformed");
}

TEST_F(RenderReference, RotatedCameraAndFilteredStretch) {
  CGraphics& gr = g();
  std::vector<uint32_t> img(16);
  for (int i = 0; i < 16; ++i)
    img[static_cast<size_t>(i)] = (i + i / 4) % 2 ? kWhite : 0xFF000080u;
  int id = TextureFromImage(gr, 4, 4, img.data());
  ASSERT_GE(id, 0);
  gr.device.SetInterpolation(true);
  TextureDrawExt(gr, id, 0xFFFFFF, 0, 0, 2, 2, 7, 7, 0, 1.0);
  // A view of the room rectangle (0, 0, 64, 64) turned by 30 degrees into the lower right.
  gr.device.SetViewport(32, 32, 32, 32);
  gr.device.SetView2D(0, 0, 64, 64, 30);
  gr.device.SetInterpolation(false);
  Fill(gr, 0, 0, 63, 63, 0xFF303030u);
  DrawRectangle(gr, 8, 8, 40, 24, kRed, kRed, kRed, kRed, false);
  DrawLine(gr, 0, 32, 64, 32, kGreen, kGreen);
  gr.device.SetViewport(0, 0, kWidth, kHeight);
  gr.device.SetView2D(0, 0, kWidth, kHeight, 0);
  ExpectMatchesReference("camera_rotated");
}

}  // namespace
}  // namespace zorvex::testing
