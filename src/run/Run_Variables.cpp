#include "run/Run_Variables.h"

#include <ctime>
#include <filesystem>
#include <utility>

#include "code/Code_Round.h"
#include "functions/Function_Misc_Date.h"
#include "game/Game.h"
#include "run/IO_Main.h"
#include "run/Run_Command.h"
#include "run/Run_Main.h"

namespace zorvex {

namespace {

using Getter = BuiltinGetter;
using Setter = BuiltinSetter;

CInstance* Inst(CInstanceCore* i) {
  return static_cast<CInstance*>(i);
}

// The value conventions of the setters.
int32_t AsInteger(const RValue& v) {
  return RoundToInt32(v.real);
}
bool AsBoolean(const RValue& v) {
  return RoundToInt64(v.real) >= 1;
}
// An index outside 0 .. n-1 counts as index 0.
size_t IndexIn(int32_t index, int32_t n) {
  return index >= 0 && index < n ? static_cast<size_t>(index) : 0;
}

// --- Instance fields ---------------------------------------------------------------------

template <double CInstanceState::*F>
bool GetReal(CGame&, CInstanceCore* i, int32_t, RValue& out) {
  out.SetReal(Inst(i)->*F);
  return true;
}
template <double CInstanceState::*F>
bool SetReal(CGame&, CInstanceCore* i, int32_t, const RValue& v) {
  Inst(i)->*F = v.real;
  return true;
}
template <int32_t CInstanceState::*F>
bool GetInt(CGame&, CInstanceCore* i, int32_t, RValue& out) {
  out.SetReal(Inst(i)->*F);
  return true;
}
template <int32_t CInstanceState::*F>
bool SetInt(CGame&, CInstanceCore* i, int32_t, const RValue& v) {
  Inst(i)->*F = AsInteger(v);
  return true;
}
template <bool CInstanceState::*F>
bool GetBool(CGame&, CInstanceCore* i, int32_t, RValue& out) {
  out.SetReal(Inst(i)->*F ? 1 : 0);
  return true;
}
template <bool CInstanceState::*F>
bool SetBool(CGame&, CInstanceCore* i, int32_t, const RValue& v) {
  Inst(i)->*F = AsBoolean(v);
  return true;
}
// Fields written through an operation of the instance.
template <void (CInstance::*M)(double)>
bool SetThrough(CGame&, CInstanceCore* i, int32_t, const RValue& v) {
  (Inst(i)->*M)(v.real);
  return true;
}
template <void (CInstance::*M)(int32_t)>
bool SetIntThrough(CGame&, CInstanceCore* i, int32_t, const RValue& v) {
  (Inst(i)->*M)(AsInteger(v));
  return true;
}

bool GetX(CGame&, CInstanceCore* i, int32_t, RValue& out) {
  out.SetReal(Inst(i)->x);
  return true;
}
bool SetX(CGame&, CInstanceCore* i, int32_t, const RValue& v) {
  Inst(i)->SetPosition(v.real, Inst(i)->y);
  return true;
}
bool GetY(CGame&, CInstanceCore* i, int32_t, RValue& out) {
  out.SetReal(Inst(i)->y);
  return true;
}
bool SetY(CGame&, CInstanceCore* i, int32_t, const RValue& v) {
  Inst(i)->SetPosition(Inst(i)->x, v.real);
  return true;
}
bool GetId(CGame&, CInstanceCore* i, int32_t, RValue& out) {
  out.SetReal(i->id);
  return true;
}
bool GetObjectIndex(CGame&, CInstanceCore* i, int32_t, RValue& out) {
  out.SetReal(i->object_index);
  return true;
}
bool GetAlarm(CGame&, CInstanceCore* i, int32_t index, RValue& out) {
  out.SetReal(Inst(i)->GetAlarm(static_cast<int32_t>(IndexIn(index, kAlarmCount))));
  return true;
}
bool SetAlarm(CGame&, CInstanceCore* i, int32_t index, const RValue& v) {
  Inst(i)->SetAlarm(static_cast<int32_t>(IndexIn(index, kAlarmCount)), AsInteger(v));
  return true;
}
bool GetImageSingle(CGame&, CInstanceCore* i, int32_t, RValue& out) {
  const CInstance* inst = Inst(i);
  out.SetReal(inst->image_speed != 0 ? -1 : inst->image_index);
  return true;
}
bool SetImageSingle(CGame&, CInstanceCore* i, int32_t, const RValue& v) {
  CInstance* inst = Inst(i);
  if (v.real >= 0) {
    inst->image_index = v.real;
    inst->image_speed = 0;
  } else {
    inst->image_speed = 1;
  }
  return true;
}
bool GetImageNumber(CGame&, CInstanceCore* i, int32_t, RValue& out) {
  out.SetReal(Inst(i)->ImageCount());
  return true;
}
// Sprite measures times the scale; 0 without a sprite.
template <int32_t CSprite::*F, double CInstanceState::*Scale>
bool GetSpriteMeasure(CGame&, CInstanceCore* i, int32_t, RValue& out) {
  const CSprite* s = Inst(i)->Sprite();
  out.SetReal(s ? (s->*F) * (Inst(i)->*Scale) : 0.0);
  return true;
}
bool SetPathPosition(CGame&, CInstanceCore* i, int32_t, const RValue& v) {
  Inst(i)->SetPathPosition(v.real);
  return true;
}
bool SetPathPositionPrevious(CGame&, CInstanceCore* i, int32_t, const RValue& v) {
  Inst(i)->SetPathPositionPrevious(v.real);
  return true;
}

// --- Arguments ---------------------------------------------------------------------------

template <int N>
bool GetArgument(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out = g.language.arguments[N];
  return true;
}
template <int N>
bool SetArgument(CGame& g, CInstanceCore*, int32_t, const RValue& v) {
  g.language.WriteArgument(N, v);
  return true;
}
bool GetArgumentIndexed(CGame& g, CInstanceCore*, int32_t index, RValue& out) {
  out = g.language.arguments[IndexIn(index, kArgumentCount)];
  return true;
}
bool SetArgumentIndexed(CGame& g, CInstanceCore*, int32_t index, const RValue& v) {
  g.language.WriteArgument(IndexIn(index, kArgumentCount), v);
  return true;
}
bool GetArgumentRelative(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(g.run.argument_relative ? 1 : 0);
  return true;
}

// --- Game values -------------------------------------------------------------------------

bool GetRoom(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(g.run.room_index);
  return true;
}
bool SetRoom(CGame& g, CInstanceCore*, int32_t, const RValue& v) {
  RoomGoto(g, AsInteger(v));
  return true;
}
bool GetRoomFirst(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(g.resources.room_order.FirstRoom());
  return true;
}
bool GetRoomLast(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(g.resources.room_order.LastRoom());
  return true;
}

// Integer game values with a plain setter.
#define ZORVEX_INT_VALUE(NAME, EXPR)                                    \
  bool Get_##NAME(CGame& g, CInstanceCore*, int32_t, RValue& out) {     \
    out.SetReal(EXPR);                                                  \
    return true;                                                        \
  }                                                                     \
  bool Set_##NAME(CGame& g, CInstanceCore*, int32_t, const RValue& v) { \
    EXPR = AsInteger(v);                                                \
    return true;                                                        \
  }
