// extensions/NAME/: an extension package; package.json describes its files, their functions
// and constants, and the files themselves lie beside it.
#include <set>

#include "runner/Support_Stream.h"
#include "zorvex-build/Builder_Catalog.h"
#include "zorvex-build/Builder_Readers.h"
#include "zorvex-build/Builder_Text.h"

namespace zorvex {

namespace fs = std::filesystem;

namespace {

constexpr NamedValue kFileKinds[] = {
    {"library", CExtensionFile::kLibrary},
    {"script", CExtensionFile::kScript},
    {"none", CExtensionFile::kNoFile},
    {"other", CExtensionFile::kOther},
};
constexpr NamedValue kCallKinds[] = {{"cdecl", CExtensionFunction::kCdecl}, {"stdcall", 11}};
constexpr NamedValue kValueKinds[] = {{"string", CExtensionFunction::kString},
                                      {"real", CExtensionFunction::kReal}};

// Script files are split into lines at carriage returns: lines ending in a bare line feed get
// their carriage return.
std::string WithCarriageReturns(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out.push_back('\r');
    out.push_back(text[i]);
  }
  return out;
}

struct PackageReader {
  const fs::path& folder;
  const std::string& display;  // "extensions/NAME"
  std::string file;            // "extensions/NAME/package.json"
  std::set<int32_t>& used_ids;
  std::string& error;

  bool Function(const Json& v, const std::string& at, CExtensionFunction& fn) {
    if (!v.is_object()) {
      error = file + ": field \"" + at + "\": expected an object";
      return false;
    }
    CJsonFields f(v, file, at, error);
    fn.id = -1;
    fn.argument_count = 0;
    if (!f.OnlyKnown({"name", "external", "call", "id", "args", "result"}) ||
        !f.Text("name", fn.name) || !f.Text("external", fn.external_name) ||
        !f.Named("call", kCallKinds, fn.call_kind) ||
        !f.IntIn("id", fn.id, 0, CExtensionFunction::kMaxId) ||
        !f.Named("result", kValueKinds, fn.result_kind))
      return false;
    if (!IsResourceName(fn.name))
      return f.Fail("name", "a function name is letters, digits and _, not beginning with a digit");
    if (fn.external_name.empty()) fn.external_name = fn.name;
    if (f.Has("args")) {
      const Json& args = v.at("args");
      if (args.is_number_integer()) {
        if (!f.IntIn("args", fn.argument_count, -1, CExtensionFunction::kArgumentKinds))
          return false;
      } else if (args.is_array() && args.size() <= CExtensionFunction::kArgumentKinds) {
        fn.argument_count = static_cast<int32_t>(args.size());
        for (size_t i = 0; i < args.size(); ++i) {
          if (args[i] == "string") {
            fn.argument_kinds[i] = CExtensionFunction::kString;
          } else if (args[i] != "real") {
            return f.Fail("args[" + std::to_string(i) + "]", "expected \"real\" or \"string\"");
          }
        }
      } else {
        return f.Fail("args",
                      "expected the argument count (-1 for any) or a list of \"real\" and "
                      "\"string\" (at most 17)");
      }
    }
    if (fn.id >= 0 && !used_ids.insert(fn.id).second)
      return f.Fail("id", "the function id " + std::to_string(fn.id) +
                              " is already used (ids are unique across the game)");
    return true;
  }

  bool File(const Json& v, const std::string& at, CExtensionFile& out) {
    if (!v.is_object()) {
      error = file + ": field \"" + at + "\": expected an object";
      return false;
    }
    CJsonFields f(v, file, at, error);
    if (!f.OnlyKnown({"file", "kind", "init", "final", "functions", "constants"}) ||
        !f.Text("file", out.file_name) || !f.Named("kind", kFileKinds, out.kind) ||
        !f.Text("init", out.init_function) || !f.Text("final", out.final_function))
      return false;
    if (out.HasContent()) {
      if (out.file_name.empty()) return f.Fail("file", "the file's name is missing");
      const std::string name = v.at("file").get<std::string>();
      if (name.find_first_of("/\\") != std::string::npos || name == "." || name == "..")
        return f.Fail("file", "a file of the package lies directly in " + display + "/");
      std::string bytes;
      if (!ReadFileBytes(folder / name, bytes))
        return f.Fail("file", display + "/" + name + ": cannot be read");
      if (out.kind == CExtensionFile::kScript) {
        std::string text, why;
        if (!ToGameText(bytes, text, why)) return f.Fail("file", display + "/" + name + ": " + why);
        bytes = WithCarriageReturns(text);
      }
      out.content.assign(bytes.begin(), bytes.end());
    }
    if (f.Has("functions")) {
      const Json& list = v.at("functions");
      if (!list.is_array()) return f.Fail("functions", "expected a list of functions");
      out.functions.resize(list.size());
      for (size_t i = 0; i < list.size(); ++i)
        if (!Function(list[i], f.FieldName("functions[" + std::to_string(i) + "]"),
                      out.functions[i]))
          return false;
    }
    if (f.Has("constants")) {
      const Json& list = v.at("constants");
      if (!list.is_object()) return f.Fail("constants", "expected an object of NAME: value");
      for (auto it = list.begin(); it != list.end(); ++it) {
        CExtensionConstant c;
        const std::string field = "constants." + it.key();
        std::string why;
        if (!IsResourceName(it.key()))
          return f.Fail(field,
                        "a constant name is letters, digits and _, not beginning with a digit");
        if (it.value().is_number()) {
          c.value = it.value().dump();
        } else if (!it.value().is_string()) {
          return f.Fail(field, "expected a string or a number");
        } else if (!ToGameText(it.value().get<std::string>(), c.value, why)) {
          return f.Fail(field, why);
        }
        c.name = it.key();
        out.constants.push_back(std::move(c));
      }
    }
    return true;
  }

