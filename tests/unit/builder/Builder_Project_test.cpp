#include "zorvex-build/Builder_Project.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <fstream>

#include "runner/Support_Image.h"
#include "runner/Support_Stream.h"
#include "zorvex-build/Builder_Game.h"

namespace zorvex {
namespace {

namespace fs = std::filesystem;

std::string Error(const std::string& json) {
  CProject p;
  p.folder = testing::TempDir();
  std::string error;
  EXPECT_FALSE(ReadGameJsonText(json, p, error)) << json;
  return error;
}

TEST(BuilderProject, BadFieldsNameTheFileAndTheField) {
  EXPECT_EQ(Error(R"({"scaling": "big"})"), "game.json: field \"scaling\": expected an integer");
  EXPECT_EQ(Error(R"({"scaling": 1.5})"), "game.json: field \"scaling\": expected an integer");
  EXPECT_EQ(Error(R"({"scaling": 3000000000})"),
            "game.json: field \"scaling\": out of the 32-bit range");
  EXPECT_EQ(Error(R"({"esc_ends_game": 1})"),
            "game.json: field \"esc_ends_game\": expected true or false");
  EXPECT_EQ(Error(R"({"loading_alpha": 256})"),
            "game.json: field \"loading_alpha\": expected 0 to 255");
  EXPECT_EQ(Error(R"({"resolution": 7})"), "game.json: field \"resolution\": expected 0 to 6");
  EXPECT_EQ(Error(R"({"scalling": 100})"), "game.json: field \"scalling\": unknown field");
  EXPECT_EQ(Error(R"({"window_color": "#12345"})"),
            "game.json: field \"window_color\": expected a colour: an integer 0xBBGGRR or a "
            "string \"#RRGGBB\"");
  EXPECT_EQ(Error(R"({"guid": "1234"})"),
            "game.json: field \"guid\": expected 32 hexadecimal digits");
  EXPECT_EQ(Error(R"({"constants": {"A": [1]}})"),
            "game.json: field \"constants.A\": expected a string or a number");
  EXPECT_EQ(Error(R"({"game_information": {"width": "wide"}})"),
            "game.json: field \"game_information.width\": expected an integer");
  EXPECT_EQ(Error(R"({"game_information": {"colour": 1}})"),
            "game.json: field \"game_information.colour\": unknown field");
  EXPECT_EQ(Error(R"({"game_information": {"text": "a", "text_file": "b"}})"),
            "game.json: field \"game_information.text_file\": give either \"text\" or "
            "\"text_file\", not both");
  EXPECT_EQ(Error(R"({"room_order": [0, -1]})"),
            "game.json: field \"room_order[1]\": expected a room name or a room index");
  EXPECT_EQ(Error(R"({"loading_image": "missing.png"})"),
            "game.json: field \"loading_image\": missing.png: cannot be read");
  EXPECT_EQ(Error("[1]"), "game.json: expected a JSON object at the top");
  // A key given twice would lose one of its values.
  EXPECT_EQ(Error(R"({"scaling": 1, "game_information": {"top": 1}, "scaling": 2})"),
            "game.json: field \"scaling\": given twice in one object");
  EXPECT_EQ(Error(R"({"game_information": {"top": 1, "left": 2, "top": 3}, "scaling": 2})"),
            "game.json: field \"top\": given twice in one object");
  EXPECT_EQ(Error("{").rfind("game.json: not valid JSON", 0), 0u);
}

TEST(BuilderProject, FieldsReachTheProject) {
  CProject p;
  p.folder = "/some/where/mygame";
  std::string error;
  ASSERT_TRUE(ReadGameJsonText(R"({
    "game_id": 99, "guid": "{00112233-4455-6677-8899-AABBCCDDEEFF}", "debug_mode": true,
    "window_color": "#102030", "scaling": -1, "show_cursor": false, "f9_screenshot": false,
    "constants": {"B": "x + 1", "A": 2.5},
    "game_information": {"background_color": 255, "caption": "Help", "left": 10,
                         "text": "Line {1}\nLine \\2"},
    "room_order": [3, "start"]
  })",
                               p, error))
      << error;
  EXPECT_EQ(p.game_id, 99);
  EXPECT_EQ(p.guid[0], 0x00);
  EXPECT_EQ(p.guid[15], 0xFF);
  EXPECT_TRUE(p.debug_mode);
  EXPECT_EQ(p.settings.window_color, 0x302010);  // red in the low byte
  EXPECT_EQ(p.settings.scaling, -1);
  EXPECT_FALSE(p.settings.show_cursor);
  EXPECT_FALSE(p.settings.f9_screenshot);
  EXPECT_TRUE(p.settings.esc_ends_game);  // untouched fields keep their defaults
  // Constants keep the order they are written in.
  EXPECT_EQ(p.settings.constant_names, (std::vector<std::string>{"B", "A"}));
  EXPECT_EQ(p.settings.constant_values, (std::vector<std::string>{"x + 1", "2.5"}));
  EXPECT_EQ(p.information.caption, "Help");
  EXPECT_EQ(p.information.left, 10);
  EXPECT_EQ(p.information.text, "{\\rtf1\\ansi Line \\{1\\}\\par\nLine \\\\2}");
  ASSERT_EQ(p.room_order_refs.size(), 2u);
  EXPECT_EQ(p.room_order_refs[0].index, 3);
  EXPECT_EQ(p.room_order_refs[1].name, "start");

