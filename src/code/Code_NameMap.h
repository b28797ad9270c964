// Name tables keyed by std::string but searchable with a string_view, without a temporary.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace zorvex {

struct NameHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

template <typename T>
using NameMap = std::unordered_map<std::string, T, NameHash, std::equal_to<>>;

}  // namespace zorvex