ZORVEX_INT_VALUE(transition_kind, g.run.transition_kind)
ZORVEX_INT_VALUE(score, g.run.score)
ZORVEX_INT_VALUE(cursor_sprite, g.run.cursor_sprite)
#undef ZORVEX_INT_VALUE

bool GetTransitionSteps(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(g.run.transition_steps);
  return true;
}
bool SetTransitionSteps(CGame& g, CInstanceCore*, int32_t, const RValue& v) {
  g.run.transition_steps = std::max(1, AsInteger(v));
  return true;
}
bool GetLives(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(g.run.lives);
  return true;
}
bool SetLives(CGame& g, CInstanceCore*, int32_t, const RValue& v) {
  const int32_t old = g.run.lives;
  g.run.lives = AsInteger(v);
  if (old > 0 && g.run.lives <= 0) PerformEventForAll(g, kEventOther, kOtherNoMoreLives);
  return true;
}
bool GetHealth(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(g.run.health);
  return true;
}
bool SetHealth(CGame& g, CInstanceCore*, int32_t, const RValue& v) {
  const double old = g.run.health;
  g.run.health = v.real;
  if (old > 0 && g.run.health <= 0) PerformEventForAll(g, kEventOther, kOtherNoMoreHealth);
  return true;
}
bool GetGameId(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(g.game_id);
  return true;
}
bool GetWorkingDirectory(CGame&, CInstanceCore*, int32_t, RValue& out) {
  std::error_code ec;
  out.SetString(std::filesystem::current_path(ec).string());
  return true;
}
bool GetTempDirectory(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetString(g.temp.Path());
  return true;
}
bool GetProgramDirectory(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetString(ProgramDirectory(g));
  return true;
}
bool GetInstanceCount(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(g.language.world ? g.language.world->ActiveCount() : 0);
  return true;
}
bool GetInstanceId(CGame& g, CInstanceCore*, int32_t index, RValue& out) {
  CInstanceWorld* w = g.language.world;
  if (w && index >= 0 && index < w->ActiveCount())
    out.SetReal(w->Active(index)->id);
  else
    out.SetReal(-4);
  return true;
}

