#include "resources/Sprite_Class.h"

#include <gtest/gtest.h>

#include "Resource_Test_Util.h"

namespace zorvex {
namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

// A w x h frame, transparent except for the listed pixels.
CBitmap32 Frame(int32_t w, int32_t h, std::initializer_list<std::pair<int, int>> opaque) {
  CBitmap32 b(w, h, 0x00FFFFFFu);
  for (auto [x, y] : opaque)
    b.SetPixel(x, y, kOpaque | 0x123456);
  return b;
}

CSprite Sprite(int32_t w, int32_t h, std::vector<CBitmap32> frames, int32_t xo = 0,
               int32_t yo = 0) {
  CSprite s;
  s.width = w;
  s.height = h;
  s.xoffset = xo;
  s.yoffset = yo;
  s.frames = std::move(frames);
  s.ComputeBBox();
  s.BuildMasks();
  return s;
}

void ExpectSameSprite(const CSprite& a, const CSprite& b) {
  EXPECT_EQ(a.bbox_mode, b.bbox_mode);
  EXPECT_EQ(a.bbox_left, b.bbox_left);
  EXPECT_EQ(a.bbox_top, b.bbox_top);
  EXPECT_EQ(a.bbox_right, b.bbox_right);
  EXPECT_EQ(a.bbox_bottom, b.bbox_bottom);
  EXPECT_EQ(a.frames, b.frames);
  EXPECT_EQ(a.width, b.width);
  EXPECT_EQ(a.height, b.height);
  EXPECT_EQ(a.xoffset, b.xoffset);
  EXPECT_EQ(a.yoffset, b.yoffset);
  EXPECT_EQ(a.precise, b.precise);
  EXPECT_EQ(a.transparent, b.transparent);
  EXPECT_EQ(a.smooth, b.smooth);
  EXPECT_EQ(a.preload, b.preload);
  EXPECT_EQ(a.masks_built(), b.masks_built());
}

TEST(SpriteRecord, RoundTripKeepsEveryFieldAndTheStoredBoxUnchanged) {
  CSprite s = Sprite(3, 2, {Frame(3, 2, {{1, 1}}), Frame(3, 2, {{0, 0}, {2, 1}})}, -4, 7);
  s.bbox_mode = 2;
  s.bbox_left = 9;  // not what the pixels say: stored boxes are used as they are
  s.bbox_top = 8;
  s.bbox_right = -1;
  s.bbox_bottom = 5;
  s.smooth = true;
  s.preload = false;
  CStream out;
  s.WriteTo(out);
  out.Seek(0);
  CSprite back;
  ASSERT_TRUE(back.ReadFrom(out));
  EXPECT_TRUE(out.AtEnd());
  ExpectSameSprite(back, s);
  EXPECT_TRUE(back.MaskAt(0, 1, 1));
  EXPECT_FALSE(back.MaskAt(0, 0, 0));
  EXPECT_TRUE(back.MaskAt(1, 2, 1));
  EXPECT_EQ(back.textures.Ids(), (std::vector<int32_t>{-1, -1}));
}

TEST(SpriteRecord, BoxIsStoredLeftRightBottomTop) {
  CSprite s;
  s.bbox_left = 1;
  s.bbox_top = 2;
  s.bbox_right = 3;
  s.bbox_bottom = 4;
  CStream out;
  s.WriteTo(out);
  out.Seek(12);
  EXPECT_EQ(out.ReadInt(), 1);
  EXPECT_EQ(out.ReadInt(), 3);
  EXPECT_EQ(out.ReadInt(), 4);
  EXPECT_EQ(out.ReadInt(), 2);
}

// The record of a sprite with one 2 x 2 frame, with room to spoil single fields.
CStream SpriteRecord(int32_t version, int32_t w, int32_t h, int32_t frames, int32_t frame_w,
                     int32_t image_version = 540) {
  CStream s;
  s.WriteInt(version);
  s.WriteInt(w);
  s.WriteInt(h);
  for (int i = 0; i < 4; ++i)
    s.WriteInt(0);
  s.WriteBool(true);
  s.WriteBool(false);
  s.WriteBool(true);
  s.WriteInt(0);
  s.WriteBool(true);
  s.WriteInt(0);
  s.WriteInt(0);
  s.WriteInt(frames);
  for (int i = 0; i < frames && i < 4; ++i) {
    CBitmap32 f(frame_w, 2, kOpaque);
    CStream img;
    f.WriteTo(img);
    img.Seek(0);
    img.WriteInt(image_version);
    s.WriteBytes(img.Data(), img.Size());
  }
  s.Seek(0);
  return s;
}

TEST(SpriteRecord, RefusesWhatCannotBeRight) {
  CSprite s;
  CStream good = SpriteRecord(542, 2, 2, 1, 2);
  EXPECT_TRUE(s.ReadFrom(good));
  CStream version = SpriteRecord(541, 2, 2, 1, 2);
  EXPECT_FALSE(s.ReadFrom(version));
  CStream other_size = SpriteRecord(542, 2, 2, 1, 3);
  EXPECT_FALSE(s.ReadFrom(other_size));
  CStream no_pixels = SpriteRecord(542, 2, 2, 1, 2, 539);
  EXPECT_FALSE(s.ReadFrom(no_pixels));
  CStream negative = SpriteRecord(542, -2, 2, 0, 2);
  EXPECT_FALSE(s.ReadFrom(negative));
  CStream negative_count = SpriteRecord(542, 2, 2, -1, 2);
  EXPECT_FALSE(s.ReadFrom(negative_count));
  CStream huge_count = SpriteRecord(542, 2, 2, 1 << 30, 2);
  EXPECT_FALSE(s.ReadFrom(huge_count));
}

TEST(SpriteRecord, TruncatedRecordNeverReadsAsWhole) {
  CStream full = SpriteRecord(542, 2, 2, 2, 2);
  for (size_t cut = 0; cut < full.Size(); ++cut) {
    CStream s(std::vector<uint8_t>(full.Bytes().begin(), full.Bytes().begin() + cut));
    CSprite sprite;
    bool read = true;
    try {
      read = sprite.ReadFrom(s);
    } catch (const StreamReadError&) {
      read = false;
    }
    EXPECT_FALSE(read) << cut;
  }
}

TEST(SpriteBBox, ModesAndTransparency) {
  CSprite s = Sprite(4, 4, {Frame(4, 4, {{1, 1}}), Frame(4, 4, {{2, 3}})});
  EXPECT_EQ((CRect{s.bbox_left, s.bbox_top, s.bbox_right, s.bbox_bottom}), (CRect{1, 1, 2, 3}));
  s.SetBBoxMode(1);
  EXPECT_EQ((CRect{s.bbox_left, s.bbox_top, s.bbox_right, s.bbox_bottom}), (CRect{0, 0, 3, 3}));
  s.SetBBox(5, 5, 5, 5);  // only in manual mode
  EXPECT_EQ(s.bbox_left, 0);
  s.SetBBoxMode(2);
  s.SetBBox(5, 6, 7, 8);
  s.ComputeBBox();
  EXPECT_EQ((CRect{s.bbox_left, s.bbox_top, s.bbox_right, s.bbox_bottom}), (CRect{5, 6, 7, 8}));
  s.SetBBoxMode(3);  // ignored
  EXPECT_EQ(s.bbox_mode, 2);
  s.SetBBoxMode(0);
  s.transparent = false;
  s.ComputeBBox();
  EXPECT_EQ((CRect{s.bbox_left, s.bbox_top, s.bbox_right, s.bbox_bottom}), (CRect{0, 0, 3, 3}));

  CSprite clear = Sprite(4, 3, {Frame(4, 3, {})});
  EXPECT_EQ((CRect{clear.bbox_left, clear.bbox_top, clear.bbox_right, clear.bbox_bottom}),
            (CRect{3, 2, 0, 0}));
  CSprite none = Sprite(4, 3, {});
  EXPECT_EQ((CRect{none.bbox_left, none.bbox_top, none.bbox_right, none.bbox_bottom}),
            (CRect{0, 0, 0, 0}));
}

TEST(SpriteMasks, BuiltOnlyWhenPreciseAndTransparent) {
  CSprite s = Sprite(2, 1, {Frame(2, 1, {{1, 0}})});
  EXPECT_TRUE(s.masks_built());
  EXPECT_FALSE(s.MaskAt(0, 0, 0));
  EXPECT_TRUE(s.MaskAt(0, 1, 0));
  s.SetPrecise(false);
  EXPECT_FALSE(s.masks_built());
  s.SetPrecise(true);
  EXPECT_TRUE(s.masks_built());
  s.transparent = false;
  s.BuildMasks();
  EXPECT_FALSE(s.masks_built());
  // Without masks every query answers true; without frames false.
  CMaskPose pose;
  EXPECT_TRUE(s.MaskHitsPoint(pose, 100, 100));
  EXPECT_TRUE(s.MaskHitsRect(pose, CRect{0, 0, 1, 0}, CRect{5, 5, 6, 6}));
  CSprite empty;
  EXPECT_FALSE(empty.MaskHitsPoint(pose, 0, 0));
  EXPECT_FALSE(empty.MaskHitsLine(pose, CRect{}, 0, 0, 5, 5));
}

// A 4 x 4 sprite with origin (1, 1) whose only opaque pixel is (2, 1), in frame 3 of 4.
CSprite Probe() {
  std::vector<CBitmap32> frames = {Frame(4, 4, {}), Frame(4, 4, {}), Frame(4, 4, {}),
                                   Frame(4, 4, {{2, 1}})};
  return Sprite(4, 4, std::move(frames), 1, 1);
}

TEST(SpriteMaskQueries, PointUnderPositionScaleAngleAndFrame) {
  CSprite s = Probe();
  CMaskPose pose{3, 10, 10, 1, 1, 0};
  EXPECT_TRUE(s.MaskHitsPoint(pose, 11, 10));
  EXPECT_FALSE(s.MaskHitsPoint(pose, 10, 10));
  pose.frame = -1;  // frame 3 of 4
  EXPECT_TRUE(s.MaskHitsPoint(pose, 11, 10));
  pose.frame = 0;
  EXPECT_FALSE(s.MaskHitsPoint(pose, 11, 10));

  // Scale 2: u = floor(dx / 2 + 1), so dx 2 and 3 land on column 2.
  CMaskPose big{3, 10, 10, 2, 2, 0};
  EXPECT_FALSE(s.MaskHitsPoint(big, 11, 10));
  EXPECT_TRUE(s.MaskHitsPoint(big, 12, 10));
  EXPECT_TRUE(s.MaskHitsPoint(big, 13, 11));
  EXPECT_FALSE(s.MaskHitsPoint(big, 14, 10));

  // Turned 90 degrees (counter-clockwise on screen): column 2 of row 1 is now above the origin.
  CMaskPose turned{3, 10, 10, 1, 1, 90};
  EXPECT_TRUE(s.MaskHitsPoint(turned, 10, 9));
  EXPECT_FALSE(s.MaskHitsPoint(turned, 11, 10));
  CMaskPose half{3, 10, 10, 1, 1, 180};
  EXPECT_TRUE(s.MaskHitsPoint(half, 9, 10));
  EXPECT_FALSE(s.MaskHitsPoint(half, 9, 9));
  CMaskPose around{3, 10, 10, 1, 1, -270};  // the same as 90
  EXPECT_TRUE(s.MaskHitsPoint(around, 10, 9));
}

TEST(SpriteMaskQueries, RectangleAndEllipseScanOnlyTheBoxIntersection) {
  CSprite s = Probe();
  CMaskPose pose{3, 10, 10, 1, 1, 0};
  CRect box{9, 9, 12, 12};
  EXPECT_TRUE(s.MaskHitsRect(pose, box, CRect{11, 10, 11, 10}));
  EXPECT_FALSE(s.MaskHitsRect(pose, box, CRect{0, 0, 10, 20}));
  EXPECT_TRUE(s.MaskHitsRect(pose, box, CRect{0, 0, 11, 10}));
  EXPECT_FALSE(s.MaskHitsRect(pose, CRect{9, 9, 10, 12}, CRect{11, 10, 30, 30}));

  // Centre (11, 10), half-axes 1: the pixel is the centre.
  EXPECT_TRUE(s.MaskHitsEllipse(pose, box, CRect{10, 9, 12, 11}));
  // Centre (12, 11): the pixel sits in the rectangle's corner, outside the ellipse.
  EXPECT_TRUE(s.MaskHitsRect(pose, box, CRect{11, 10, 13, 12}));
  EXPECT_FALSE(s.MaskHitsEllipse(pose, box, CRect{11, 10, 13, 12}));
}

TEST(SpriteMaskQueries, LineFollowsTheSegmentAlongItsLongerAxis) {
  CSprite s = Probe();
  CMaskPose pose{3, 10, 10, 1, 1, 0};
  CRect box{9, 9, 12, 12};
  EXPECT_TRUE(s.MaskHitsLine(pose, box, 9, 8, 13, 12));     // passes (11, 10)
  EXPECT_FALSE(s.MaskHitsLine(pose, box, 9, 9, 13, 13));    // passes (11, 11)
  EXPECT_TRUE(s.MaskHitsLine(pose, box, 8, 10, 20, 10));    // horizontal
  EXPECT_FALSE(s.MaskHitsLine(pose, box, 11, 11, 11, 20));  // vertical, below the pixel
  EXPECT_TRUE(s.MaskHitsLine(pose, box, 10, 6, 12, 14));    // steep: x(10) = 11
  EXPECT_FALSE(s.MaskHitsLine(pose, box, 10, 7, 12, 15));   // steep: x(10) = 10.75
}

TEST(SpriteMaskQueries, MasksOverlapNeedsAPixelOfBothShapes) {
  CSprite a = Sprite(4, 4, {Frame(4, 4, {{1, 1}})});
  CSprite b = Sprite(4, 4, {Frame(4, 4, {{0, 0}})});
  CMaskPose pa{0, 10, 10, 1, 1, 0};
  CRect ba{10, 10, 13, 13};
  auto at = [](int x, int y) { return CMaskPose{0, x, y, 1, 1, 0}; };
  auto box = [](int x, int y) { return CRect{x, y, x + 3, y + 3}; };
  EXPECT_TRUE(CSprite::MasksOverlap(a, pa, ba, b, at(11, 11), box(11, 11)));
  EXPECT_FALSE(CSprite::MasksOverlap(a, pa, ba, b, at(12, 11), box(12, 11)));
  // Without masks b covers its whole frame.
  b.SetPrecise(false);
  EXPECT_FALSE(CSprite::MasksOverlap(a, pa, ba, b, at(12, 11), box(12, 11)));
  EXPECT_TRUE(CSprite::MasksOverlap(a, pa, ba, b, at(11, 10), box(11, 10)));
  // Scaled by 2, a's pixel covers (12..13, 12..13).
  CMaskPose pa2{0, 10, 10, 2, 2, 0};
  EXPECT_TRUE(CSprite::MasksOverlap(a, pa2, CRect{10, 10, 17, 17}, b.frames.empty() ? a : b,
                                    at(13, 13), box(13, 13)));
  CSprite none;
  EXPECT_FALSE(CSprite::MasksOverlap(a, pa, ba, none, at(10, 10), box(10, 10)));
}

TEST(SpriteFrames, BitmapsMergeAlphaAndAssign) {
  CRawBitmap raw{2, 1, 24, {0x00FF0000u, 0x0000FF00u}};
  CSprite s;
  s.SetFromBitmap(raw, true, true, false, true, 1, 0, false);
  ASSERT_EQ(s.FrameCount(), 1);
  EXPECT_EQ(s.width, 2);
  EXPECT_EQ(s.frames[0].Pixel(0, 0) >> 24, 0u);  // bottom-left colour made transparent
  EXPECT_EQ(s.frames[0].Pixel(1, 0), 0xFF00FF00u);
  EXPECT_EQ(s.bbox_left, 1);
  EXPECT_TRUE(s.MaskAt(0, 1, 0));

  // A new frame takes the sprite's size.
  s.AddFrameFromBitmap(CRawBitmap{1, 1, 24, {0x000000FFu}}, false);
  ASSERT_EQ(s.FrameCount(), 2);
  EXPECT_EQ(s.frames[1].width(), 2);
  EXPECT_EQ(s.textures.Size(), 2u);

  CSprite other = Sprite(4, 2, {Frame(4, 2, {{3, 1}})});
  s.Merge(other);
  ASSERT_EQ(s.FrameCount(), 3);
  EXPECT_EQ(s.frames[2].width(), 2);
  EXPECT_EQ(s.frames[2].height(), 1);

  // Alpha from brightness: frame i of s takes frame (i mod 1) of the mask sprite.
  CSprite mask;
  mask.SetFromBitmap(CRawBitmap{2, 1, 24, {0x00000000u, 0x00303030u}}, true, false, false, true, 0,
                     0, false);
  int32_t left = s.bbox_left;
  s.AlphaFromSprite(mask);
  EXPECT_EQ(s.frames[0].Pixel(1, 0), 0x3000FF00u);
  EXPECT_EQ(s.frames[0].Pixel(0, 0) >> 24, 0u);
  EXPECT_EQ(s.bbox_left, left);  // the box stays as it was

  CSprite copy;
  copy.Assign(s);
  ExpectSameSprite(copy, s);
  copy.Assign(copy);
  EXPECT_EQ(copy.FrameCount(), 3);
  CRawBitmap frame;
  EXPECT_TRUE(copy.FrameBitmap(1, frame));
  EXPECT_EQ(frame.depth, 24);
  EXPECT_FALSE(copy.FrameBitmap(3, frame));
  EXPECT_EQ(copy.FrameBounds(7), (CRect{}));
  EXPECT_EQ(copy.TextureOf(-1), -1);
}

TEST(SpriteFiles, StripIsCutIntoFrames) {
  testing::TempDir dir;
  std::vector<uint32_t> px(100 * 20);
  const uint32_t colours[4] = {0xFF102030u, 0xFF405060u, 0xFF708090u, 0xFFA0B0C0u};
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 100; ++x)
      px[static_cast<size_t>(y * 100 + x)] = colours[x / 25];
  ASSERT_TRUE(testing::WritePng(dir.File("Strip.png"), 100, 20, px, false));

