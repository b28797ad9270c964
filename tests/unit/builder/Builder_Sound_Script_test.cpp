// Sounds and scripts: file bytes, options and texts, through a built file, as the runner reads
// them; and the conversion of project text to the game's Windows-1252 bytes.
#include <gtest/gtest.h>

#include "Builder_Test_Project.h"
#include "zorvex-build/Builder_Text.h"

namespace zorvex {
namespace {

TEST(BuilderSound, FilesAndOptionsReachTheRunner) {
  CTestProject t("sounds");
  const std::string wav("RIFF\x04\x00\x00\x00WAVE\x00\xff", 14);
  t.Write("sounds/snd_hit.wav", wav);
  t.Write("sounds/snd_hit.json",
          R"({"effects": ["echo", "reverb", "equalizer"], "volume": 0.25, "pan": -0.5,
              "preload": false})");
  t.Write("sounds/snd_song.mid", "MThd");
  t.Write("sounds/snd_space.ogg", "OggS");
  t.Write("sounds/snd_space.json", R"({"kind": "3d", "effects": 5})");
  auto game = t.Load();
  ASSERT_TRUE(game);
  const CSoundTable& sounds = game->resources.sounds;
  ASSERT_EQ(sounds.Count(), 3);
  const CSound& hit = *sounds.Get(sounds.Find("snd_hit"));
  EXPECT_EQ(hit.kind, CSound::kNormal);  // wave files are normal sounds unless said otherwise
  EXPECT_EQ(hit.file_type, ".wav");
  EXPECT_EQ(hit.file_name, "snd_hit.wav");
  ASSERT_TRUE(hit.has_data);
  EXPECT_EQ(std::string(hit.data.begin(), hit.data.end()), wav);
  EXPECT_EQ(hit.effects, 2 | 16 | 64);
  EXPECT_EQ(hit.volume, 0.25);
  EXPECT_EQ(hit.pan, -0.5);
  EXPECT_FALSE(hit.preload);
  const CSound& song = *sounds.Get(sounds.Find("snd_song"));
  EXPECT_EQ(song.kind, CSound::kBackground);  // music files play as background music
  EXPECT_EQ(song.volume, 1.0);
  EXPECT_EQ(song.pan, 0.0);
  EXPECT_TRUE(song.preload);
  const CSound& space = *sounds.Get(sounds.Find("snd_space"));
  EXPECT_EQ(space.kind, CSound::k3D);
  EXPECT_EQ(space.effects, 5);
  EXPECT_EQ(space.file_type, ".ogg");

