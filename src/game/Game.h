// Everything one running game owns hangs off one CGame, created per run (and per unit test).
// Lower layers never include this header; they take the parts they need by reference and only
// pass a CGame& through to built-in function handlers.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "code/Code_Error.h"
#include "code/Code_Function.h"
#include "data_structures/Support_Data_Structures.h"
#include "functions/Function_Math_Random.h"
#include "graphics/Graphics_Form.h"
#include "graphics/Graphics_Main.h"
#include "platform/Platform_Clock.h"
#include "platform/Platform_Dialog.h"
#include "platform/Platform_Font.h"
#include "platform/Platform_LoadWindow.h"
#include "platform/Platform_Loop.h"
#include "platform/Platform_Window.h"
#include "resources/Resource_Tables.h"
#include "runner/Option_Main.h"
#include "runner/Runner_CommandLine.h"
#include "runner/Runner_Information.h"
#include "runner/Runner_Load.h"
#include "runner/Support_File.h"
#include "code/Code_Language.h"
#include "game/Game_Draw.h"
#include "game/Game_Lookup.h"
#include "run/IO_Main.h"
#include "run/Run_Main.h"

namespace zorvex {

struct SectionEntry;

class CGame {
 public:
  CGame();
  ~CGame();
  CGame(const CGame&) = delete;
  CGame& operator=(const CGame&) = delete;

  CFunctionTable functions;
  CErrorReporter errors;
  CRandom random;  // the one random sequence of the run
  // System fonts for the default font and fonts made at run time (outlives the graphics).
  CSystemFontRenderer font_renderer;
  CGraphics graphics;
  CDataStructures data_structures;
  CResources resources;

  // Start-up and loading (src/game/Game_Load.h).
  CRunOptions options;
  CSettings settings;
  CGameInformation information;
  CTempDirectory temp;  // created by the start-up, deleted with the game
  bool debug_mode = false;
  int32_t game_id = 0;
  std::array<uint8_t, 16> game_guid{};
  bool running = false;  // the main loop's running flag
  int exit_status = 0;
  // The sections the loader walks; the game's own table unless a test puts another in.
  std::span<const SectionEntry> sections;

  // The window system (src/platform/).
  CSystemClock system_clock;
  CMessageLoop loop{system_clock};
  CWindow window;          // the game window
  CGameForm form{window};  // the game window as the graphics code sees it
  std::unique_ptr<IDialogService> dialogs;
  CLoadForm load_form;
  CLoadWindow load_window;
  // Told of every ShowLoadProgress (tools and tests watch the load with it).
  std::function<void(int32_t percent, const std::string& step_text)> on_load_progress;
  CLanguage language;
  // The language's view of the resources, scripts and extension functions.
  CGameLookup lookup{*this};

  // The running game (src/run/): rooms, instances, events, requests, the main loop's state.
  CRunState run;
  CInputState input;
  CRoomDrawing room_drawing;
};

}  // namespace zorvex
