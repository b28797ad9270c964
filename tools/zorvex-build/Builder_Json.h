// Reading the JSON files of a project folder so that every complaint names the file and the
// field ("game.json: field \"scaling\": expected an integer").
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <vector>

namespace zorvex {

using Json = nlohmann::ordered_json;

// A word a field may hold instead of a number ("kind": "background").
struct NamedValue {
  const char* name;
  int32_t value;
};

// Parses JSON text that must hold an object; the error names the file (and the line and column
// of a syntax error, or a key given twice in one object).
bool ParseJsonText(const std::string& text, const std::string& display_name, Json& out,
                   std::string& error);
// Parses a JSON file; the error names the file (and the line and column of a syntax error).
bool LoadJsonFile(const std::filesystem::path& path, const std::string& display_name, Json& out,
                  std::string& error);

// One JSON object of a project file. Getters leave the output alone when the field is absent
// and fail (setting error) when it has the wrong type or value.
class CJsonFields {
 public:
  // prefix is the dotted path of this object inside the file ("" at the top).
  CJsonFields(const Json& object, std::string file, std::string prefix, std::string& error)
      : object_(object), file_(std::move(file)), prefix_(std::move(prefix)), error_(error) {}

  bool Has(const char* field) const { return object_.contains(field); }
  bool Int(const char* field, int32_t& out);
  bool Bool(const char* field, bool& out);
  bool String(const char* field, std::string& out);
  // A string as the game stores text: Windows-1252 (see ToGameText).
  bool Text(const char* field, std::string& out);
  // Any number.
  bool Double(const char* field, double& out);
  // An integer from min to max.
  bool IntIn(const char* field, int32_t& out, int32_t min, int32_t max);
  // One of the names, or an integer that is one of their values.
  bool Named(const char* field, std::span<const NamedValue> names, int32_t& out);
  // An integer 0x00BBGGRR or a string "#RRGGBB".
  bool Color(const char* field, int32_t& out);
  // Every field of the object must be one of these.
  bool OnlyKnown(const std::vector<const char*>& known);
  // Sets the error for a field and returns false.
  bool Fail(const std::string& field, const std::string& what);
  std::string FieldName(const std::string& field) const {
    return prefix_.empty() ? field : prefix_ + "." + field;
  }
  const std::string& file() const { return file_; }
  const std::string& prefix() const { return prefix_; }
  const Json& object() const { return object_; }

 private:
  const Json& object_;
  std::string file_;
  std::string prefix_;
  std::string& error_;
};

}  // namespace zorvex