  bool Read(const std::string& name, CExtensionPackage& pkg) {
    Json j;
    if (!LoadEntryJson(folder / "package.json", file, false, j, error)) return false;
    CJsonFields f(j, file, "", error);
    pkg.name = name;
    pkg.folder_name = name;
    if (!f.OnlyKnown({"folder", "files"}) || !f.Text("folder", pkg.folder_name)) return false;
    if (pkg.folder_name.empty() || pkg.folder_name.find_first_of("/\\:") != std::string::npos ||
        pkg.folder_name == "." || pkg.folder_name == "..")
      return f.Fail("folder", "a plain folder name (the package's folder in the temporary folder)");
    if (f.Has("files")) {
      const Json& list = j.at("files");
      if (!list.is_array()) return f.Fail("files", "expected a list of files");
      pkg.files.resize(list.size());
      for (size_t i = 0; i < list.size(); ++i)
        if (!File(list[i], "files[" + std::to_string(i) + "]", pkg.files[i])) return false;
    }
    // Every file in the folder is part of the package, so nothing is left behind unnoticed.
    for (const fs::directory_entry& e : FolderEntries(folder)) {
      const std::string fname = e.path().filename().string();
      const std::string ext = LowerExtension(e.path());
      if (fname == "package.json" || ext == ".txt" || ext == ".md") continue;
      bool listed = false;
      for (size_t i = 0; i < pkg.files.size(); ++i)
        listed =
            listed || (pkg.files[i].HasContent() && j.at("files")[i].value("file", "") == fname);
      if (!listed) {
        error = display + "/" + fname + ": not a file of the package (list it in package.json)";
        return false;
      }
    }
    // The data block's seed comes from the name, so builds repeat.
    uint32_t h = 2166136261u;
    for (char c : name)
      h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    pkg.data_seed = static_cast<int32_t>(h % 2000000u) + 1;
    return true;
  }
};

}  // namespace

bool ReadExtensionFolder(CProject& project, std::string& error) {
  CExtensionPackages& packages = project.resources->extensions;
  std::set<int32_t> used_ids;
  for (const fs::directory_entry& e : FolderEntries(project.folder / "extensions")) {
    const std::string name = e.path().filename().string();
    const std::string display = "extensions/" + name;
    std::error_code ec;
    if (!e.is_directory(ec)) {
      if (LowerExtension(e.path()) == ".txt" || LowerExtension(e.path()) == ".md") continue;
      error = display +
              ": not an extension package (a package is a folder extensions/NAME/ "
              "with package.json)";
      return false;
    }
    CExtensionPackage pkg;
    PackageReader reader{e.path(), display, display + "/package.json", used_ids, error};
    std::string game_name, why;
    if (!ToGameText(name, game_name, why)) {
      error = display + ": the package name cannot be stored: " + why;
      return false;
    }
    packages.packages.push_back(std::move(pkg));
    if (!reader.Read(game_name, packages.packages.back())) return false;
  }
  // Functions without an id take the free ids in order.
  int32_t next = 0;
  for (CExtensionPackage& pkg : packages.packages) {
    for (CExtensionFile& file : pkg.files) {
      for (CExtensionFunction& fn : file.functions) {
        if (fn.id >= 0) continue;
        while (used_ids.count(next) != 0)
          ++next;
        fn.id = next;
        used_ids.insert(next);
      }
    }
  }
  return true;
}

}  // namespace zorvex
