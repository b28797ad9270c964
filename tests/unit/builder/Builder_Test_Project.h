// Project folders written by tests, built into game files and read back with the runner's own
// section readers.
#pragma once

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "game/Game.h"
#include "game/Game_Load.h"
#include "platform/Platform_Dialog.h"
#include "zorvex-build/Builder_Game.h"
#include "zorvex-build/Builder_Project.h"

namespace zorvex {

class CTestProject {
 public:
  // A fresh, empty folder under the test temporary directory, holding one room so that it
  // builds (tests that are about rooms write their own).
  explicit CTestProject(const std::string& name, bool with_room = true)
      : dir_(std::filesystem::path(testing::TempDir()) / ("project_" + name)) {
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    Write("game.json", "{}");
    if (with_room) Write("rooms/room_main.json", "{}");
  }

  const std::filesystem::path& dir() const { return dir_; }

  void Write(const std::string& relative, const std::string& content) {
    std::filesystem::path p = dir_ / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary | std::ios::trunc) << content;
  }
  void Remove(const std::string& relative) { std::filesystem::remove_all(dir_ / relative); }

  // A PNG of 0xAARRGGBB pixels, rows top first.
  void WritePng(const std::string& relative, int32_t w, int32_t h,
                const std::vector<uint32_t>& pixels) {
    std::filesystem::path p = dir_ / relative;
    std::filesystem::create_directories(p.parent_path());
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(w);
    png.height = static_cast<png_uint_32>(h);
    png.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
    ASSERT_TRUE(png_image_write_to_file(&png, p.c_str(), 0, pixels.data(), 0, nullptr));
  }
  void WriteSolidPng(const std::string& relative, int32_t w, int32_t h, uint32_t argb) {
    WritePng(relative, w, h,
             std::vector<uint32_t>(static_cast<size_t>(w) * static_cast<size_t>(h), argb));
  }

  // Reads the project; the error when it fails.
  bool Read(CProject& project, std::string& error) const {
    return ReadProject(dir_, project, error);
  }
  // The message of a project that must not build.
  std::string Error() const {
    CProject p;
    std::string error;
    EXPECT_FALSE(ReadProject(dir_, p, error)) << "the project built";
    return error;
  }

  // Builds the project and loads the file with the game's own section table; null (with a
  // test failure) when any step fails.
  std::unique_ptr<CGame> Load() const {
    CProject project;
    std::string error;
    if (!ReadProject(dir_, project, error)) {
      ADD_FAILURE() << error;
      return nullptr;
    }
    return LoadBuilt(project);
  }

  static std::unique_ptr<CGame> LoadBuilt(const CProject& project) {
    std::vector<uint8_t> file;
    std::string error;
    if (!BuildGameFile(project, file, error)) {
      ADD_FAILURE() << error;
      return nullptr;
    }
    auto game = std::make_unique<CGame>();
    auto dialogs = std::make_unique<CScriptedDialogService>();
    CScriptedDialogService* shown = dialogs.get();
    game->dialogs = std::move(dialogs);
    game->options.headless = true;
    if (!ReadGameFile(*game, std::move(file))) {
      ADD_FAILURE() << "the runner refused the built file: "
                    << (shown->shown.empty() ? std::string("(no message)")
                                             : shown->shown.back().text);
      return nullptr;
    }
    // Library actions whose functions this runner does not have yet load with function -1
    // after their message; every other message is a failure.
    for (const auto& m : shown->shown)
      EXPECT_EQ(m.text.rfind("Failed to locate action function ", 0), 0u) << m.text;
    return game;
  }

 private:
  std::filesystem::path dir_;
};

}  // namespace zorvex
