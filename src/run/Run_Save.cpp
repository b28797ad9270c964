#include "run/Run_Save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string_view>

#include "game/Game.h"
#include "platform/Platform_Path.h"
#include "runner/Option_Main.h"
#include "runner/Support_Stream.h"

namespace zorvex {

namespace {

// The smallest stored instance: fixed fields, an empty creation code and a variable list that
// is only its marker. Counts are checked against it before anything is allocated.
constexpr size_t kMinInstanceBytes = 360;
// x, y, background, left, top, width, height, depth, id, xscale, yscale, blend, alpha, visible.
constexpr size_t kTileBytes = 8 + 8 + 5 * 4 + 8 + 4 + 8 + 8 + 4 + 8 + 4;
// The marker that opens the stored global state.
constexpr int32_t kGlobalStateMarker = 700;

void WriteBack(const CBack& b, CStream& s) {
  s.WriteBool(b.visible);
  s.WriteBool(b.foreground);
  s.WriteInt(b.index);
  s.WriteReal(b.x);
  s.WriteReal(b.y);
  s.WriteBool(b.htiled);
  s.WriteBool(b.vtiled);
  for (double v : {b.xscale, b.yscale, b.hspeed, b.vspeed})
    s.WriteReal(v);
  s.WriteInt(b.blend);
  s.WriteReal(b.alpha);
}

void ReadBack(CBack& b, CStream& s) {
  b.visible = s.ReadBool();
  b.foreground = s.ReadBool();
  b.index = s.ReadInt();
  b.x = s.ReadReal();
  b.y = s.ReadReal();
  b.htiled = s.ReadBool();
  b.vtiled = s.ReadBool();
  for (double* v : {&b.xscale, &b.yscale, &b.hspeed, &b.vspeed})
    *v = s.ReadReal();
  b.blend = s.ReadInt();
  b.alpha = s.ReadReal();
}

void WriteView(const CView& v, CStream& s) {
  s.WriteBool(v.visible);
  for (int32_t i : {v.xview, v.yview, v.wview, v.hview, v.xport, v.yport, v.wport, v.hport})
    s.WriteInt(i);
  s.WriteReal(v.angle);
  for (int32_t i : {v.hborder, v.vborder, v.hspeed, v.vspeed, v.object})
    s.WriteInt(i);
}

void ReadView(CView& v, CStream& s) {
  v.visible = s.ReadBool();
  for (int32_t* i :
       {&v.xview, &v.yview, &v.wview, &v.hview, &v.xport, &v.yport, &v.wport, &v.hport})
    *i = s.ReadInt();
  v.angle = s.ReadReal();
  for (int32_t* i : {&v.hborder, &v.vborder, &v.hspeed, &v.vspeed, &v.object})
    *i = s.ReadInt();
}

void WriteTile(const CTile& t, CStream& s) {
  s.WriteReal(t.x);
  s.WriteReal(t.y);
  for (int32_t i : {t.background, t.left, t.top, t.width, t.height})
    s.WriteInt(i);
  s.WriteReal(t.depth);
  s.WriteInt(t.id);
  s.WriteReal(t.xscale);
  s.WriteReal(t.yscale);
  s.WriteInt(t.blend);
  s.WriteReal(t.alpha);
  s.WriteBool(t.visible);
}

void ReadTile(CTile& t, CStream& s) {
  t.x = s.ReadReal();
  t.y = s.ReadReal();
  for (int32_t* i : {&t.background, &t.left, &t.top, &t.width, &t.height})
    *i = s.ReadInt();
  t.depth = s.ReadReal();
  t.id = s.ReadInt();
  t.xscale = s.ReadReal();
  t.yscale = s.ReadReal();
  t.blend = s.ReadInt();
  t.alpha = s.ReadReal();
  t.visible = s.ReadBool();
}

// A count read from the file that the rest of it can hold, at `unit` bytes an entry.
int32_t ReadCount(CStream& s, size_t unit) {
  const int32_t n = s.ReadInt();
  if (n < 0 || static_cast<size_t>(n) > s.Remaining() / unit)
    throw StreamReadError("count beyond the end of the save");
  return n;
}

std::unique_ptr<CInstance> ReadInstance(CGame& game, CStream& s) {
  auto inst = std::make_unique<CInstance>();
  // A fresh instance takes the stored record; the object is found again by its index.
  inst->Create(game.resources, 0, -1, 0, 0);
  inst->ReadFromStream(s);
  return inst;
}

// Throws StreamReadError on anything a writer cannot have made.
std::unique_ptr<CRoomState> ReadRoomState(CGame& game, CStream& s) {
  if (s.ReadInt() != kRoomStateVersion) throw StreamReadError("room record of another version");
  auto state = std::make_unique<CRoomState>(game.resources.objects);
  CRoom& r = state->room;
  r.caption = s.ReadString();
  r.width = s.ReadInt();
  r.height = s.ReadInt();
  r.speed = s.ReadInt();
  r.persistent = s.ReadBool();
  r.background_color = s.ReadInt();
  r.background_showcolor = s.ReadBool();
  r.creation_code = s.ReadString();
  const int32_t layers = s.ReadInt();
  if (layers < 0 || layers > kRoomLayerCount) throw StreamReadError("too many layers");
  for (int32_t i = 0; i < layers; ++i)
    ReadBack(r.backgrounds[static_cast<size_t>(i)], s);
  r.views_enabled = s.ReadBool();
  const int32_t views = s.ReadInt();
  if (views < 0 || views > kRoomViewCount) throw StreamReadError("too many views");
  for (int32_t i = 0; i < views; ++i)
    ReadView(r.views[static_cast<size_t>(i)], s);
  const int32_t active = ReadCount(s, kMinInstanceBytes);
  for (int32_t i = 0; i < active; ++i)
    state->instances.AdoptActive(ReadInstance(game, s));
  const int32_t inactive = ReadCount(s, kMinInstanceBytes);
  for (int32_t i = 0; i < inactive; ++i)
    state->instances.AdoptInactive(ReadInstance(game, s));
  const int32_t tiles = ReadCount(s, kTileBytes);
  r.tiles.resize(static_cast<size_t>(tiles));
  for (CTile& t : r.tiles)
    ReadTile(t, s);
  return state;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  bytes.clear();
  uint8_t buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
    bytes.insert(bytes.end(), buffer, buffer + n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

bool WriteAll(int fd, const uint8_t* data, size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, data, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

// Writes the bytes next to the file under a temporary name and renames it into place, so the
// previous save survives a crash or a full disk halfway through.
bool WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes) {
  const size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  if (base.empty()) return false;
  std::string temp = dir + "." + base + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
  // mkstemp makes the file private; a save is an ordinary file of the user.
  ok = ::fchmod(fd, 0644) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

bool HasSeparator(std::string_view name) {
  return name.find('\\') != std::string_view::npos || name.find('/') != std::string_view::npos;
}

}  // namespace

void WriteRoomState(const CRoomState& state, CStream& s) {
  const CRoom& r = state.room;
  s.WriteInt(kRoomStateVersion);
  s.WriteString(r.caption);
  s.WriteInt(r.width);
  s.WriteInt(r.height);
  s.WriteInt(r.speed);
  s.WriteBool(r.persistent);
  s.WriteInt(r.background_color);
  s.WriteBool(r.background_showcolor);
  s.WriteString(r.creation_code);
  s.WriteInt(kRoomLayerCount);
  for (const CBack& b : r.backgrounds)
    WriteBack(b, s);
  s.WriteBool(r.views_enabled);
  s.WriteInt(kRoomViewCount);
  for (const CView& v : r.views)
    WriteView(v, s);
  const CInstanceLists& lists = state.instances;
  s.WriteInt(lists.ActiveCount());
  for (const CInstance* inst : lists.ActiveList())
    inst->WriteToStream(s);
  s.WriteInt(lists.InactiveCount());
  for (const CInstance* inst : lists.InactiveList())
    inst->WriteToStream(s);
  s.WriteInt(r.TileCount());
  for (const CTile& t : r.tiles)
    WriteTile(t, s);
}

void WriteSavedGame(const CGame& game, CStream& s) {
  const CRunState& run = game.run;
  s.WriteInt(kSaveVersion);
  s.WriteInt(game.game_id);
  s.WriteInt(run.room_index);
  s.WriteInt(run.transition_kind);
  s.WriteInt(run.score);
  s.WriteInt(run.lives);
  s.WriteReal(run.health);
  s.WriteInt(run.cursor_sprite);
  s.WriteInt(run.cursor_frame);
  s.WriteBool(game.graphics.automatic_draw);
  game.language.globals.WriteToStream(s);
  s.WriteInt(static_cast<int32_t>(run.rooms.size()));
  for (const std::unique_ptr<CRoomState>& state : run.rooms) {
    s.WriteBool(state != nullptr);
    if (state) WriteRoomState(*state, s);
  }
  s.WriteInt(game.resources.rooms.last_instance_id);
  s.WriteInt(game.resources.rooms.last_tile_id);
}

SaveReadResult ReadSavedGame(CGame& game, CStream& s, CSavedGame& out) {
  try {
    if (s.ReadInt() != kSaveVersion) return SaveReadResult::kOtherVersion;
    if (s.ReadInt() != game.game_id) return SaveReadResult::kOtherGame;
    out.room_index = s.ReadInt();
    out.transition_kind = s.ReadInt();
    out.score = s.ReadInt();
    out.lives = s.ReadInt();
    out.health = s.ReadReal();
    out.cursor_sprite = s.ReadInt();
    out.cursor_frame = s.ReadInt();
    out.automatic_draw = s.ReadBool();
    // A global state with another marker would be skipped and leave the rest misread.
    if (s.ReadInt() != kGlobalStateMarker) return SaveReadResult::kDamaged;
    s.Seek(s.Position() - 4);
    out.globals.ReadFromStream(s);
    const int32_t slots = ReadCount(s, 4);
    out.rooms.clear();
    out.rooms.resize(static_cast<size_t>(slots));
    for (std::unique_ptr<CRoomState>& slot : out.rooms)
      if (s.ReadBool()) slot = ReadRoomState(game, s);
    out.last_instance_id = s.ReadInt();
    out.last_tile_id = s.ReadInt();
  } catch (const StreamReadError&) {
    return SaveReadResult::kDamaged;
  }
  // Whatever a writer puts after the last field, it is not a saved game of ours; and the game
  // can only go on in a room that has a state.
  if (!s.AtEnd()) return SaveReadResult::kDamaged;
  if (out.room_index < 0 || static_cast<size_t>(out.room_index) >= out.rooms.size() ||
      !out.rooms[static_cast<size_t>(out.room_index)])
    return SaveReadResult::kDamaged;
  return SaveReadResult::kOk;
}

void ApplySavedGame(CGame& game, CSavedGame&& saved) {
  CRunState& run = game.run;
  SetCurrentRoom(game, nullptr);
  run.carried.clear();
  run.rooms = std::move(saved.rooms);
  run.room_index = saved.room_index;
  SetCurrentRoom(game, run.rooms[static_cast<size_t>(saved.room_index)].get());
  game.language.id_cache = CInstanceIdCache{};
  run.transition_kind = saved.transition_kind;
  run.score = saved.score;
  run.lives = saved.lives;
  run.health = saved.health;
  run.cursor_sprite = saved.cursor_sprite;
  run.cursor_frame = saved.cursor_frame;
  game.graphics.automatic_draw = saved.automatic_draw;
  game.language.globals = std::move(saved.globals);
  game.resources.rooms.last_instance_id = saved.last_instance_id;
  game.resources.rooms.last_tile_id = saved.last_tile_id;
  FitRegionToCurrentRoom(game);
}

void SaveGame(CGame& game, const std::string& file) {
  if (game.resources.included_files.secure_mode && HasSeparator(file)) {
    game.errors.ReportInContext(kSecureSaveMessage + file, false);
    return;
  }
  CStream s;
  WriteSavedGame(game, s);
  if (!WriteFileReplacing(TranslatePath(file), s.Bytes()))
    game.errors.ReportInContext(kSaveFailedMessage + file, false);
}

void LoadGame(CGame& game, const std::string& file) {
  const std::string path = TranslatePath(file);
  if (!FileExists(path)) return;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) {
    game.errors.ReportInContext(kLoadFailedMessage + file, false);
    return;
  }
  CStream s(std::move(bytes));
  CSavedGame saved;
  switch (ReadSavedGame(game, s, saved)) {
    case SaveReadResult::kOk:
      ApplySavedGame(game, std::move(saved));
      return;
    case SaveReadResult::kOtherVersion:
      game.errors.ReportInContext(kLoadOtherVersionMessage, false);
      return;
    case SaveReadResult::kOtherGame:
      game.errors.ReportInContext(kLoadOtherGameMessage, false);
      return;
    case SaveReadResult::kDamaged:
      game.errors.ReportInContext(kLoadFailedMessage + file, false);
      return;
  }
}

void InstallSaveLoad(CGame& game) {
  game.run.hooks.save_game = [](CGame& g, const std::string& file) { SaveGame(g, file); };
  game.run.hooks.load_game = [](CGame& g, const std::string& file) { LoadGame(g, file); };
}

}  // namespace zorvex