  t.Write("sounds/snd_hit.json", R"({"volume": 1.5})");
  EXPECT_EQ(t.Error(), "sounds/snd_hit.json: field \"volume\": expected 0 to 1");
  t.Write("sounds/snd_hit.json", R"({"effects": ["echo", "wobble"]})");
  EXPECT_EQ(t.Error(),
            "sounds/snd_hit.json: field \"effects[1]\": expected chorus, echo, flanger, gargle, "
            "reverb, compressor or equalizer");
  t.Write("sounds/snd_hit.json", R"({"kind": "loud"})");
  EXPECT_EQ(t.Error(),
            "sounds/snd_hit.json: field \"kind\": expected one of \"normal\" (0), \"background\" "
            "(1), \"3d\" (2), \"multimedia\" (3)");
  t.Remove("sounds/snd_hit.json");
  t.Write("sounds/snd_hit.mp3", "ID3");
  EXPECT_EQ(t.Error(),
            "sounds/snd_hit.wav: a second file for the sound \"snd_hit\" (sounds/snd_hit.mp3)");
  t.Remove("sounds/snd_hit.mp3");
  t.Write("sounds/snd_hit.aiff", "FORM");
  EXPECT_EQ(t.Error(),
            "sounds/snd_hit.aiff: not a sound (sounds are NAME.wav, NAME.ogg, NAME.mid or "
            "NAME.mp3, with an optional NAME.json)");
}

TEST(BuilderScript, TextsAreStoredAsWindows1252) {
  CTestProject t("scripts");
  // UTF-8 in the file; the game holds Windows-1252: é is E9 and € is 80.
  t.Write("scripts/scr_price.gml", "\xEF\xBB\xBFreturn \"caf\xC3\xA9 3\xE2\x82\xAC\";\r\n");
  // A file that is not UTF-8 is taken as Windows-1252 already.
  t.Write("scripts/scr_raw.gml", "s = \"\xE9\";");
  t.Write("scripts/scr_empty.gml", "");
  // Line breaks of any kind are stored as CR LF: compile errors count lines by CR.
  t.Write("scripts/scr_lines.gml", "a = 1;\nb = 2;\r\nc = 3;\rd = 4;\n\n");
  auto game = t.Load();
  ASSERT_TRUE(game);
  const CScriptTable& scripts = game->resources.scripts;
  ASSERT_EQ(scripts.Count(), 4);
  EXPECT_EQ(scripts.Get(scripts.Find("scr_lines"))->SourceText(),
            "a = 1;\r\nb = 2;\r\nc = 3;\r\nd = 4;\r\n\r\n");
  EXPECT_EQ(scripts.Name(0), "scr_empty");
  EXPECT_EQ(scripts.Get(0)->SourceText(), "");
  EXPECT_EQ(scripts.Get(scripts.Find("scr_price"))->SourceText(), "return \"caf\xE9 3\x80\";\r\n");
  EXPECT_EQ(scripts.Get(scripts.Find("scr_raw"))->SourceText(), "s = \"\xE9\";");

  t.Write("scripts/scr_cjk.gml", "a = 1;\nb = \"\xE4\xB8\xAD\";\n");
  EXPECT_EQ(t.Error(),
            "scripts/scr_cjk.gml: line 2: the character U+4E2D (\"\xE4\xB8\xAD\") has no "
            "Windows-1252 form");
  t.Remove("scripts/scr_cjk.gml");
  t.Write("scripts/scr-bad.gml", "");
  EXPECT_EQ(t.Error(),
            "scripts/scr-bad.gml: \"scr-bad\" cannot name a resource: names are letters, digits "
            "and _, and do not begin with a digit");
  t.Remove("scripts/scr-bad.gml");
  t.Write("scripts/scr_x.lua", "");
  EXPECT_EQ(t.Error(), "scripts/scr_x.lua: not a script (scripts are NAME.gml)");
}

TEST(BuilderText, Utf8BecomesWindows1252) {
  std::string out, why;
  EXPECT_TRUE(ToGameText("plain", out, why));
  EXPECT_EQ(out, "plain");
  // The 0x80-0x9F range holds the typographic characters.
  EXPECT_TRUE(ToGameText("\xE2\x80\x9Cq\xE2\x80\x9D \xE2\x80\x94 \xC5\xA0", out, why));
  EXPECT_EQ(out, "\x93q\x94 \x97 \x8A");
  // Latin-1 letters keep their code.
  EXPECT_TRUE(ToGameText("\xC3\xBF\xC2\xA0", out, why));
  EXPECT_EQ(out, "\xFF\xA0");
  // An overlong form is no UTF-8: the bytes are kept.
  EXPECT_TRUE(ToGameText("\xC0\xAF!", out, why));
  EXPECT_EQ(out, "\xC0\xAF!");
  // A C1 control without a Windows-1252 character.
  EXPECT_FALSE(ToGameText("x\xC2\x80", out, why));
  EXPECT_EQ(why, "line 1: the character U+0080 (\"\xC2\x80\") has no Windows-1252 form");
  // A character outside Windows-1252 before a malformed byte: the whole text is bytes.
  EXPECT_TRUE(ToGameText("\xE4\xB8\xAD\xFF", out, why));
  EXPECT_EQ(out, "\xE4\xB8\xAD\xFF");
}

}  // namespace
}  // namespace zorvex
