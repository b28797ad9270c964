#include "game/Game_Load.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "code/Code_Constant.h"
#include "code/Script_Main.h"
#include "game/Game.h"
#include "game/Game_Graphics.h"
#include "run/Event_Action.h"
#include "run/IO_Main.h"
#include "run/Run_Main.h"
#include "runner/Support_Stream.h"

namespace zorvex {

namespace {

constexpr const char* kCannotReadFile = "Error: Cannot read the game file.";
constexpr const char* kNotAGameFile = "Error: Not a valid game file.";
constexpr const char* kWrongVersion = "Error: Wrong version number.";
constexpr const char* kResourceDataError = "Error: Error in resource data.";
constexpr const char* kFileCorrupted = "Failed to load the game data. File seems corrupted.";
constexpr const char* kUnexpectedError = "Unexpected error occured when running the game.";
constexpr const char* kD3DXFailed = "Error: Failed to initialize D3DX.";
constexpr const char* kColorModeQuestion =
    "This application requires 16-bit or 32-bit color mode. Should I switch to a valid color "
    "mode?";
constexpr const char* kConfirmCaption = "Confirm";

// Only the file-name part of the stored name is used: the game data must not be able to write
// outside the temporary directory.
std::string SupportLibraryFileName(const std::string& stored) {
  size_t cut = stored.find_last_of("/\\");
  std::string name = cut == std::string::npos ? stored : stored.substr(cut + 1);
  if (name.empty() || name == "." || name == "..") name = "D3DX8.dll";
  return name;
}

// The support library's bytes are kept where the game expects them but never loaded: nothing
// of Windows can run here, and the runner does the library's work itself (LoadD3DX).
void LoadSupportLibrary(CGame& game, const std::string& name, const CStream& bytes) {
  if (game.temp.Created()) {
    std::ofstream out(game.temp.Path() + "/" + SupportLibraryFileName(name),
                      std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.Data()),
              static_cast<std::streamsize>(bytes.Size()));
  }
}

bool PrepareSoundsAndGraphics(CGame& game) {
  return PrepareGraphics(game);
}

bool DefineConstants(CGame& game) {
  return DefineGameConstants(game.language, game.settings.constant_names,
                             game.settings.constant_values);
}

bool CompileAllScripts(CGame& game) {
  return CompileScripts(game.language);
}

bool AttachInput(CGame& game) {
  InstallInput(game);
  return true;
}

// Written out before anything else is prepared, so that later steps and the game find them.
bool ExportIncludedFiles(CGame& game) {
  return game.resources.included_files.ExportAtStart(
      [&game](std::string_view message) { game.errors.ReportInContext(message, false); });
}

void RemoveIncludedFiles(CGame& game) {
  game.resources.included_files.RemoveAtEnd();
}

constexpr PreparationEntry kPreparation[] = {
    {50, "Extracting included files", ExportIncludedFiles, "Failed to extract the included files."},
    {54, "Preparing extension pacakges", nullptr, "Failed to prepare extension packages."},
    {56, "Preparing constants", DefineConstants, "Failed to define the constants."},
    {58, "Compiling scripts", CompileAllScripts, "Failed to compile the scripts."},
    {70, "Compiling time line actions", CompileTimeLines,
     "Failed to compile the actions in the time lines."},
    {72, "Compiling object actions", PrepareObjects,
     "Failed to compile the actions in the objects."},
    {80, "Preparing sounds", nullptr, "Failed to prepare the sounds."},
    // On failure the sound system is shut down here once it exists; PrepareGraphics has shown
    // its own message.
    {90, "Preparing graphics", PrepareSoundsAndGraphics, nullptr},
    {-1, "attaching the input handlers", AttachInput, nullptr},
};

constexpr ShutdownEntry kShutdown[] = {
    {"support library", nullptr},  // never loaded, so nothing to unload
    {"graphics device", ShutDownGraphics},
    {"sound system", nullptr},
    {"included files marked for removal", RemoveIncludedFiles},
};

LoadWindowView ViewOf(const CLoadForm& f) {
  auto view_of = [](const std::unique_ptr<CImage>& img) {
    PixelView v;
    if (img) v = PixelView{img->width, img->height, img->pixels.data()};
    return v;
  };
  auto rect_of = [](const LoadRect& r) { return PixelRect{r.left, r.top, r.width, r.height}; };
  LoadWindowView v;
  v.left = f.left;
  v.top = f.top;
  v.width = f.client_width;
  v.height = f.client_height;
  v.picture = view_of(f.picture);
  v.default_color = CLoadForm::kDefaultPictureColor;
  v.bars_visible = f.bars_visible;
  v.empty_bar = rect_of(f.empty_bar);
  v.full_bar = rect_of(f.full_bar);
  v.back_picture = view_of(f.back_picture);
  v.front_picture = view_of(f.front_picture);
  v.stretch_front = f.stretch_front;
  v.label_visible = f.label_visible;
  v.label_rect = rect_of(f.label_rect);
  v.label = f.label;
  v.alpha = f.alpha;
  v.transparent = f.transparent;
  v.transparent_color = f.transparent_color;
  return v;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

std::span<const PreparationEntry> PreparationTable() {
  return kPreparation;
}
std::span<const ShutdownEntry> ShutdownTable() {
  return kShutdown;
}

void ShowStartupMessage(CGame& game, const std::string& text) {
  game.dialogs->ShowMessage(kApplicationTitle, text);
}

void SetUpLoadForm(CGame& game, bool show_step_text) {
  DisplayInfo screen = DesktopDisplay();
  game.load_form.SetUp(game.settings, show_step_text, screen.width, screen.height);
  ShowLoadProgress(game, 0, "Loading");
  if (!game.options.headless) game.load_window.Show(ViewOf(game.load_form));
}

void ShowLoadProgress(CGame& game, int32_t percent, const std::string& step_text) {
  game.load_form.SetProgress(percent, step_text);
  if (game.load_window.IsShown()) game.load_window.Update(ViewOf(game.load_form));
  if (game.on_load_progress) game.on_load_progress(percent, step_text);
  game.loop.ProcessMessages();
}

void CloseLoadForm(CGame& game) {
  game.load_form.Close();
  game.load_window.Hide();
}

bool OpenGameFile(CGame& game) {
  // Without a game file on the command line the game is looked for at the end of the runner's
  // own executable, as it was shipped.
  std::string path = game.options.game_path.empty() ? "/proc/self/exe" : game.options.game_path;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) {
    ShowStartupMessage(game, kCannotReadFile);
    return false;
  }
  return ReadGameFile(game, std::move(bytes));
}

bool ReadGameFile(CGame& game, std::vector<uint8_t> bytes) {
  if (bytes.size() < kGameDataOffset) {
    ShowStartupMessage(game, kNotAGameFile);
    return false;
  }
  CStream file(std::move(bytes));
  file.Seek(kGameDataOffset);
  return ReadGameHeader(game, file);
}

bool ReadGameHeader(CGame& game, CStream& file) {
  if (file.ReadInt() != kGameMagic) {
    ShowStartupMessage(game, kNotAGameFile);
    return false;
  }
  if (file.ReadInt() != kGameVersion) {
    ShowStartupMessage(game, kWrongVersion);
    return false;
  }
  game.debug_mode = file.ReadBool();
  if (!ReadSettings(file, game.settings)) {
    ShowStartupMessage(game, kResourceDataError);
    return false;
  }
  game.errors.settings = {game.settings.show_errors, game.settings.log_errors,
                          game.settings.abort_on_errors};
  game.language.uninitialised_as_zero = game.settings.uninitialised_as_zero;
  SetUpLoadForm(game, game.debug_mode);
  ShowLoadProgress(game, 1, "Reading data");
  std::string library_name = file.ReadString();
  {
    // Inflated all the same, so that a corrupt block fails the load as it always did.
    std::unique_ptr<CStream> library = file.ReadCompressedBlock();
    LoadSupportLibrary(game, library_name, *library);
  }
  if (!game.graphics.LoadD3DX()) {
    ShowStartupMessage(game, kD3DXFailed);
    return false;
  }
  std::unique_ptr<CStream> block = file.ReadCompressedBlock();
  return ReadGameBlock(game, *block);
}

bool ReadGameBlock(CGame& game, CStream& block) {
  int32_t pad_before = block.ReadInt();
  int32_t pad_after = block.ReadInt();
  if (pad_before > 0) block.Skip(static_cast<size_t>(pad_before) * 4);
  int32_t seed = block.ReadInt();
  if (pad_after > 0) block.Skip(static_cast<size_t>(pad_after) * 4);
  // The byte right after the seed fields is stored as it is.
  const int64_t start = static_cast<int64_t>(block.Position()) + 1;
  if (start < static_cast<int64_t>(block.Size()) && !DescrambleBlock(block, seed, start, 0))
    throw StreamReadError("the game block has a seed that no game uses");
  block.ReadInt();  // reserved
  game.game_id = block.ReadInt();
  block.ReadBytes(game.game_guid.data(), game.game_guid.size());
  for (const SectionEntry& section : game.sections) {
    ShowLoadProgress(game, section.progress, section.step_text);
    if (section.reader == nullptr) {
      std::fprintf(stderr, "zorvex-run: this build cannot read the section \"%s\" yet\n",
                   kSectionFormats[static_cast<size_t>(section.id)].name);
      ShowStartupMessage(game, kResourceDataError);
      return false;
    }
    if (!section.reader(game, block)) {
      ShowStartupMessage(game, kResourceDataError);
      return false;
    }
  }
  return true;
}

void ApplyProcessPriority(CGame& game) {
  // Raising the priority needs privileges on Linux; without them the game runs as it is.
  switch (game.settings.process_priority) {
    case 1:
      setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), -5);
      break;
    case 2:
      setpriority(PRIO_PROCESS, 0, -10);
      setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), -15);
      break;
    default:
      break;
  }
}

