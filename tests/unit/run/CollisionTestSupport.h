// Sprites drawn as text for the collision tests: '#' is an opaque pixel, '.' a see-through one.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "RunTestSupport.h"
#include "resources/Sprite_Class.h"

namespace zorvex::testing {

class CollisionGameTest : public RunGameTest {
 protected:
  // One frame per pattern (rows top first); the box is the automatic one (opaque pixels).
  int32_t Frames(const std::string& name, const std::vector<std::vector<std::string>>& frames,
                 bool precise = true, int32_t xo = 0, int32_t yo = 0) {
    auto s = std::make_unique<CSprite>();
    s->height = static_cast<int32_t>(frames[0].size());
    s->width = static_cast<int32_t>(frames[0][0].size());
    s->xoffset = xo;
    s->yoffset = yo;
    s->precise = precise;
    s->transparent = true;
    for (const auto& rows : frames) {
      CBitmap32 img(s->width, s->height, 0);
      for (int32_t y = 0; y < s->height; ++y)
        for (int32_t x = 0; x < s->width; ++x)
          if (rows[static_cast<size_t>(y)][static_cast<size_t>(x)] == '#')
            img.SetPixel(x, y, 0xFFFF0000u);
      s->frames.push_back(img);
    }
    s->ComputeBBox();
    s->BuildMasks();
    return game.resources.sprites.Append(std::move(s), name);
  }
  int32_t Pattern(const std::string& name, const std::vector<std::string>& rows,
                  bool precise = true, int32_t xo = 0, int32_t yo = 0) {
    return Frames(name, std::vector<std::vector<std::string>>{rows}, precise, xo, yo);
  }

  // A free-standing instance of an object (in no list) at (x, y).
  std::unique_ptr<CInstance> Loose(int32_t object, double x, double y, int32_t id = 100999) {
    auto i = std::make_unique<CInstance>();
    i->Create(game.resources, id, object, x, y);
    return i;
  }
};

}  // namespace zorvex::testing
