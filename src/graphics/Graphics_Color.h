// Colour arithmetic: script colours are 0x00BBGGRR (red in the low byte), the device takes
// 0xAARRGGBB.
#pragma once

#include <cstdint>

namespace zorvex {

// Alpha byte = round(clamp(alpha x 255, 0, 255)).
uint32_t AlphaByte(double alpha);
uint32_t ColorToDevice(int32_t color, double alpha);
inline uint32_t ColorToDeviceOpaque(int32_t color) {
  uint32_t c = static_cast<uint32_t>(color);
  return 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
// Back to 0x00BBGGRR; the alpha byte is dropped.
int32_t DeviceToColor(uint32_t device);

// r + g x 256 + b x 65536 without clamping, so an out-of-range component spills over.
int64_t MakeColorRgb(int64_t r, int64_t g, int64_t b);
// h, s, v are bytes 0..255.
int32_t MakeColorHsv(int32_t h, int32_t s, int32_t v);
int32_t ColorHue(int32_t color);
int32_t ColorSaturation(int32_t color);
int32_t ColorValue(int32_t color);
// Per channel round((1 - amount) x a + amount x b).
int32_t MergeColor(int32_t a, int32_t b, double amount);

}  // namespace zorvex
