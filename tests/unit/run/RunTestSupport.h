// A game built in memory for the runtime's tests: objects with code events, rooms with placed
// instances, and a recording function rec(...) whose calls the test reads back.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "code/Code_Round.h"
#include "code/Script_Main.h"
#include "functions/Function_Math_Format.h"
#include "game/Game.h"
#include "run/Event_Action.h"
#include "run/Event_Main.h"
#include "run/Run_Main.h"

namespace zorvex::testing {

// The calls of rec(...) in order, each its arguments joined by spaces.
inline std::vector<std::string>& RecordedCalls() {
  static std::vector<std::string> calls;
  return calls;
}

inline std::string ValueText(const RValue& v) {
  return v.IsString() ? v.str : RealToString(v.real);
}

inline void Rec(CGame&, CInstanceCore*, CInstanceCore*, int argc, RValue* args, RValue&) {
  std::string s;
  for (int i = 0; i < argc; ++i)
    s += (i ? " " : "") + ValueText(args[i]);
  RecordedCalls().push_back(s);
}

class RunGameTest : public ::testing::Test {
 protected:
  RunGameTest() {
    RecordedCalls().clear();
    game.functions.Register("rec", Rec, -1);
    InstallRuntime(game);
    // As the builder numbers placed instances: from 100001 on.
    game.resources.rooms.last_instance_id = 100000;
    game.errors.show_window = [this](const std::string& m, bool ignore) {
      errors.push_back(m);
      fatal.push_back(!ignore);
      return false;
    };
  }

  int32_t AddObject(const std::string& name, int32_t parent = -1, int32_t sprite = -1) {
    auto o = std::make_unique<CObject>();
    o->parent_index = parent;
    o->sprite_index = sprite;
    return game.resources.objects.Append(std::move(o), name);
  }
  CObject& Object(int32_t id) { return *game.resources.objects.Get(id); }
  // Appends a code action to the event.
  void Code(int32_t object, int32_t type, int32_t number, const std::string& code) {
    Object(object).EventAt(type, number)->AddCodeAction(code);
  }
  CEvent& Event(int32_t object, int32_t type, int32_t number) {
    return *Object(object).EventAt(type, number);
  }

  // A room with placed instances {object, x, y[, creation code]}; ids from 100001 on.
  struct Placed {
    Placed(int32_t o, int32_t px = 0, int32_t py = 0, std::string code = "")  // NOLINT
        : object(o), x(px), y(py), creation_code(std::move(code)) {}
    int32_t object;
    int32_t x;
    int32_t y;
    std::string creation_code;
  };
  int32_t AddRoom(const std::string& name, std::vector<Placed> placed = {},
                  const std::string& creation_code = "") {
    auto r = std::make_unique<CRoom>();
    for (const Placed& p : placed) {
      CRoomInstance ri;
      ri.object = p.object;
      ri.x = p.x;
      ri.y = p.y;
      ri.id = ++game.resources.rooms.last_instance_id;
      ri.creation_code = p.creation_code;
      r->instances.push_back(ri);
    }
    r->creation_code = creation_code;
    int32_t id = game.resources.rooms.Append(std::move(r), name);
    game.resources.room_order.order.push_back(id);
    return id;
  }
  CRoom& RoomResource(int32_t id) { return *game.resources.rooms.Get(id); }

  int32_t AddSprite(const std::string& name, int32_t w, int32_t h, int32_t frames = 1,
                    int32_t xo = 0, int32_t yo = 0) {
    auto s = std::make_unique<CSprite>();
    s->width = w;
    s->height = h;
    s->xoffset = xo;
    s->yoffset = yo;
    s->bbox_left = 0;
    s->bbox_top = 0;
    s->bbox_right = w - 1;
    s->bbox_bottom = h - 1;
    s->precise = false;
    for (int32_t i = 0; i < frames; ++i)
      s->frames.emplace_back(w, h, 0xFFFFFFFFu);
    return game.resources.sprites.Append(std::move(s), name);
  }

  // The compile steps of loading; a failure fails the test.
  void Prepare() {
    ASSERT_TRUE(CompileScripts(game.language)) << game.language.error.message;
    ASSERT_TRUE(CompileTimeLines(game)) << Errors();
    ASSERT_TRUE(PrepareObjects(game)) << Errors();
  }
  void Start() {
    Prepare();
    game.running = true;
    StartGame(game);
  }
  // One step as the loop runs it, without the clock: the step, then the request.
  void Step(int n = 1) {
    for (int i = 0; i < n; ++i) {
      DeliverScriptedInput(game, game.run.steps + 1);
      RunStep(game);
      ++game.run.steps;
      HandleRequest(game);
    }
  }

  std::vector<std::string> TakeCalls() {
    std::vector<std::string> c;
    c.swap(RecordedCalls());
    return c;
  }
  std::string Errors() const {
    std::string s;
    for (const std::string& e : errors)
      s += e + "\n";
    return s;
  }
  CInstanceLists& Lists() { return *game.run.Instances(); }
  CInstance* Find(int32_t id) { return static_cast<CInstance*>(Lists().FindById(id)); }
  // Runs code for the instance (or a temporary one) and gives its result.
  RValue Eval(const std::string& code, CInstance* self = nullptr) {
    CCode c(code, false);
    EXPECT_TRUE(c.Compile(game.language)) << game.language.error.message;
    std::unique_ptr<CInstance> temp;
    if (!self) {
      temp = NewTemporaryInstance(game);
      self = temp.get();
    }
    RValue result;
    if (!c.Execute(game.language, self, self, result)) result = RValue("!" + game.language.error.message);
    return result;
  }

  CGame game;
  std::vector<std::string> errors;
  std::vector<bool> fatal;
};

}  // namespace zorvex::testing