// --- The current room --------------------------------------------------------------------

// Without a running room the room's values read as 0 (or empty) and writes change nothing.
CRoom* Room(CGame& g) {
  return g.run.current ? &g.run.current->room : nullptr;
}

template <int32_t CRoom::*F>
bool GetRoomInt(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  const CRoom* r = Room(g);
  out.SetReal(r ? r->*F : 0);
  return true;
}
template <int32_t CRoom::*F>
bool SetRoomInt(CGame& g, CInstanceCore*, int32_t, const RValue& v) {
  if (CRoom* r = Room(g)) r->*F = AsInteger(v);
  return true;
}
template <bool CRoom::*F>
bool GetRoomBool(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  const CRoom* r = Room(g);
  out.SetReal(r && r->*F ? 1 : 0);
  return true;
}
template <bool CRoom::*F>
bool SetRoomBool(CGame& g, CInstanceCore*, int32_t, const RValue& v) {
  if (CRoom* r = Room(g)) r->*F = AsBoolean(v);
  return true;
}
bool GetRoomCaption(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  const CRoom* r = Room(g);
  out.SetString(r ? r->caption : std::string());
  return true;
}
bool SetRoomCaption(CGame& g, CInstanceCore*, int32_t, const RValue& v) {
  if (CRoom* r = Room(g)) r->caption = v.str;
  return true;
}
bool SetRoomSpeed(CGame& g, CInstanceCore*, int32_t, const RValue& v) {
  const int32_t speed = AsInteger(v);
  if (speed <= 0) {
    g.errors.Deliver(kRoomSpeedMessage, false);
    return false;
  }
  if (CRoom* r = Room(g)) r->speed = speed;
  return true;
}

// Background layers and views, indexed 0-7: the entry of the room's array.
inline CBack& RoomEntry(CRoom& r, int32_t index, CBack*) {
  return r.backgrounds[IndexIn(index, kRoomLayerCount)];
}
inline CView& RoomEntry(CRoom& r, int32_t index, CView*) {
  return r.views[IndexIn(index, kRoomViewCount)];
}
template <class S, class T, T S::*F>
bool GetRoomEntry(CGame& g, CInstanceCore*, int32_t index, RValue& out) {
  CRoom* r = Room(g);
  out.SetReal(r ? static_cast<double>(RoomEntry(*r, index, static_cast<S*>(nullptr)).*F) : 0.0);
  return true;
}
template <class S, class T, T S::*F>
bool SetRoomEntry(CGame& g, CInstanceCore*, int32_t index, const RValue& v) {
  CRoom* r = Room(g);
  if (!r) return true;
  T& field = RoomEntry(*r, index, static_cast<S*>(nullptr)).*F;
  if constexpr (std::is_same_v<T, bool>)
    field = AsBoolean(v);
  else if constexpr (std::is_same_v<T, int32_t>)
    field = AsInteger(v);
  else
    field = v.real;
  return true;
}
template <class T, T CBack::*F>
constexpr auto GetLayer = GetRoomEntry<CBack, T, F>;
template <class T, T CBack::*F>
constexpr auto SetLayer = SetRoomEntry<CBack, T, F>;
template <class T, T CView::*F>
constexpr auto GetView = GetRoomEntry<CView, T, F>;
template <class T, T CView::*F>
constexpr auto SetView = SetRoomEntry<CView, T, F>;
template <int32_t CBackground::*F>
bool GetLayerBackgroundSize(CGame& g, CInstanceCore*, int32_t index, RValue& out) {
  const CRoom* r = Room(g);
  const CBackground* b =
      r ? g.resources.backgrounds.Get(r->backgrounds[IndexIn(index, kRoomLayerCount)].index)
        : nullptr;
  out.SetReal(b ? b->*F : 0);
  return true;
}
bool GetViewCurrent(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(g.graphics.view_current);
  return true;
}

