// The listing of a project's resource folders and what every resource reader shares: resource
// numbers, names resolved across kinds, code given inline or as a file, the JSON of an entry.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "zorvex-build/Builder_Json.h"
#include "zorvex-build/Builder_Project.h"

namespace zorvex {

// Lists sprites/, sounds/, backgrounds/, paths/, scripts/, fonts/, timelines/, objects/ and
// rooms/, checks the names (usable in code, unique across kinds) and numbers the resources of
// each kind: first the names game.json lists under "resource_order", then the rest sorted by
// name (byte order).
bool ListProjectFolders(CProject& project, std::string& error);

// A name game code can use: a letter or _, then letters, digits and _.
bool IsResourceName(std::string_view name);

// The files of a folder (hidden ones skipped), sorted by name; an absent folder has none.
std::vector<std::filesystem::directory_entry> FolderEntries(const std::filesystem::path& folder);

// Lower-case extension with its dot.
std::string LowerExtension(const std::filesystem::path& path);

// Reads the JSON object of a project file (absent when `optional` and the file does not exist:
// an empty object).
bool LoadEntryJson(const std::filesystem::path& path, const std::string& display, bool optional,
                   Json& out, std::string& error);

// A field naming a resource of a kind: its index, or -1 for a null or absent field.
bool ResolveName(const CProject& project, CJsonFields& f, const char* field, ProjectKind kind,
                 int32_t& out);
// The same for a bare JSON value (array elements, event keys).
bool ResolveNameValue(const CProject& project, const Json& value, ProjectKind kind, int32_t& out,
                      std::string& why);

// Code in a string field: the code itself, or the name of a .gml file beside the JSON file
// (relative to `base`, which `base_display` names in messages). Game text either way.
bool ReadCodeText(const std::filesystem::path& base, const std::string& base_display,
                  const std::string& text, std::string& out, std::string& why);
bool CodeField(CJsonFields& f, const char* field, const std::filesystem::path& base,
               const std::string& base_display, std::string& out);

// The display form of the folder holding an entry's file ("objects").
std::string DisplayFolder(const CProjectEntry& entry);

}  // namespace zorvex
