// A game with a real device on Mesa's software renderer (SDL's offscreen driver), a drawing
// area of the given size cleared to black, and helpers to read the result.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "game/Game.h"

namespace zorvex::testing {

class RenderTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 64;
  static constexpr int kHeight = 64;

  void SetUp() override;
  void TearDown() override;

  CGraphics& g() { return game_->graphics; }
  // The drawing area as an image (flushes pending draws).
  CRegionImage Grab();
  // 0xRRGGBB of one pixel of the drawing area.
  uint32_t Pixel(int x, int y);
  // Compares the drawing area with tests/render/NAME.png, per channel within `tolerance`.
  // With ZORVEX_UPDATE_RENDER=1 the reference is written instead.
  void ExpectMatchesReference(const std::string& name, int tolerance = 3);

  std::unique_ptr<CGame> game_;
};

// A filled rectangle in one device colour (white when not given).
void Fill(CGraphics& g, double x1, double y1, double x2, double y2, uint32_t c = 0xFFFFFFFFu);

// Reads an 8-bit RGB or RGBA PNG into 0xFFRRGGBB pixels; false on failure.
bool ReadPngRgb(const std::string& path, CRegionImage& out);

}  // namespace zorvex::testing
