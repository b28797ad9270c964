#include "graphics/Graphics_Color.h"

#include <algorithm>
#include <cmath>

#include "code/Code_Round.h"

namespace zorvex {

uint32_t AlphaByte(double alpha) {
  double a = alpha * 255.0;
  if (!(a > 0.0)) return 0;  // also NaN
  if (a > 255.0) a = 255.0;
  return static_cast<uint32_t>(RoundToInt64(a));
}

uint32_t ColorToDevice(int32_t color, double alpha) {
  uint32_t c = static_cast<uint32_t>(color);
  return AlphaByte(alpha) << 24 | (c & 0xFFu) << 16 | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

int32_t DeviceToColor(uint32_t d) {
  return static_cast<int32_t>((d & 0xFFu) << 16 | (d & 0xFF00u) | ((d >> 16) & 0xFFu));
}

int64_t MakeColorRgb(int64_t r, int64_t g, int64_t b) {
  // Wrapping arithmetic: absurd inputs must not be undefined behaviour.
  uint64_t v = static_cast<uint64_t>(r) + static_cast<uint64_t>(g) * 256u +
               static_cast<uint64_t>(b) * 65536u;
  return static_cast<int64_t>(v);
}

int32_t MakeColorHsv(int32_t h, int32_t s, int32_t v) {
  double hue = h * 360.0 / 255.0;
  if (hue == 360.0) hue = 0.0;
  double sat = s / 255.0, val = v / 255.0;
  double r, g, b;
  if (sat == 0.0) {
    r = g = b = val;
  } else {
    int k = static_cast<int>(std::trunc(hue / 60.0));
    double f = hue / 60.0 - k;
    double p = val * (1.0 - sat);
    double q = val * (1.0 - sat * f);
    double t = val * (1.0 - sat * (1.0 - f));
    switch (k) {
      case 0:
        r = val, g = t, b = p;
        break;
      case 1:
        r = q, g = val, b = p;
        break;
      case 2:
        r = p, g = val, b = t;
        break;
      case 3:
        r = p, g = q, b = val;
        break;
      case 4:
        r = t, g = p, b = val;
        break;
      default:
        r = val, g = p, b = q;
        break;
    }
  }
  auto byte = [](double x) { return static_cast<int32_t>(std::trunc(x * 255.0)); };
  return byte(r) | byte(g) << 8 | byte(b) << 16;
}

namespace {
struct Hsv {
  double h, s, v;
};
Hsv ToHsv(int32_t color) {
  double r = (color & 0xFF) / 255.0, g = ((color >> 8) & 0xFF) / 255.0,
         b = ((color >> 16) & 0xFF) / 255.0;
  double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  double delta = mx - mn;
  double s = mx == 0.0 ? 0.0 : delta / mx;
  double h = 0.0;
  if (s != 0.0) {
    if (r == mx) {
      h = (g - b) * 60.0 / delta;
    } else if (g != mx) {
      h = (r - g) * 60.0 / delta + 240.0;
    } else {
      h = (b - r) * 60.0 / delta + 120.0;
    }
    if (h < 0.0) h += 360.0;
  }
  return {h, s, mx};
}
}  // namespace

int32_t ColorHue(int32_t color) {
  return static_cast<int32_t>(std::trunc(ToHsv(color).h * 255.0 / 360.0));
}
int32_t ColorSaturation(int32_t color) {
  return static_cast<int32_t>(std::trunc(ToHsv(color).s * 255.0));
}
int32_t ColorValue(int32_t color) {
  return static_cast<int32_t>(std::trunc(ToHsv(color).v * 255.0));
}

int32_t MergeColor(int32_t a, int32_t b, double amount) {
  int64_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    double ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    out += RoundToInt64((1.0 - amount) * ca + amount * cb) << shift;
  }
  return static_cast<int32_t>(out);
}

}  // namespace zorvex
