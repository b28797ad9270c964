// Calls built-in functions by name the way the interpreter does, and collects the errors they
// report.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "game/Game.h"

namespace zorvex::testing {

class FunctionCaller {
 public:
  FunctionCaller() {
    game.errors.show_window = [this](const std::string& message, bool ignore_allowed) {
      EXPECT_TRUE(ignore_allowed) << "built-in function errors are not fatal";
      shown.push_back(message);
      return false;  // Ignore
    };
  }

  RValue Call(std::string_view name, std::initializer_list<RValue> arguments) {
    int32_t id = game.functions.Find(name);
    const FunctionEntry* entry = game.functions.Entry(id);
    if (entry == nullptr) {
      ADD_FAILURE() << "no function " << name;
      return RValue();
    }
    RValue args[kMaxArguments];
    int argc = 0;
    for (const RValue& v : arguments)
      args[argc++] = v;
    if (entry->argc >= 0) {
      EXPECT_EQ(entry->argc, argc) << name;
    }
    RValue result;
    entry->handler(game, nullptr, nullptr, argc, args, result);
    return result;
  }

  double Real(std::string_view name, std::initializer_list<RValue> arguments) {
    RValue v = Call(name, arguments);
    EXPECT_TRUE(v.IsReal()) << name << " gave a string: " << v.str;
    return v.real;
  }

  std::string Text(std::string_view name, std::initializer_list<RValue> arguments) {
    RValue v = Call(name, arguments);
    EXPECT_TRUE(v.IsString()) << name << " gave a real: " << v.real;
    return v.str;
  }

  // The message of the only error reported since the last call, without its context prefix;
  // empty when there was none. More than one is a failure.
  std::string TakeError() {
    std::vector<std::string> taken;
    taken.swap(shown);
    if (taken.empty()) return {};
    EXPECT_EQ(taken.size(), 1u);
    const std::string& m = taken.back();
    size_t at = m.rfind("\r\n\r\n");
    return at == std::string::npos ? m : m.substr(at + 4);
  }

  CGame game;
  std::vector<std::string> shown;
};

}  // namespace zorvex::testing