  CSprite s;
  ASSERT_TRUE(s.LoadFromFile(dir.File("Strip.png"), 4, true, false, false, true, 3, 4, false));
  ASSERT_EQ(s.FrameCount(), 4);
  EXPECT_EQ(s.width, 25);
  EXPECT_EQ(s.height, 20);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(s.frames[static_cast<size_t>(i)].Pixel(24, 19), colours[i]);
  EXPECT_EQ(s.xoffset, 3);
  EXPECT_EQ(s.yoffset, 4);
  EXPECT_EQ((CRect{s.bbox_left, s.bbox_top, s.bbox_right, s.bbox_bottom}), (CRect{0, 0, 24, 19}));

  // Frame count 0 means one frame; the name is matched without regard to case.
  ASSERT_TRUE(s.LoadFromFile(dir.File("STRIP.PNG"), 0, true, true, false, true, 0, 0, false));
  EXPECT_EQ(s.FrameCount(), 1);
  EXPECT_EQ(s.width, 100);

  // More frames than columns: one frame per column.
  ASSERT_TRUE(s.LoadFromFile(dir.File("strip.png"), 1000000000, true, true, false, true, 0, 0,
                             false));
  EXPECT_EQ(s.FrameCount(), 100);
  EXPECT_EQ(s.width, 1);