// --- Input -------------------------------------------------------------------------------

bool GetMouseX(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(static_cast<double>(MouseRoomPosition(g).x));
  return true;
}
bool GetMouseY(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(static_cast<double>(MouseRoomPosition(g).y));
  return true;
}
// Integers stored only inside [Lo, Hi].
template <int32_t CInputState::*F, int32_t Lo, int32_t Hi>
bool GetInput(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(g.input.*F);
  return true;
}
template <int32_t CInputState::*F, int32_t Lo, int32_t Hi>
bool SetInput(CGame& g, CInstanceCore*, int32_t, const RValue& v) {
  const int32_t n = AsInteger(v);
  if (n >= Lo && n <= Hi) g.input.*F = n;
  return true;
}
bool GetLastChar(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetString(std::string(1, static_cast<char>(g.input.keyboard_lastchar)));
  return true;
}
bool SetLastChar(CGame& g, CInstanceCore*, int32_t, const RValue& v) {
  if (!v.str.empty()) g.input.keyboard_lastchar = static_cast<uint8_t>(v.str[0]);
  return true;
}
bool GetKeyboardString(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetString(g.input.keyboard_string);
  return true;
}
bool SetKeyboardString(CGame& g, CInstanceCore*, int32_t, const RValue& v) {
  g.input.keyboard_string = v.str;
  return true;
}

// --- Caption -----------------------------------------------------------------------------

template <bool CRunState::*F>
bool GetShow(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(g.run.*F ? 1 : 0);
  return true;
}
template <bool CRunState::*F>
bool SetShow(CGame& g, CInstanceCore*, int32_t, const RValue& v) {
  g.run.*F = AsBoolean(v);
  if constexpr (F == &CRunState::show_score) g.run.score_forced = true;
  return true;
}
template <std::string CRunState::*F>
bool GetCaption(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetString(g.run.*F);
  return true;
}
template <std::string CRunState::*F>
bool SetCaption(CGame& g, CInstanceCore*, int32_t, const RValue& v) {
  g.run.*F = v.str;
  return true;
}

// --- Time --------------------------------------------------------------------------------

bool GetFps(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(g.run.fps);
  return true;
}
bool GetCurrentTime(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  // Milliseconds of the monotonic clock; with --fast it includes the waits that were skipped.
  const int64_t us =
      g.options.fast ? g.run.fast_clock.MonotonicMicros() : CSystemTimeSource().MonotonicMicros();
  out.SetReal(static_cast<double>(us / 1000));
  return true;
}
template <int Part>
bool GetDatePart(CGame&, CInstanceCore*, int32_t, RValue& out) {
  CDateTimeParts p;
  DecodeDateTime(CurrentDateTime(), p);
  double v = 0;
  switch (Part) {
    case 0:
      v = static_cast<double>(p.year);
      break;
    case 1:
      v = p.month;
      break;
    case 2:
      v = p.day;
      break;
    case 3:
      v = Weekday(p.day_number);
      break;
    case 4:
      v = p.hour;
      break;
    case 5:
      v = p.minute;
      break;
    default:
      v = p.second;
      break;
  }
  out.SetReal(v);
  return true;
}

// --- Event context and errors ------------------------------------------------------------

template <int32_t CEventContext::*F>
bool GetContext(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(g.errors.context.*F);
  return true;
}
bool GetSecureMode(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(g.resources.included_files.secure_mode ? 1 : 0);
  return true;
}
bool GetErrorOccurred(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(g.errors.occurred ? 1 : 0);
  return true;
}
bool SetErrorOccurred(CGame& g, CInstanceCore*, int32_t, const RValue& v) {
  g.errors.occurred = IsTrue(v.real);
  return true;
}
bool GetErrorLast(CGame& g, CInstanceCore*, int32_t, RValue& out) {
  out.SetString(g.errors.last_message);
  return true;
}
bool SetErrorLast(CGame& g, CInstanceCore*, int32_t, const RValue& v) {
  g.errors.last_message = v.str;
  return true;
}

struct Variable {
  const char* name;
  Getter get;
  Setter set;
};

template <int... N>
void RegisterArguments(CBuiltinVariableTable& t, std::integer_sequence<int, N...>) {
  (t.Register("argument" + std::to_string(N), GetArgument<N>, SetArgument<N>), ...);
}

