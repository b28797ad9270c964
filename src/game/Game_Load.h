// The start-up spine: finding and reading the game file, the section walk behind the loading
// window, the preparation sequence and the shutdown order. Later subsystems plug into its tables.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "runner/Runner_Format.h"

namespace zorvex {

class CGame;
class CStream;

// The caption of every load and start-up message box.
constexpr const char* kApplicationTitle = "Zorvex Runner";

// A section reader gets the game block positioned at its section, discards what it held
// before, reads exactly its section (its version first) and returns false on a wrong version or
// a record that fails. A read past the end throws StreamReadError.
using SectionReader = bool (*)(CGame& game, CStream& stream);

struct SectionEntry {
  SectionId id;
  int32_t progress;       // shown before the section is read
  const char* step_text;  // shown with it (the label appears in debug mode)
  SectionReader reader;   // nullptr: nobody reads this section yet, so the load fails
};

// The fourteen sections in stored order (src/game/Game_Sections.cpp): the one place where
// section readers are plugged in.
std::span<const SectionEntry> SectionTable();

// A preparation step runs once, after every section is read; nullptr steps are not there yet
// and are skipped.
using PreparationStep = bool (*)(CGame& game);

struct PreparationEntry {
  int32_t progress;  // -1: no progress shown
  const char* step_text;
  PreparationStep step;
  const char* failure_message;  // nullptr: the step shows its own
};

std::span<const PreparationEntry> PreparationTable();

using ShutdownStep = void (*)(CGame& game);
struct ShutdownEntry {
  const char* what;
  ShutdownStep step;  // nullptr: nothing of that kind exists yet
};
std::span<const ShutdownEntry> ShutdownTable();

// The first timer tick's work: open, read, prepare and run. False when loading or preparing
// failed (its message has been shown).
bool LoadAndRunGame(CGame& game);
// Reads the file named by the options (or the runner's own executable) and everything in it.
bool OpenGameFile(CGame& game);
// The same from the file's bytes.
bool ReadGameFile(CGame& game, std::vector<uint8_t> bytes);
bool ReadGameHeader(CGame& game, CStream& file);
bool ReadGameBlock(CGame& game, CStream& block);
bool PrepareGame(CGame& game);
// The display mode, the window set-up from the settings, the device (640 x 480 back-buffer
// area), texture filtering, the textures of every background, sprite and font, and the first
// frame (src/game/Game_Graphics.cpp). False, its message shown, when the player declines the
// colour-mode question or the device cannot be made.
bool PrepareGraphics(CGame& game);
// PrepareGraphics's first steps: the display mode the settings ask for, and the question when
// the desktop's depth is neither 16 nor 32 bits. False when the player declines.
bool PrepareDisplayMode(CGame& game, int32_t desktop_depth);
void ApplyProcessPriority(CGame& game);
void ShutDownGame(CGame& game);

void SetUpLoadForm(CGame& game, bool show_step_text);
void ShowLoadProgress(CGame& game, int32_t percent, const std::string& step_text);
void CloseLoadForm(CGame& game);

// The simple message box with the application's title.
void ShowStartupMessage(CGame& game, const std::string& text);

// Runs the whole program for parsed options; the process's exit status.
int RunRunner(CGame& game);

}  // namespace zorvex
