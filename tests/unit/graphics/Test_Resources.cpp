#include "Test_Resources.h"

#include <array>
#include <map>

#include <gtest/gtest.h>

namespace zorvex::testing {

RValue CallFunction(CGame& game, const char* name, const std::vector<RValue>& args,
                    CInstanceCore* self) {
  int32_t id = game.functions.Find(name);
  EXPECT_GE(id, 0) << name;
  if (id < 0) return RValue();
  const FunctionEntry* e = game.functions.Entry(id);
  EXPECT_EQ(e->argc, static_cast<int32_t>(args.size())) << name;
  RValue argv[16];
  for (size_t i = 0; i < args.size() && i < 16; ++i)
    argv[i] = args[i];
  RValue result;
  e->handler(game, self, self, static_cast<int>(args.size()), argv, result);
  return result;
}

void AttachResources(CGame& game) {
  ITextureMaker* maker = &game.graphics.resource_textures;
  game.resources.backgrounds.SetTextureMaker(maker);
  game.resources.sprites.SetTextureMaker(maker);
  game.resources.fonts.SetTextureMaker(maker);
}

namespace {
CBitmap32 Image(int32_t w, int32_t h, const std::vector<uint32_t>& pixels) {
  CBitmap32 img(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      img.SetPixel(x, y, pixels[static_cast<size_t>(y) * w + x]);
  return img;
}
}  // namespace

int32_t AddTestSprite(CGame& game, int32_t w, int32_t h,
                      const std::vector<std::vector<uint32_t>>& frames, int32_t xoffset,
                      int32_t yoffset) {
  auto s = std::make_unique<CSprite>();
  s->width = w;
  s->height = h;
  s->xoffset = xoffset;
  s->yoffset = yoffset;
  s->transparent = false;
  for (const auto& f : frames)
    s->frames.push_back(Image(w, h, f));
  s->MakeTextures();
  return game.resources.sprites.Append(std::move(s), "spr");
}

int32_t AddTestBackground(CGame& game, int32_t w, int32_t h, const std::vector<uint32_t>& pixels) {
  auto b = std::make_unique<CBackground>();
  b->width = w;
  b->height = h;
  b->has_image = true;
  b->image = Image(w, h, pixels);
  b->MakeTexture();
  return game.resources.backgrounds.Append(std::move(b), "back");
}

CFont MiniFont() {
  using G = std::array<const char*, 5>;
  const std::map<char, G> glyphs = {
      {'A', G{".#.", "#.#", "###", "#.#", "#.#"}}, {'B', G{"##.", "#.#", "##.", "#.#", "##."}},
      {'C', G{".##", "#..", "#..", "#..", ".##"}}, {'D', G{"##.", "#.#", "#.#", "#.#", "##."}},
      {'E', G{"###", "#..", "##.", "#..", "###"}}, {'F', G{"###", "#..", "##.", "#..", "#.."}},
      {'G', G{".##", "#..", "#.#", "#.#", ".##"}}, {'H', G{"#.#", "#.#", "###", "#.#", "#.#"}},
      {'I', G{"###", ".#.", ".#.", ".#.", "###"}}, {'K', G{"#.#", "#.#", "##.", "#.#", "#.#"}},
      {'L', G{"#..", "#..", "#..", "#..", "###"}}, {'M', G{"#.#", "###", "###", "#.#", "#.#"}},
      {'N', G{"##.", "#.#", "#.#", "#.#", "#.#"}}, {'O', G{"###", "#.#", "#.#", "#.#", "###"}},
      {'P', G{"##.", "#.#", "##.", "#..", "#.."}}, {'R', G{"##.", "#.#", "##.", "#.#", "#.#"}},
      {'S', G{".##", "#..", ".#.", "..#", "##."}}, {'T', G{"###", ".#.", ".#.", ".#.", ".#."}},
      {'U', G{"#.#", "#.#", "#.#", "#.#", "###"}}, {'W', G{"#.#", "#.#", "#.#", "###", "#.#"}},
      {'X', G{"#.#", "#.#", ".#.", "#.#", "#.#"}}, {'Y', G{"#.#", "#.#", ".#.", ".#.", ".#."}},
      {'0', G{"###", "#.#", "#.#", "#.#", "###"}}, {'1', G{".#.", "##.", ".#.", ".#.", "###"}},
      {'2', G{"##.", "..#", ".#.", "#..", "###"}}, {'5', G{"###", "#..", "##.", "..#", "##."}},
      {'#', G{"#.#", "###", "#.#", "###", "#.#"}}, {'-', G{"...", "...", "###", "...", "..."}},
      {'.', G{"...", "...", "...", "...", ".#."}},
  };

  CFont f;
  f.name = "Mini";
  f.size = 5;
  f.first = 32;
  f.last = 90;
  f.sheet_width = (f.last - f.first + 1) * 4;
  f.sheet_height = kMiniLineHeight;
  f.sheet.assign(static_cast<size_t>(f.sheet_width) * f.sheet_height, 0);
  for (int32_t c = f.first; c <= f.last; ++c) {
    CGlyph& g = f.glyphs[static_cast<size_t>(c)];
    g.x = (c - f.first) * 4;
    g.y = 0;
    g.width = 3;
    g.height = kMiniLineHeight;
    g.advance = c == ' ' ? kMiniSpace : kMiniAdvance;
    g.offset = 0;
    auto it = glyphs.find(static_cast<char>(c));
    if (it == glyphs.end()) continue;
    for (int32_t y = 0; y < 5; ++y)
      for (int32_t x = 0; x < 3; ++x)
        if (it->second[static_cast<size_t>(y)][x] == '#')
          f.sheet[static_cast<size_t>(y) * f.sheet_width + g.x + x] = 255;
  }
  return f;
}

int32_t AddMiniFont(CGame& game) {
  auto f = std::make_unique<CFont>(MiniFont());
  return game.resources.fonts.Append(std::move(f), "mini");
}

}  // namespace zorvex::testing