using S = CInstanceState;

const Variable kInstanceVariables[] = {
    {"x", GetX, SetX},
    {"y", GetY, SetY},
    {"xprevious", GetReal<&S::xprevious>, SetReal<&S::xprevious>},
    {"yprevious", GetReal<&S::yprevious>, SetReal<&S::yprevious>},
    {"xstart", GetReal<&S::xstart>, SetReal<&S::xstart>},
    {"ystart", GetReal<&S::ystart>, SetReal<&S::ystart>},
    {"hspeed", GetReal<&S::hspeed>, SetThrough<&CInstance::SetHSpeed>},
    {"vspeed", GetReal<&S::vspeed>, SetThrough<&CInstance::SetVSpeed>},
    {"direction", GetReal<&S::direction>, SetThrough<&CInstance::SetDirection>},
    {"speed", GetReal<&S::speed>, SetThrough<&CInstance::SetSpeed>},
    {"friction", GetReal<&S::friction>, SetReal<&S::friction>},
    {"gravity", GetReal<&S::gravity>, SetReal<&S::gravity>},
    {"gravity_direction", GetReal<&S::gravity_direction>, SetReal<&S::gravity_direction>},
    {"object_index", GetObjectIndex, nullptr},
    {"id", GetId, nullptr},
    {"alarm", GetAlarm, SetAlarm},
    {"solid", GetBool<&S::solid>, SetBool<&S::solid>},
    {"visible", GetBool<&S::visible>, SetBool<&S::visible>},
    {"persistent", GetBool<&S::persistent>, SetBool<&S::persistent>},
    {"depth", GetReal<&S::depth>, SetReal<&S::depth>},
    {"bbox_left", GetInt<&S::bbox_left>, nullptr},
    {"bbox_right", GetInt<&S::bbox_right>, nullptr},
    {"bbox_top", GetInt<&S::bbox_top>, nullptr},
    {"bbox_bottom", GetInt<&S::bbox_bottom>, nullptr},
    {"sprite_index", GetInt<&S::sprite_index>, SetIntThrough<&CInstance::SetSprite>},
    {"image_index", GetReal<&S::image_index>, SetReal<&S::image_index>},
    {"image_single", GetImageSingle, SetImageSingle},
    {"image_number", GetImageNumber, nullptr},
    {"sprite_width", GetSpriteMeasure<&CSprite::width, &S::image_xscale>, nullptr},
    {"sprite_height", GetSpriteMeasure<&CSprite::height, &S::image_yscale>, nullptr},
    {"sprite_xoffset", GetSpriteMeasure<&CSprite::xoffset, &S::image_xscale>, nullptr},
    {"sprite_yoffset", GetSpriteMeasure<&CSprite::yoffset, &S::image_yscale>, nullptr},
    {"image_xscale", GetReal<&S::image_xscale>, SetThrough<&CInstance::SetImageXScale>},
    {"image_yscale", GetReal<&S::image_yscale>, SetThrough<&CInstance::SetImageYScale>},
    {"image_angle", GetReal<&S::image_angle>, SetThrough<&CInstance::SetImageAngle>},
    {"image_alpha", GetReal<&S::image_alpha>, SetReal<&S::image_alpha>},
    {"image_speed", GetReal<&S::image_speed>, SetReal<&S::image_speed>},
    {"image_blend", GetInt<&S::image_blend>, SetInt<&S::image_blend>},
    {"mask_index", GetInt<&S::mask_index>, SetIntThrough<&CInstance::SetMask>},
    {"path_index", GetInt<&S::path_index>, nullptr},
    {"path_position", GetReal<&S::path_position>, SetPathPosition},
    {"path_positionprevious", GetReal<&S::path_positionprevious>, SetPathPositionPrevious},
    {"path_speed", GetReal<&S::path_speed>, SetReal<&S::path_speed>},
    {"path_scale", GetReal<&S::path_scale>, SetReal<&S::path_scale>},
    {"path_orientation", GetReal<&S::path_orientation>, SetReal<&S::path_orientation>},
    {"path_endaction", GetInt<&S::path_endaction>, SetInt<&S::path_endaction>},
    {"timeline_index", GetInt<&S::timeline_index>, SetInt<&S::timeline_index>},
    {"timeline_position", GetReal<&S::timeline_position>, SetReal<&S::timeline_position>},
    {"timeline_speed", GetReal<&S::timeline_speed>, SetReal<&S::timeline_speed>},
};

