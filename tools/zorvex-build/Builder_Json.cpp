#include "zorvex-build/Builder_Json.h"

#include <fstream>
#include <sstream>

#include "zorvex-build/Builder_Text.h"

namespace zorvex {

bool ParseJsonText(const std::string& text, const std::string& display_name, Json& out,
                   std::string& error) {
  // A key written twice in one object would silently lose one of the values.
  std::vector<std::vector<std::string>> keys;
  std::string twice;
  auto check = [&](int, Json::parse_event_t event, Json& parsed) {
    if (event == Json::parse_event_t::object_start) {
      keys.emplace_back();
    } else if (event == Json::parse_event_t::object_end) {
      keys.pop_back();
    } else if (event == Json::parse_event_t::key && !keys.empty() && parsed.is_string()) {
      const std::string key = parsed.get<std::string>();
      for (const std::string& k : keys.back())
        if (k == key && twice.empty()) twice = key;
      keys.back().push_back(key);
    }
    return true;
  };
  try {
    out = Json::parse(text, check);
  } catch (const Json::parse_error& e) {
    // The library's text carries the position: "... at line 3, column 7: ..."
    std::string what = e.what();
    size_t at = what.find("parse error");
    error = display_name + ": not valid JSON (" +
            (at == std::string::npos ? what : what.substr(at)) + ")";
    return false;
  }
  if (!twice.empty()) {
    error = display_name + ": field \"" + twice + "\": given twice in one object";
    return false;
  }
  if (!out.is_object()) {
    error = display_name + ": expected a JSON object at the top";
    return false;
  }
  return true;
}

bool LoadJsonFile(const std::filesystem::path& path, const std::string& display_name, Json& out,
                  std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = display_name + ": cannot be read";
    return false;
  }
  std::stringstream ss;
  ss << in.rdbuf();
  return ParseJsonText(ss.str(), display_name, out, error);
}

bool CJsonFields::Fail(const std::string& field, const std::string& what) {
  error_ = file_ + ": field \"" + FieldName(field) + "\": " + what;
  return false;
}

bool CJsonFields::Int(const char* field, int32_t& out) {
  if (!Has(field)) return true;
  const Json& v = object_.at(field);
  if (v.is_number_integer()) {
    int64_t x = v.get<int64_t>();
    if (x < INT32_MIN || x > INT32_MAX) return Fail(field, "out of the 32-bit range");
    out = static_cast<int32_t>(x);
    return true;
  }
  if (v.is_number_unsigned()) return Fail(field, "out of the 32-bit range");
  return Fail(field, "expected an integer");
}

bool CJsonFields::Bool(const char* field, bool& out) {
  if (!Has(field)) return true;
  const Json& v = object_.at(field);
  if (!v.is_boolean()) return Fail(field, "expected true or false");
  out = v.get<bool>();
  return true;
}

bool CJsonFields::String(const char* field, std::string& out) {
  if (!Has(field)) return true;
  const Json& v = object_.at(field);
  if (!v.is_string()) return Fail(field, "expected a string");
  out = v.get<std::string>();
  return true;
}

bool CJsonFields::Text(const char* field, std::string& out) {
  std::string utf8;
  if (!Has(field)) return true;
  if (!String(field, utf8)) return false;
  std::string why;
  if (!ToGameText(utf8, out, why)) return Fail(field, why);
  return true;
}

bool CJsonFields::Double(const char* field, double& out) {
  if (!Has(field)) return true;
  const Json& v = object_.at(field);
  if (!v.is_number()) return Fail(field, "expected a number");
  out = v.get<double>();
  return true;
}

bool CJsonFields::IntIn(const char* field, int32_t& out, int32_t min, int32_t max) {
  if (!Has(field)) return true;
  int32_t v = out;
  if (!Int(field, v)) return false;
  if (v < min || v > max)
    return Fail(field, "expected " + std::to_string(min) + " to " + std::to_string(max));
  out = v;
  return true;
}

bool CJsonFields::Named(const char* field, std::span<const NamedValue> names, int32_t& out) {
  if (!Has(field)) return true;
  const Json& v = object_.at(field);
  std::string list;
  for (const NamedValue& n : names) {
    if (v.is_string() && v.get<std::string>() == n.name) {
      out = n.value;
      return true;
    }
    if (v.is_number_integer() && v.get<int64_t>() == n.value) {
      out = n.value;
      return true;
    }
    list += (list.empty() ? "\"" : ", \"") + std::string(n.name) + "\" (" +
            std::to_string(n.value) + ")";
  }
  return Fail(field, "expected one of " + list);
}

bool CJsonFields::Color(const char* field, int32_t& out) {
  if (!Has(field)) return true;
  const Json& v = object_.at(field);
  if (v.is_number_integer()) return Int(field, out);
  if (v.is_string()) {
    std::string s = v.get<std::string>();
    if (s.size() == 7 && s[0] == '#') {
      char* end = nullptr;
      unsigned long rgb = std::strtoul(s.c_str() + 1, &end, 16);
      if (end == s.c_str() + 7) {
        // Stored with red in the low byte.
        out = static_cast<int32_t>((rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF));
        return true;
      }
    }
  }
  return Fail(field, "expected a colour: an integer 0xBBGGRR or a string \"#RRGGBB\"");
}

bool CJsonFields::OnlyKnown(const std::vector<const char*>& known) {
  for (auto it = object_.begin(); it != object_.end(); ++it) {
    bool found = false;
    for (const char* k : known)
      if (it.key() == k) found = true;
    if (!found) return Fail(it.key(), "unknown field");
  }
  return true;
}

}  // namespace zorvex