  // Without an id, the folder's name gives the same one every time.
  CProject a, b;
  a.folder = b.folder = "/x/samegame";
  ASSERT_TRUE(ReadGameJsonText("{}", a, error));
  ASSERT_TRUE(ReadGameJsonText("{}", b, error));
  EXPECT_EQ(a.game_id, b.game_id);
  EXPECT_EQ(a.guid, b.guid);
}

fs::path Folder(const std::string& name) {
  fs::path p = fs::path(testing::TempDir()) / name;
  fs::remove_all(p);
  fs::create_directories(p);
  return p;
}

TEST(BuilderProject, FoldersWithPicturesAndRoomNames) {
  fs::path dir = Folder("projectpics");
  CImage bmp(2, 1);
  bmp.Set(0, 0, 0xFF112233);
  bmp.Set(1, 0, 0xFF445566);
  std::vector<uint8_t> bytes = EncodeBmp(bmp, false);
  std::ofstream(dir / "back.bmp", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  // A 1 x 2 PNG with a see-through pixel.
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = 1;
  png.height = 2;
  png.format = PNG_FORMAT_BGRA;
  const uint32_t pixels[2] = {0x80FF0000, 0xFF00FF00};
  ASSERT_TRUE(png_image_write_to_file(&png, (dir / "load.png").c_str(), 0, pixels, 0, nullptr));
  std::ofstream(dir / "info.txt") << "Hello";
  fs::create_directories(dir / "rooms");
  std::ofstream(dir / "rooms" / "start.json") << "{}";
  std::ofstream(dir / "game.json") << R"({"loading_image": "load.png",
    "progress_back_image": "back.bmp", "game_information": {"text_file": "info.txt"},
    "room_order": [0]})";
  CProject p;
  std::string error;
  ASSERT_TRUE(ReadProject(dir, p, error)) << error;
  ASSERT_NE(p.settings.loading_image, nullptr);
  EXPECT_EQ(p.settings.loading_image->pixels, (std::vector<uint32_t>{0x80FF0000, 0xFF00FF00}));
  ASSERT_NE(p.settings.progress_back_image, nullptr);
  EXPECT_EQ(p.settings.progress_back_image->pixels, bmp.pixels);
  EXPECT_EQ(p.information.text, "{\\rtf1\\ansi Hello}");
  EXPECT_EQ(p.room_order, std::vector<int32_t>{0});

  std::ofstream(dir / "game.json", std::ios::trunc) << R"({"room_order": ["nowhere"]})";
  EXPECT_FALSE(ReadProject(dir, p, error));
  EXPECT_EQ(error, "game.json: field \"room_order[0]\": no room named \"nowhere\"");
  std::ofstream(dir / "game.json", std::ios::trunc) << R"({"room_order": ["start", 1]})";
  EXPECT_FALSE(ReadProject(dir, p, error));
  EXPECT_EQ(error, "game.json: field \"room_order[1]\": there is no room 1 (the rooms are 0 to 0)");
  std::ofstream(dir / "game.json", std::ios::trunc) << R"({"loading_image": "info.txt"})";
  EXPECT_FALSE(ReadProject(dir, p, error));
  EXPECT_EQ(error, "game.json: field \"loading_image\": info.txt: neither a PNG nor a BMP picture");
  EXPECT_FALSE(ReadProject(dir / "nothing", p, error));
  fs::remove(dir / "game.json");
  EXPECT_FALSE(ReadProject(dir, p, error));
  EXPECT_EQ(error, "game.json: cannot be read");
}

TEST(BuilderGame, FileStartsWithTheFillerAndTheHeader) {
  CProject p;
  p.game_id = 12;
  std::vector<uint8_t> file;
  std::string error;
  ASSERT_TRUE(BuildGameFile(p, file, error));
  ASSERT_GT(file.size(), kGameDataOffset + 12);
  for (size_t i = 0; i < kGameDataOffset; i += 4099)
    EXPECT_EQ(file[i], 0);
  CStream s(file);
  s.Seek(kGameDataOffset);
  EXPECT_EQ(s.ReadInt(), 1234321);
  EXPECT_EQ(s.ReadInt(), 700);
  EXPECT_FALSE(s.ReadBool());
  EXPECT_EQ(s.ReadInt(), 702);
  // Same project, same bytes.
  std::vector<uint8_t> again;
  ASSERT_TRUE(BuildGameFile(p, again, error));
  EXPECT_EQ(file, again);
  ScrambleChoice c = ChooseScramble(p);
  EXPECT_TRUE(SeedIsValid(c.seed));
  EXPECT_GE(c.pad_before, 0);
  EXPECT_LT(c.pad_after, 12);
}

}  // namespace
}  // namespace zorvex