const Variable kGameVariables[] = {
    {"argument_relative", GetArgumentRelative, nullptr},
    {"room", GetRoom, SetRoom},
    {"room_first", GetRoomFirst, nullptr},
    {"room_last", GetRoomLast, nullptr},
    {"transition_kind", Get_transition_kind, Set_transition_kind},
    {"transition_steps", GetTransitionSteps, SetTransitionSteps},
    {"score", Get_score, Set_score},
    {"lives", GetLives, SetLives},
    {"health", GetHealth, SetHealth},
    {"game_id", GetGameId, nullptr},
    {"working_directory", GetWorkingDirectory, nullptr},
    {"temp_directory", GetTempDirectory, nullptr},
    {"program_directory", GetProgramDirectory, nullptr},
    {"instance_count", GetInstanceCount, nullptr},
    {"instance_id", GetInstanceId, nullptr},
    {"room_width", GetRoomInt<&CRoom::width>, nullptr},
    {"room_height", GetRoomInt<&CRoom::height>, nullptr},
    {"room_caption", GetRoomCaption, SetRoomCaption},
    {"room_speed", GetRoomInt<&CRoom::speed>, SetRoomSpeed},
    {"room_persistent", GetRoomBool<&CRoom::persistent>, SetRoomBool<&CRoom::persistent>},
    {"background_color", GetRoomInt<&CRoom::background_color>,
     SetRoomInt<&CRoom::background_color>},
    {"background_showcolor", GetRoomBool<&CRoom::background_showcolor>,
     SetRoomBool<&CRoom::background_showcolor>},
    {"background_visible", GetLayer<bool, &CBack::visible>, SetLayer<bool, &CBack::visible>},
    {"background_foreground", GetLayer<bool, &CBack::foreground>,
     SetLayer<bool, &CBack::foreground>},
    {"background_index", GetLayer<int32_t, &CBack::index>, SetLayer<int32_t, &CBack::index>},
    {"background_x", GetLayer<double, &CBack::x>, SetLayer<double, &CBack::x>},
    {"background_y", GetLayer<double, &CBack::y>, SetLayer<double, &CBack::y>},
    {"background_width", GetLayerBackgroundSize<&CBackground::width>, nullptr},
    {"background_height", GetLayerBackgroundSize<&CBackground::height>, nullptr},
    {"background_htiled", GetLayer<bool, &CBack::htiled>, SetLayer<bool, &CBack::htiled>},
    {"background_vtiled", GetLayer<bool, &CBack::vtiled>, SetLayer<bool, &CBack::vtiled>},
    {"background_xscale", GetLayer<double, &CBack::xscale>, SetLayer<double, &CBack::xscale>},
    {"background_yscale", GetLayer<double, &CBack::yscale>, SetLayer<double, &CBack::yscale>},
    {"background_hspeed", GetLayer<double, &CBack::hspeed>, SetLayer<double, &CBack::hspeed>},
    {"background_vspeed", GetLayer<double, &CBack::vspeed>, SetLayer<double, &CBack::vspeed>},
    {"background_alpha", GetLayer<double, &CBack::alpha>, SetLayer<double, &CBack::alpha>},
    {"background_blend", GetLayer<int32_t, &CBack::blend>, SetLayer<int32_t, &CBack::blend>},
    {"view_enabled", GetRoomBool<&CRoom::views_enabled>, SetRoomBool<&CRoom::views_enabled>},
    {"view_current", GetViewCurrent, nullptr},
    {"view_visible", GetView<bool, &CView::visible>, SetView<bool, &CView::visible>},
    {"view_xview", GetView<int32_t, &CView::xview>, SetView<int32_t, &CView::xview>},
    {"view_yview", GetView<int32_t, &CView::yview>, SetView<int32_t, &CView::yview>},
    {"view_wview", GetView<int32_t, &CView::wview>, SetView<int32_t, &CView::wview>},
    {"view_hview", GetView<int32_t, &CView::hview>, SetView<int32_t, &CView::hview>},
    {"view_xport", GetView<int32_t, &CView::xport>, SetView<int32_t, &CView::xport>},
    {"view_yport", GetView<int32_t, &CView::yport>, SetView<int32_t, &CView::yport>},
    {"view_wport", GetView<int32_t, &CView::wport>, SetView<int32_t, &CView::wport>},
    {"view_hport", GetView<int32_t, &CView::hport>, SetView<int32_t, &CView::hport>},
    {"view_angle", GetView<double, &CView::angle>, SetView<double, &CView::angle>},
    {"view_hborder", GetView<int32_t, &CView::hborder>, SetView<int32_t, &CView::hborder>},
    {"view_vborder", GetView<int32_t, &CView::vborder>, SetView<int32_t, &CView::vborder>},
    {"view_hspeed", GetView<int32_t, &CView::hspeed>, SetView<int32_t, &CView::hspeed>},
    {"view_vspeed", GetView<int32_t, &CView::vspeed>, SetView<int32_t, &CView::vspeed>},
    {"view_object", GetView<int32_t, &CView::object>, SetView<int32_t, &CView::object>},
    {"mouse_x", GetMouseX, nullptr},
    {"mouse_y", GetMouseY, nullptr},
    {"mouse_button", GetInput<&CInputState::mouse_button, 1, 3>,
     SetInput<&CInputState::mouse_button, 1, 3>},
    {"mouse_lastbutton", GetInput<&CInputState::mouse_lastbutton, 1, 3>,
     SetInput<&CInputState::mouse_lastbutton, 1, 3>},
    {"keyboard_key", GetInput<&CInputState::keyboard_key, 0, 255>,
     SetInput<&CInputState::keyboard_key, 0, 255>},
    {"keyboard_lastkey", GetInput<&CInputState::keyboard_lastkey, 0, 255>,
     SetInput<&CInputState::keyboard_lastkey, 0, 255>},
    {"keyboard_lastchar", GetLastChar, SetLastChar},
    {"keyboard_string", GetKeyboardString, SetKeyboardString},
    {"cursor_sprite", Get_cursor_sprite, Set_cursor_sprite},
    {"show_score", GetShow<&CRunState::show_score>, SetShow<&CRunState::show_score>},
    {"show_lives", GetShow<&CRunState::show_lives>, SetShow<&CRunState::show_lives>},
    {"show_health", GetShow<&CRunState::show_health>, SetShow<&CRunState::show_health>},
    {"caption_score", GetCaption<&CRunState::caption_score>, SetCaption<&CRunState::caption_score>},
    {"caption_lives", GetCaption<&CRunState::caption_lives>, SetCaption<&CRunState::caption_lives>},
    {"caption_health", GetCaption<&CRunState::caption_health>,
     SetCaption<&CRunState::caption_health>},
    {"fps", GetFps, nullptr},
    {"current_time", GetCurrentTime, nullptr},
    {"current_year", GetDatePart<0>, nullptr},
    {"current_month", GetDatePart<1>, nullptr},
    {"current_day", GetDatePart<2>, nullptr},
    {"current_weekday", GetDatePart<3>, nullptr},
    {"current_hour", GetDatePart<4>, nullptr},
    {"current_minute", GetDatePart<5>, nullptr},
    {"current_second", GetDatePart<6>, nullptr},
    {"event_type", GetContext<&CEventContext::event_type>, nullptr},
    {"event_number", GetContext<&CEventContext::event_number>, nullptr},
    {"event_object", GetContext<&CEventContext::object_index>, nullptr},
    {"event_action", GetContext<&CEventContext::action_index>, nullptr},
    {"secure_mode", GetSecureMode, nullptr},
    {"error_occurred", GetErrorOccurred, SetErrorOccurred},
    {"error_last", GetErrorLast, SetErrorLast},
};

}  // namespace

void RegisterBuiltinVariables(CGame& game) {
  CBuiltinVariableTable& t = game.language.builtins;
  if (t.Find("argument0") >= 0) return;
  RegisterArguments(t, std::make_integer_sequence<int, kArgumentCount>());
  t.Register("argument", GetArgumentIndexed, SetArgumentIndexed);
  for (const Variable& v : kInstanceVariables)
    t.Register(v.name, v.get, v.set);
  for (const Variable& v : kGameVariables)
    t.Register(v.name, v.get, v.set);
}

std::string ProgramDirectory(const CGame& game) {
  std::error_code ec;
  std::filesystem::path p;
  if (!game.options.game_path.empty()) {
    p = std::filesystem::absolute(game.options.game_path, ec).parent_path();
  } else {
    p = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
  }
  std::string s = p.string();
  while (s.size() > 1 && s.back() == '/')
    s.pop_back();
  return s;
}

}  // namespace zorvex