bool PrepareDisplayMode(CGame& game, int32_t desktop_depth) {
  DisplayModeRequest mode = DisplayModeFromSettings(game.settings);
  bool change = mode.Changes();
  if (mode.depth < 0 && desktop_depth != 16 && desktop_depth != 32) {
    if (!game.dialogs->AskYesNo(kConfirmCaption, kColorModeQuestion)) return false;
    mode.depth = 16;
    change = true;
  }
  // For this run only; the depth cannot change here, and only full screen switches the size.
  if (change) game.window.SetDisplayMode(mode.width, mode.height, mode.frequency);
  return true;
}

bool PrepareGame(CGame& game) {
  ApplyProcessPriority(game);
  InstallRuntime(game);
  game.language.show_message = [&game](const std::string& m) { ShowStartupMessage(game, m); };
  for (const PreparationEntry& p : kPreparation) {
    if (p.progress >= 0) ShowLoadProgress(game, p.progress, p.step_text);
    if (p.step == nullptr) continue;
    if (!p.step(game)) {
      if (p.failure_message != nullptr) ShowStartupMessage(game, p.failure_message);
      return false;
    }
  }
  ShowLoadProgress(game, 100, "Ready");
  CloseLoadForm(game);
  return true;
}

void ShutDownGame(CGame& game) {
  for (const ShutdownEntry& s : kShutdown)
    if (s.step != nullptr) s.step(game);
}

