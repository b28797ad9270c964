#include "resources/Resource_Tables.h"

#include <gtest/gtest.h>

#include <random>

#include "Resource_Test_Util.h"

namespace zorvex {
namespace {

// One of everything, so that every reader has something to read.
void Fill(CResources& r) {
  CExtensionPackage pkg;
  pkg.name = "p";
  pkg.folder_name = "p_dir";
  CExtensionFile file;
  file.file_name = "p.dat";
  file.kind = CExtensionFile::kOther;
  file.content = {1, 2, 3};
  pkg.files = {file};
  r.extensions.packages = {pkg};

  auto snd = std::make_unique<CSound>();
  snd->kind = 0;
  snd->file_type = ".wav";
  snd->has_data = true;
  snd->data = {'R', 'I', 'F', 'F'};
  r.sounds.Append(std::move(snd), "snd");

  auto spr = std::make_unique<CSprite>();
  spr->width = 2;
  spr->height = 2;
  CBitmap32 frame(2, 2, 0);
  frame.SetPixel(1, 1, 0xFF00FF00u);
  spr->frames = {frame};
  spr->ComputeBBox();
  r.sprites.Append(std::move(spr), "spr");
  r.sprites.Append(nullptr, "");

  auto bg = std::make_unique<CBackground>();
  bg->MakeSolid(4, 2, 0x0000FF, false);
  r.backgrounds.Append(std::move(bg), "bg");

  auto path = std::make_unique<CPath>();
  path->points = {{0, 0, 100}, {10, 0, 100}};
  path->Recompute();
  r.paths.Append(std::move(path), "pth");

  auto scr = std::make_unique<CScript>();
  scr->source = "return argument0;";
  r.scripts.Append(std::move(scr), "scr");

  auto font = std::make_unique<CFont>();
  font->name = "Arial";
  font->sheet_width = 2;
  font->sheet_height = 1;
  font->sheet = {0, 255};
  r.fonts.Append(std::move(font), "fnt");

  auto tl = std::make_unique<CTimeLine>();
  tl->AddMoment(3)->AddCodeAction("a = 1;");
  r.time_lines.Append(std::move(tl), "tl");

  auto obj = std::make_unique<CObject>();
  obj->sprite_index = 0;
  obj->EventAt(0, 0)->AddCodeAction("speed = 2;");
  obj->EventAt(4, 0)->AddCodeAction("instance_destroy();");
  r.objects.Append(std::move(obj), "obj");

  auto room = std::make_unique<CRoom>();
  room->backgrounds[0].index = 0;
  room->backgrounds[0].stretch = true;
  room->instances = {{1, 2, 0, 100001, "x = 3;"}};
  CTile t;
  t.background = 0;
  t.id = 10000001;
  room->tiles = {t};
  r.rooms.Append(std::move(room), "rm");
  r.rooms.last_instance_id = 100001;
  r.rooms.last_tile_id = 10000001;

  CDataFile inc;
  inc.file_name = "inc.txt";
  inc.stored = true;
  inc.data_present = true;
  inc.data = {'h', 'i'};
  inc.export_mode = 0;
  r.included_files.files = {inc};

  r.library_init.code = {"", "global.lib = 1;"};
  r.room_order.order = {0};
}

// Every section but the game information, which the loader reads itself.
std::vector<SectionFormat> ResourceSections() {
  std::vector<SectionFormat> out;
  for (const SectionFormat& f : kSectionFormats)
    if (f.id != SectionId::kGameInformation) out.push_back(f);
  return out;
}

CStream WriteAll(const CResources& r) {
  CStream s;
  for (const SectionFormat& info : ResourceSections())
    r.WriteSection(info.id, s);
  s.Seek(0);
  return s;
}

// Reads the sections in order as the loader does; a read past the end counts as a failure.
bool ReadAll(CResources& r, CStream& s) {
  try {
    for (const SectionFormat& info : ResourceSections())
      if (!r.ReadSection(info.id, s)) return false;
    return true;
  } catch (const StreamReadError&) {
    return false;
  }
}

TEST(ResourceSections, EveryTableChecksItsSectionVersion) {
  const int32_t versions[] = {700, 400, 400, 400, 420, 400, 540, 500, 400, 420, 620, 600, 500, 700};
  for (int i = 0; i < kSectionCount; ++i)
    EXPECT_EQ(CResources::TableVersion(static_cast<SectionId>(i)), versions[i]) << i;
}

TEST(ResourceSections, EverySectionWritesWhatItsReaderReads) {
  testing::TempDir temp;
  CResources r;
  Fill(r);
  CStream s = WriteAll(r);
  CResources back;
  back.SetTempDirectory(temp.Path());
  ASSERT_TRUE(ReadAll(back, s));
  EXPECT_TRUE(s.AtEnd());
  EXPECT_EQ(back.extensions.packages, r.extensions.packages);
  EXPECT_EQ(*back.sounds.Get(0), *r.sounds.Get(0));
  EXPECT_EQ(back.sprites.Count(), 2);
  EXPECT_EQ(back.sprites.Get(0)->frames, r.sprites.Get(0)->frames);
  EXPECT_TRUE(back.sprites.Get(0)->MaskAt(0, 1, 1));
  EXPECT_EQ(back.backgrounds.Get(0)->image, r.backgrounds.Get(0)->image);
  EXPECT_EQ(*back.paths.Get(0), *r.paths.Get(0));
  EXPECT_EQ(*back.scripts.Get(0), *r.scripts.Get(0));
  EXPECT_EQ(*back.fonts.Get(0), *r.fonts.Get(0));
  EXPECT_EQ(*back.time_lines.Get(0)->MomentEvent(0), *r.time_lines.Get(0)->MomentEvent(0));
  EXPECT_EQ(*back.objects.Get(0)->EventOf(4, 0), *r.objects.Get(0)->EventOf(4, 0));
  EXPECT_DOUBLE_EQ(back.rooms.Get(0)->backgrounds[0].xscale, 160.0);  // 640 / 4
  EXPECT_EQ(back.rooms.Get(0)->instances, r.rooms.Get(0)->instances);
  EXPECT_EQ(back.rooms.last_tile_id, 10000001);
  EXPECT_EQ(back.included_files.files, r.included_files.files);
  EXPECT_EQ(back.library_init.code, r.library_init.code);
  EXPECT_EQ(back.room_order.order, r.room_order.order);
  EXPECT_TRUE(std::filesystem::exists(temp.File("p_dir/p.dat")));

  std::vector<std::string> missing =
      back.ResolveActionFunctions([](std::string_view) { return -1; });
  EXPECT_TRUE(missing.empty());  // code actions name no function
}

TEST(ResourceSections, EveryVersionIsChecked) {
  CResources r;
  Fill(r);
  for (const SectionFormat& info : ResourceSections()) {
    CStream s;
    r.WriteSection(info.id, s);
    s.Seek(0);
    s.WriteInt(info.version + 1);
    s.Seek(0);
    CResources back;
    back.rooms.Append(std::make_unique<CRoom>(), "rm");
    EXPECT_FALSE(back.ReadSection(info.id, s)) << info.name;
  }
}

TEST(ResourceSections, TruncatedGameDataNeverLoads) {
  CResources r;
  Fill(r);
  CStream full = WriteAll(r);
  for (size_t cut = 0; cut < full.Size(); ++cut) {
    CStream s(std::vector<uint8_t>(full.Bytes().begin(), full.Bytes().begin() + cut));
    CResources back;  // no temporary directory: nothing is unpacked
    EXPECT_FALSE(ReadAll(back, s)) << cut;
  }
}

TEST(ResourceSections, DamagedGameDataIsReadSafely) {
  // Readers must refuse or throw, never crash or run away, whatever the bytes say; the
  // sanitizer build checks the memory side.
  testing::TempDir temp;
  CResources r;
  Fill(r);
  const CStream full = WriteAll(r);
  std::mt19937 rng(12345);
  for (int round = 0; round < 1000; ++round) {
    std::vector<uint8_t> bytes = full.Bytes();
    int flips = 1 + static_cast<int>(rng() % 4);
    for (int k = 0; k < flips; ++k) {
      size_t at = rng() % bytes.size();
      switch (rng() % 3) {
        case 0:
          bytes[at] = static_cast<uint8_t>(rng());
          break;
        case 1:
          bytes[at] ^= static_cast<uint8_t>(1u << (rng() % 8));
          break;
        default:
          bytes[at] = (rng() % 2) ? 0xFF : 0x7F;
          break;
      }
    }
    CStream s(std::move(bytes));
    CResources back;
    if (round % 10 == 0) back.SetTempDirectory(temp.Path());  // unpacking is slow; sometimes
    ReadAll(back, s);
  }
}

}  // namespace
}  // namespace zorvex
