#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../resources/Resource_Test_Util.h"
#include "sound/Sound_Main.h"

namespace zorvex {
namespace {

CSound Sample() {
  CSound s;
  s.kind = CSound::kMultimedia;
  s.file_type = ".mid";
  s.file_name = "theme.mid";
  s.has_data = true;
  s.data = {'M', 'T', 'h', 'd', 0, 1, 2};
  s.effects = 64 | 2;
  s.volume = 0.25;
  s.pan = -0.5;
  s.preload = false;
  return s;
}

TEST(SoundRecord, RoundTripAndVersions) {
  CSoundTable t;
  t.Append(std::make_unique<CSound>(Sample()), "snd_theme");
  t.Append(nullptr, "");
  auto nodata = std::make_unique<CSound>();
  nodata->kind = 0;
  t.Append(std::move(nodata), "snd_silent");
  CStream s;
  t.WriteSection(s);
  s.Seek(0);
  CSoundTable back;
  ASSERT_TRUE(back.ReadSection(s));
  EXPECT_TRUE(s.AtEnd());
  EXPECT_EQ(*back.Get(0), Sample());
  EXPECT_FALSE(back.Exists(1));
  EXPECT_EQ(back.Get(2)->kind, 0);
  EXPECT_FALSE(back.Get(2)->has_data);
  EXPECT_EQ(back.Name(2), "snd_silent");

  CStream list(s.Bytes());
  list.WriteInt(401);
  list.Seek(0);
  EXPECT_FALSE(back.ReadSection(list));
  CStream record(s.Bytes());
  record.Seek(4 + 4 + 4 + 4 + 9);  // the first record's version
  EXPECT_EQ(record.ReadInt(), 600);
  record.Seek(record.Position() - 4);
  record.WriteInt(601);
  record.Seek(0);
  EXPECT_FALSE(back.ReadSection(record));
}

TEST(SoundFiles, DataGoesToAFreshTemporaryFileAndIsDropped) {
  testing::TempDir dir;
  CSoundTable t;
  t.temp_directory = dir.Path();
  t.Append(std::make_unique<CSound>(Sample()), "snd");
  std::ofstream(dir.File("a0.mid")) << "taken";
  ASSERT_TRUE(t.WriteTempFile(0));
  const CSound& s = *t.Get(0);
  EXPECT_EQ(s.temp_file, dir.File("a1.mid"));
  EXPECT_FALSE(s.has_data);
  EXPECT_TRUE(s.data.empty());
  std::vector<uint8_t> written;
  std::ifstream in(s.temp_file, std::ios::binary);
  written.assign(std::istreambuf_iterator<char>(in), {});
  EXPECT_EQ(written, Sample().data);
  EXPECT_FALSE(t.WriteTempFile(0));  // nothing left to write
  EXPECT_FALSE(t.WriteTempFile(5));
}

TEST(SoundFiles, FileTypesThatLeadOutOfTheTemporaryDirectoryAreNotUsed) {
  CSound s;
  s.file_type = ".wav";
  EXPECT_EQ(s.TempFileSuffix(), ".wav");
  for (const char* bad : {"/../../x", "\\..\\x", "..", "a/b"}) {
    s.file_type = bad;
    EXPECT_EQ(s.TempFileSuffix(), "") << bad;
  }
}

TEST(SoundFiles, AddAndReplaceFromFiles) {
  testing::TempDir dir;
  std::ofstream(dir.File("Boom.WAV"), std::ios::binary) << "RIFF";
  CSoundTable t;
  EXPECT_EQ(t.AddFromFile(dir.File("missing.wav"), 0, true), -1);
  EXPECT_EQ(t.Count(), 0);
  ASSERT_EQ(t.AddFromFile(dir.File("boom.wav"), 2, false), 0);  // found without regard to case
  const CSound& s = *t.Get(0);
  EXPECT_EQ(t.Name(0), "__newsound0");
  EXPECT_EQ(s.file_type, ".WAV");
  EXPECT_EQ(s.file_name, "Boom.WAV");
  EXPECT_EQ(s.kind, 2);
  EXPECT_FALSE(s.preload);
  EXPECT_EQ(s.data, (std::vector<uint8_t>{'R', 'I', 'F', 'F'}));
  EXPECT_FALSE(t.ReplaceFromFile(0, dir.File("missing.wav"), 1, true));
  EXPECT_EQ(t.Get(0)->kind, 2);  // a failed replacement changes nothing
  EXPECT_FALSE(t.ReplaceFromFile(3, dir.File("Boom.WAV"), 1, true));
}

}  // namespace
}  // namespace zorvex
