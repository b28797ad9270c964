// included/: the files a game carries, with their options in included.json beside game.json:
// {"FILE": {"export": "working", "folder": "...", "overwrite": false, "free_after_export": true,
// "remove_at_end": true}}. Files are stored sorted by name.
#include "zorvex-build/Builder_Catalog.h"
#include "zorvex-build/Builder_Readers.h"
#include "zorvex-build/Builder_Text.h"

namespace zorvex {

namespace fs = std::filesystem;

namespace {

constexpr const char* kOptionsFile = "included.json";

constexpr NamedValue kExportModes[] = {
    {"none", CDataFile::kNoExport},
    {"temp", CDataFile::kTempDirectory},
    {"working", CDataFile::kWorkingDirectory},
    {"folder", CDataFile::kFolder},
};

bool ReadOptions(const Json& options, const std::string& file, CDataFile& d, std::string& error) {
  if (!options.contains(file)) return true;
  const Json& v = options.at(file);
  if (!v.is_object()) {
    error = std::string(kOptionsFile) + ": field \"" + file + "\": expected an object of options";
    return false;
  }
  CJsonFields f(v, kOptionsFile, file, error);
  if (!f.OnlyKnown({"export", "folder", "overwrite", "free_after_export", "remove_at_end"}) ||
      !f.Named("export", kExportModes, d.export_mode) || !f.Text("folder", d.export_folder) ||
      !f.Bool("overwrite", d.overwrite) || !f.Bool("free_after_export", d.free_after_export) ||
      !f.Bool("remove_at_end", d.remove_at_end))
    return false;
  if (d.export_mode == CDataFile::kFolder && d.export_folder.empty())
    return f.Fail("folder", "\"export\": \"folder\" needs the folder");
  if (d.export_mode != CDataFile::kFolder && f.Has("folder"))
    return f.Fail("folder", "a folder is used only with \"export\": \"folder\"");
  return true;
}

}  // namespace

bool ReadIncludedFolder(CProject& project, std::string& error) {
  Json options;
  if (!LoadEntryJson(project.folder / kOptionsFile, kOptionsFile, true, options, error))
    return false;
  CIncludedFiles& list = project.resources->included_files;
  std::vector<std::string> names;
  for (const fs::directory_entry& e : FolderEntries(project.folder / "included")) {
    const std::string file = e.path().filename().string();
    const std::string display = "included/" + file;
    std::error_code ec;
    if (e.is_directory(ec)) {
      error = display + ": a folder (included files lie directly in included/)";
      return false;
    }
    CDataFile d;
    std::string why;
    if (!ToGameText(file, d.file_name, why)) {
      error = display + ": the file name cannot be stored: " + why;
      return false;
    }
    std::string bytes;
    if (!ReadFileBytes(e.path(), bytes)) {
      error = display + ": cannot be read";
      return false;
    }
    if (bytes.size() > static_cast<size_t>(INT32_MAX)) {
      error = display + ": larger than 2 GiB";
      return false;
    }
    d.source_path = display;
    d.stored = true;
    d.data_present = true;
    d.included_size = static_cast<int32_t>(bytes.size());
    d.data.assign(bytes.begin(), bytes.end());
    if (!ReadOptions(options, file, d, error)) return false;
    names.push_back(file);
    list.files.push_back(std::move(d));
  }
  for (auto it = options.begin(); it != options.end(); ++it) {
    bool found = false;
    for (const std::string& n : names)
      found = found || n == it.key();
    if (!found) {
      error = std::string(kOptionsFile) + ": field \"" + it.key() +
              "\": there is no file included/" + it.key();
      return false;
    }
  }
  return true;
}

}  // namespace zorvex
