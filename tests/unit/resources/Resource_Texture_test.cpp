// Textures of sprites, backgrounds and fonts over their whole life, with a maker that hands out
// ids and remembers which are alive: every change of pixels remakes them, nothing is freed twice
// and nothing is left behind when a resource is replaced, cleared or deleted.
#include "resources/Resource_Texture.h"

#include <gtest/gtest.h>

#include <set>

#include "resources/Background_Main.h"
#include "resources/Font_Main.h"
#include "resources/Sprite_Main.h"

namespace zorvex {
namespace {

class CountingMaker : public ITextureMaker {
 public:
  int32_t MakeTexture(const CBitmap32& image, bool preload) override {
    if (!image.exists()) return -1;
    preloads += preload ? 1 : 0;
    last_width = image.width();
    return Make();
  }
  int32_t MakeAlphaTexture(int32_t w, int32_t h, const uint8_t*) override {
    last_width = w;
    (void)h;
    return Make();
  }
  void FreeTexture(int32_t id) override {
    EXPECT_EQ(alive.count(id), 1u) << "texture " << id << " freed twice or never made";
    alive.erase(id);
  }

  std::set<int32_t> alive;
  int32_t next = 0;
  int preloads = 0;
  int32_t last_width = 0;

 private:
  int32_t Make() {
    alive.insert(next);
    return next++;
  }
};

CRawBitmap Bitmap(int32_t w, int32_t h, uint32_t colour) {
  return CRawBitmap{w, h, 32, std::vector<uint32_t>(static_cast<size_t>(w) * h, colour)};
}

std::unique_ptr<CSprite> TwoFrameSprite() {
  auto s = std::make_unique<CSprite>();
  s->SetFromBitmap(Bitmap(4, 2, 0xFFFF0000u), true, false, false, true, 0, 0, true);
  s->AddFrameFromBitmap(Bitmap(4, 2, 0xFF00FF00u), true);
  return s;
}

TEST(ResourceTextures, SpritesMakeOneTexturePerFrameOnceAttached) {
  CountingMaker maker;
  CSpriteTable table;
  int32_t id = table.Append(TwoFrameSprite(), "spr");
  // Read or made before the device exists: no textures, every frame -1.
  EXPECT_EQ(table.Get(id)->textures.Ids(), (std::vector<int32_t>{-1, -1}));
  EXPECT_TRUE(maker.alive.empty());
  table.SetTextureMaker(&maker);
  CSprite& s = *table.Get(id);
  EXPECT_EQ(s.textures.Ids(), (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(maker.preloads, 2);
  EXPECT_EQ(s.TextureOf(-1), 1);
  // A new frame remakes all of them and frees the old ones.
  s.AddFrameFromBitmap(Bitmap(4, 2, 0xFF0000FFu), true);
  EXPECT_EQ(s.textures.Ids(), (std::vector<int32_t>{2, 3, 4}));
  EXPECT_EQ(maker.alive, (std::set<int32_t>{2, 3, 4}));
  // Alpha from another sprite changes pixels only; the textures follow.
  s.AlphaFromSprite(s);
  EXPECT_EQ(maker.alive, (std::set<int32_t>{5, 6, 7}));
  // Clearing frees them; a sprite without frames has none.
  s.Clear();
  EXPECT_TRUE(maker.alive.empty());
  EXPECT_EQ(s.TextureOf(0), -1);
  // Still attached after clearing: the next frames get textures at once.
  s.SetFromBitmap(Bitmap(3, 3, 0xFFFFFFFFu), true, false, false, false, 0, 0, true);
  EXPECT_EQ(s.textures.Ids(), (std::vector<int32_t>{8}));
  EXPECT_EQ(maker.preloads, 8);  // 2 + 3 + 3; this one asked for no preloading
}

TEST(ResourceTextures, TableOperationsNeverLeakOrShareTextures) {
  CountingMaker maker;
  CSpriteTable table;
  table.SetTextureMaker(&maker);
  int32_t a = table.Append(TwoFrameSprite(), "a");  // ids 0, 1
  EXPECT_EQ(maker.alive.size(), 2u);
  // A duplicate has textures of its own.
  int32_t b = table.Duplicate(a);
  EXPECT_EQ(maker.alive.size(), 4u);
  EXPECT_NE(table.Get(b)->TextureOf(0), table.Get(a)->TextureOf(0));
  // Assigning replaces the target's textures.
  EXPECT_TRUE(table.AssignSprite(b, a));
  EXPECT_EQ(maker.alive.size(), 4u);
  // An empty slot made by assignment gets textures too.
  int32_t c = table.NewEmpty();
  EXPECT_TRUE(table.Delete(c));
  EXPECT_TRUE(table.AssignSprite(c, a));
  EXPECT_EQ(maker.alive.size(), 6u);
  EXPECT_GE(table.Get(c)->TextureOf(1), 0);
  // Deleting frees.
  EXPECT_TRUE(table.Delete(a));
  EXPECT_EQ(maker.alive.size(), 4u);
  // Merging a sprite into itself keeps one texture per frame.
  table.Get(b)->Merge(*table.Get(b));
  EXPECT_EQ(table.Get(b)->textures.Size(), 4u);
  EXPECT_EQ(maker.alive.size(), 6u);
  // Detaching gives every texture back.
  table.SetTextureMaker(nullptr);
  EXPECT_TRUE(maker.alive.empty());
  EXPECT_EQ(table.Get(b)->TextureOf(0), -1);
  // Reattaching makes them again.
  table.SetTextureMaker(&maker);
  EXPECT_EQ(maker.alive.size(), 6u);
  table.Clear();
  EXPECT_TRUE(maker.alive.empty());
}

TEST(ResourceTextures, BackgroundsRemakeTheirTextureWithEveryImage) {
  CountingMaker maker;
  CBackgroundTable table;
  auto stored = std::make_unique<CBackground>();
  stored->width = 5;
  stored->height = 5;  // a stored background without an image has no texture
  int32_t empty = table.Append(std::move(stored), "empty");
  table.SetTextureMaker(&maker);
  EXPECT_EQ(table.Get(empty)->Texture(), -1);
  EXPECT_TRUE(maker.alive.empty());

  int32_t id = table.NewEmpty();
  CBackground& b = *table.Get(id);
  b.MakeSolid(6, 3, 255, true);
  EXPECT_EQ(b.Texture(), 0);
  EXPECT_EQ(maker.last_width, 6);
  b.MakeGradient(7, 2, 0, 16777215, 0, false);
  EXPECT_EQ(b.Texture(), 1);
  EXPECT_EQ(maker.alive, (std::set<int32_t>{1}));
  b.AlphaFromBackground(b);
  EXPECT_EQ(maker.alive, (std::set<int32_t>{2}));
  int32_t copy = table.Duplicate(id);
  EXPECT_EQ(table.Get(copy)->Texture(), 3);
  EXPECT_TRUE(table.AssignBackground(id, empty));  // the target loses its image and texture
  EXPECT_EQ(b.Texture(), -1);
  EXPECT_EQ(maker.alive, (std::set<int32_t>{3}));
  table.Clear();
  EXPECT_TRUE(maker.alive.empty());
}

TEST(ResourceTextures, OnlyNamedGlyphSheetFontsHaveATexture) {
  CountingMaker maker;
  CFontTable fonts;
  CSpriteTable sprites;
  sprites.Append(TwoFrameSprite(), "digits");
  auto sheet = std::make_unique<CFont>();
  sheet->name = "Hand";
  sheet->sheet_width = 8;
  sheet->sheet_height = 2;
  sheet->sheet.assign(16, 200);
  int32_t f = fonts.Append(std::move(sheet), "hand");
  auto nameless = std::make_unique<CFont>(*fonts.Get(f));
  nameless->name.clear();
  int32_t g = fonts.Append(std::move(nameless), "nameless");
  fonts.SetTextureMaker(&maker);
  EXPECT_EQ(fonts.Get(f)->Texture(), 0);
  EXPECT_EQ(maker.last_width, 8);
  EXPECT_EQ(fonts.Get(g)->Texture(), -1);
  // A sprite font never has one; replacing frees the old font's texture.
  EXPECT_TRUE(fonts.ReplaceWithSpriteFont(f, sprites, 0, 48, false, 1));
  EXPECT_EQ(fonts.Get(f)->Texture(), -1);
  EXPECT_TRUE(maker.alive.empty());
  EXPECT_EQ(fonts.Get(f)->sprite_index, 0);
}

TEST(ResourceTextures, CopiesOwnNothing) {
  CountingMaker maker;
  CTextureIds ids;
  ids.SetMaker(&maker);
  CBitmap32 img(2, 2, 0xFFFFFFFFu);
  ids.AddImage(img, false);
  ids.AddNone();
  {
    CTextureIds copy(ids);  // same maker, no ids
    EXPECT_EQ(copy.maker(), &maker);
    EXPECT_EQ(copy.Size(), 0u);
    copy.AddImage(img, false);
    EXPECT_EQ(maker.alive.size(), 2u);
  }
  EXPECT_EQ(maker.alive.size(), 1u);
  CTextureIds other;
  other = ids;  // frees nothing of ids, keeps its own (absent) maker
  EXPECT_EQ(other.maker(), nullptr);
  EXPECT_EQ(ids.At(0), 0);
  EXPECT_EQ(ids.At(1), -1);
  EXPECT_EQ(ids.At(7), -1);
  ids = CTextureIds();
  EXPECT_TRUE(maker.alive.empty());
  EXPECT_EQ(ids.maker(), &maker);
}

}  // namespace
}  // namespace zorvex
