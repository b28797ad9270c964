#include "Render_Fixture.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>

namespace zorvex::testing {

void RenderTest::SetUp() {
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
  game_ = std::make_unique<CGame>();
  std::string message;
  ASSERT_TRUE(g().GraphicsStart(nullptr, kWidth, kHeight, false, &message)) << message;
  g().window.region_width = kWidth;
  g().window.region_height = kHeight;
  g().device.SetDrawArea(kWidth, kHeight);
  g().device.SetViewport(0, 0, kWidth, kHeight);
  g().device.SetView2D(0, 0, kWidth, kHeight, 0);
  g().device.SetInterpolation(false);
  g().device.gl()->Clear(0xFF000000u, true, true);
}

void RenderTest::TearDown() {
  game_.reset();
}

CRegionImage RenderTest::Grab() {
  CRegionImage img;
  EXPECT_TRUE(g().GrabRegion(0, 0, kWidth, kHeight, img));
  return img;
}

uint32_t RenderTest::Pixel(int x, int y) {
  CRegionImage img;
  if (!g().GrabRegion(x, y, 1, 1, img)) return 0xDEADBEEF;
  return img.pixels[0] & 0xFFFFFFu;
}

void Fill(CGraphics& g, double x1, double y1, double x2, double y2, uint32_t c) {
  DrawRectangle(g, x1, y1, x2, y2, c, c, c, c, false);
}

bool ReadPngRgb(const std::string& path, CRegionImage& out) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  out.pixels.assign(static_cast<size_t>(out.width) * out.height, 0u);
  if (!png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  return true;
}

void RenderTest::ExpectMatchesReference(const std::string& name, int tolerance) {
  const std::string path = std::string(ZORVEX_TEST_DATA_DIR) + "/render/" + name + ".png";
  CRegionImage actual = Grab();
  const char* update = std::getenv("ZORVEX_UPDATE_RENDER");
  if (update && std::string(update) == "1") {
    ASSERT_TRUE(WritePngRgb(path, actual)) << path;
    return;
  }
  CRegionImage expected;
  ASSERT_TRUE(ReadPngRgb(path, expected)) << "missing reference " << path;
  ASSERT_EQ(expected.width, actual.width);
  ASSERT_EQ(expected.height, actual.height);
  int bad = 0;
  for (int y = 0; y < actual.height; ++y) {
    for (int x = 0; x < actual.width; ++x) {
      uint32_t a = actual.pixels[static_cast<size_t>(y) * actual.width + x];
      uint32_t e = expected.pixels[static_cast<size_t>(y) * actual.width + x];
      for (int shift = 0; shift <= 16; shift += 8) {
        int ca = static_cast<int>((a >> shift) & 0xFF), ce = static_cast<int>((e >> shift) & 0xFF);
        if (std::abs(ca - ce) > tolerance) {
          if (bad++ < 5) {
            ADD_FAILURE() << name << ": pixel (" << x << ", " << y << ") is " << std::hex
                          << (a & 0xFFFFFF) << ", reference " << (e & 0xFFFFFF);
          }
          break;
        }
      }
    }
  }
  EXPECT_EQ(bad, 0) << name << ": " << bad << " pixels differ";
  if (bad) WritePngRgb(std::string(name) + ".actual.png", actual);
}

}  // namespace zorvex::testing