bool LoadAndRunGame(CGame& game) {
  bool opened = false;
  try {
    opened = OpenGameFile(game);
  } catch (...) {
    ShowStartupMessage(game, kFileCorrupted);
    return false;
  }
  if (!opened) return false;
  try {
    if (!PrepareGame(game)) return false;
    // The debugger window plugs in here.
    RunGame(game);
  } catch (...) {
    ShowStartupMessage(game, kUnexpectedError);
    return false;
  }
  return true;
}

int RunRunner(CGame& game) {
  const CRunOptions& o = game.options;
  if (o.headless) {
    auto headless = std::make_unique<CHeadlessDialogService>();
    headless->SetAnswers(o.answers);
    game.dialogs = std::move(headless);
  } else {
    game.dialogs = std::make_unique<CSystemDialogService>(nullptr, &game.loop);
  }
  // Before any window exists.
  if (!game.temp.Create()) ShowStartupMessage(game, kTempDirectoryFailedMessage);

  // The game window starts hidden and empty, so nothing is seen before the graphics exist; the
  // device draws into it with OpenGL. Headless runs have no window: the device makes a hidden
  // one of its own and draws into its off-screen back buffer.
  game.window.Create(!o.headless && PlatformHasVideo(), true);
  game.window.SetBorder(BorderKind::kNone);
  game.window.SetColor(0);
  game.loop.UseSdlEvents(PlatformHasVideo());

  CMessageLoop::TimerId end_timer = 0;
  end_timer = game.loop.AddTimer(
      100,
      [&game, &end_timer]() {
        if (game.running) return;
        game.loop.SetTimerEnabled(end_timer, false);
        ShutDownGame(game);
        game.window.SetVisible(false);
        game.loop.Terminate();
      },
      false);
  CMessageLoop::TimerId start_timer = 0;
  start_timer = game.loop.AddTimer(
      100,
      [&game, &start_timer, &end_timer]() {
        game.loop.SetTimerEnabled(start_timer, false);
        game.window.SetVisible(false);
        game.loop.ProcessMessages();
        if (!LoadAndRunGame(game)) {
          game.exit_status = 1;
          game.loop.Terminate();
        } else if (!game.debug_mode) {
          ShutDownGame(game);
          game.window.SetVisible(false);
          game.loop.Terminate();
        } else {
          game.loop.SetTimerEnabled(end_timer, true);
        }
      },
      true);
  game.loop.Run();
  game.temp.Delete();
  return game.exit_status;
}

}  // namespace zorvex
