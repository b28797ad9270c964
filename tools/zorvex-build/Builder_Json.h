// Reading the JSON files of a project folder so that every complaint names the file and the
// field ("game.json: field \"scaling\": expected an integer").
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace zorvex {

using Json = nlohmann::ordered_json;

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

 private:
  const Json& object_;
  std::string file_;
  std::string prefix_;
  std::string& error_;
};

}  // namespace zorvex