  // A file that is not there changes nothing.
  EXPECT_FALSE(s.LoadFromFile(dir.File("none.png"), 1, true, true, false, true, 9, 9, false));
  EXPECT_EQ(s.width, 1);
  EXPECT_EQ(s.xoffset, 0);
}

TEST(SpriteFiles, AlphaVariantKeepsThePicturesOwnTransparency) {
  testing::TempDir dir;
  ASSERT_TRUE(testing::WritePng(dir.File("a.png"), 2, 1, {0xFF00FF00u, 0x00FF0000u}, true));
  CSprite s;
  ASSERT_TRUE(s.LoadFromFile(dir.File("a.png"), 1, true, true, false, true, 0, 0, true));
  EXPECT_TRUE(s.MaskAt(0, 0, 0));
  EXPECT_FALSE(s.MaskAt(0, 1, 0));
  EXPECT_EQ((CRect{s.bbox_left, s.bbox_top, s.bbox_right, s.bbox_bottom}), (CRect{0, 0, 0, 0}));
}

TEST(SpriteFiles, GifFramesDrawOverThePreviousOneOnlyAfterDoNotDispose) {
  testing::TempDir dir;
  const uint32_t a = 0xFF0000, b = 0x00FF00, c = 0x0000FF;
  std::vector<testing::GifFrameSpec> frames = {
      {0, 0, 4, 1, {1, 1, 1, 1}, -1, 0, false},
      {0, 0, 2, 1, {2, 2}, -1, 1, false},
      {2, 0, 2, 1, {3, 0}, 0, 0, false},
  };
  ASSERT_TRUE(testing::WriteGif(dir.File("anim.gif"), 4, 1, {0x111111, a, b, c}, frames));
  CSprite s;
  ASSERT_TRUE(s.LoadFromFile(dir.File("anim.GIF"), 99, true, false, false, true, 0, 0, false));
  ASSERT_EQ(s.FrameCount(), 3);
  EXPECT_EQ(s.width, 4);
  auto row = [&](int f) {
    std::vector<uint32_t> r;
    for (int x = 0; x < 4; ++x)
      r.push_back(s.frames[static_cast<size_t>(f)].Pixel(x, 0) & 0xFFFFFF);
    return r;
  };
  EXPECT_EQ(row(0), (std::vector<uint32_t>{a, a, a, a}));
  // After a frame that is disposed the canvas is the key colour again.
  EXPECT_EQ(row(1), (std::vector<uint32_t>{b, b, 0x408000, 0x408000}));
  // The third frame draws over the second (do not dispose); its transparent index leaves
  // the key colour showing through.
  EXPECT_EQ(row(2), (std::vector<uint32_t>{b, b, c, 0x408000}));
}

}  // namespace
}  // namespace zorvex
