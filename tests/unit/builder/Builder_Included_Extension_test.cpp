// Included files, extension packages, library initialisation code and the listing rules of a
// project folder, through a built file, as the runner reads them.
#include <gtest/gtest.h>

#include "Builder_Test_Project.h"

namespace zorvex {
namespace {

TEST(BuilderIncluded, FilesAndOptionsReachTheRunner) {
  CTestProject t("included");
  t.Write("included/data.bin", std::string("\x00\x01\xFF", 3));
  t.Write("included/readme.txt", "Hello\n");
  t.Write("included/empty", "");
  t.Write("included.json", R"({
    "data.bin": {"export": "temp", "overwrite": true, "free_after_export": false},
    "readme.txt": {"export": "folder", "folder": "docs\\help", "remove_at_end": false},
    "empty": {"export": "none"}})");
  auto game = t.Load();
  ASSERT_TRUE(game);
  const auto& files = game->resources.included_files.files;
  ASSERT_EQ(files.size(), 3u);
  // Sorted by name.
  const CDataFile& data = files[0];
  EXPECT_EQ(data.file_name, "data.bin");
  EXPECT_EQ(data.source_path, "included/data.bin");
  EXPECT_TRUE(data.stored);
  EXPECT_TRUE(data.data_present);
  EXPECT_EQ(data.included_size, 3);
  EXPECT_EQ(data.data, (std::vector<uint8_t>{0, 1, 255}));
  EXPECT_EQ(data.export_mode, CDataFile::kTempDirectory);
  EXPECT_TRUE(data.overwrite);
  EXPECT_FALSE(data.free_after_export);
  EXPECT_TRUE(data.remove_at_end);
  EXPECT_EQ(files[1].file_name, "empty");
  EXPECT_EQ(files[1].export_mode, CDataFile::kNoExport);
  EXPECT_TRUE(files[1].data.empty());
  const CDataFile& readme = files[2];
  EXPECT_EQ(readme.export_mode, CDataFile::kFolder);
  EXPECT_EQ(readme.export_folder, "docs\\help");
  EXPECT_FALSE(readme.remove_at_end);
  EXPECT_FALSE(readme.overwrite);
  EXPECT_EQ(std::string(readme.data.begin(), readme.data.end()), "Hello\n");

  // A file without options gets the usual ones: the working directory, removed at the end.
  t.Write("included.json", "{}");
  game = t.Load();
  ASSERT_TRUE(game);
  EXPECT_EQ(game->resources.included_files.files[0].export_mode, CDataFile::kWorkingDirectory);
  EXPECT_TRUE(game->resources.included_files.files[0].free_after_export);

  t.Write("included.json", R"({"missing.txt": {}})");
  EXPECT_EQ(t.Error(),
            "included.json: field \"missing.txt\": there is no file included/missing.txt");
  t.Write("included.json", R"({"data.bin": {"export": "folder"}})");
  EXPECT_EQ(t.Error(),
            "included.json: field \"data.bin.folder\": \"export\": \"folder\" needs the folder");
  t.Write("included.json", R"({"data.bin": {"export": "temp", "folder": "x"}})");
  EXPECT_EQ(t.Error(),
            "included.json: field \"data.bin.folder\": a folder is used only with \"export\": "
            "\"folder\"");
  t.Write("included.json", R"({"data.bin": {"export": "desktop"}})");
  EXPECT_EQ(t.Error(),
            "included.json: field \"data.bin.export\": expected one of \"none\" (0), \"temp\" (1), "
            "\"working\" (2), \"folder\" (3)");
  t.Write("included.json", "{}");
  t.Write("included/sub/x.txt", "x");
  EXPECT_EQ(t.Error(), "included/sub: a folder (included files lie directly in included/)");
}

TEST(BuilderExtension, PackagesWithFunctionsConstantsAndFiles) {
  CTestProject t("extensions");
  t.Write("extensions/ext_b/package.json", R"({"folder": "bfiles", "files": [
    {"file": "b.gml", "kind": "script", "init": "b_init", "final": "b_done",
     "functions": [
       {"name": "b_init"},
       {"name": "b_twice", "external": "twice", "args": ["real"], "id": 0},
       {"name": "b_greet", "args": ["string", "real"], "result": "string", "call": "cdecl"},
       {"name": "b_any", "args": -1}
     ],
     "constants": {"B_VERSION": 2, "B_NAME": "\"b\""}},
    {"file": "native.so", "kind": "library",
     "functions": [{"name": "b_native", "args": 5, "call": "stdcall", "id": 9}]},
    {"kind": "none", "functions": [{"name": "b_none"}]}
  ]})");
  // Line feeds alone: the package's script file is split at carriage returns.
  t.Write("extensions/ext_b/b.gml",
          "// header\n#define b_init\nglobal.b = 1;\n#define twice\nreturn argument0 * 2;\n");
  t.Write("extensions/ext_b/native.so",
          "\x7F"
          "ELF");
  t.Write("extensions/ext_a/package.json", R"({"files": [{"kind": "none",
    "functions": [{"name": "a_fn"}]}]})");
  auto game = t.Load();
  ASSERT_TRUE(game);
  const auto& packages = game->resources.extensions.packages;
  ASSERT_EQ(packages.size(), 2u);
  EXPECT_EQ(packages[0].name, "ext_a");
  EXPECT_EQ(packages[0].folder_name, "ext_a");
  const CExtensionPackage& b = packages[1];
  EXPECT_EQ(b.folder_name, "bfiles");
  ASSERT_EQ(b.files.size(), 3u);
  const CExtensionFile& script = b.files[0];
  EXPECT_EQ(script.kind, CExtensionFile::kScript);
  EXPECT_EQ(script.init_function, "b_init");
  EXPECT_EQ(script.final_function, "b_done");
  ASSERT_EQ(script.functions.size(), 4u);
  EXPECT_EQ(script.functions[0].code, "global.b = 1;");
  EXPECT_EQ(script.functions[1].external_name, "twice");
  // The last line ends with its carriage return, so the code ends with an empty line.
  EXPECT_EQ(script.functions[1].code, "return argument0 * 2;\r\n");
  EXPECT_EQ(script.functions[1].argument_count, 1);
  EXPECT_EQ(script.functions[2].argument_kinds[0], CExtensionFunction::kString);
  EXPECT_EQ(script.functions[2].argument_kinds[1], CExtensionFunction::kReal);
  EXPECT_EQ(script.functions[2].result_kind, CExtensionFunction::kString);
  EXPECT_EQ(script.functions[2].call_kind, CExtensionFunction::kCdecl);
  EXPECT_EQ(script.functions[3].argument_count, -1);
  // Ids: 0 and 9 are given; the others take the free ones in package and file order.
  EXPECT_EQ(packages[0].files[0].functions[0].id, 1);  // a_fn
  EXPECT_EQ(script.functions[0].id, 2);
  EXPECT_EQ(script.functions[1].id, 0);
  EXPECT_EQ(script.functions[2].id, 3);
  EXPECT_EQ(script.functions[3].id, 4);
  EXPECT_EQ(b.files[1].functions[0].id, 9);
  EXPECT_EQ(b.files[2].functions[0].id, 5);
  EXPECT_EQ(script.constants.size(), 2u);
  EXPECT_EQ(script.constants[0].name, "B_VERSION");
  EXPECT_EQ(script.constants[0].value, "2");
  EXPECT_EQ(script.constants[1].value, "\"b\"");
  EXPECT_EQ(std::string(b.files[1].content.begin(), b.files[1].content.end()),
            "\x7F"
            "ELF");
  EXPECT_EQ(game->resources.extensions.FindFunction("b_native"), 9);

  t.Write("extensions/ext_b/stray.dll", "");
  EXPECT_EQ(t.Error(),
            "extensions/ext_b/stray.dll: not a file of the package (list it in package.json)");
  t.Remove("extensions/ext_b/stray.dll");
  t.Write("extensions/ext_a/package.json", R"({"files": [{"kind": "none",
    "functions": [{"name": "a_fn", "id": 9}]}]})");
  EXPECT_EQ(t.Error(),
            "extensions/ext_b/package.json: field \"files[1].functions[0].id\": the function id 9 "
            "is already used (ids are unique across the game)");
  t.Write("extensions/ext_a/package.json",
          R"({"files": [{"file": "gone.gml", "kind": "script"}]})");
  EXPECT_EQ(t.Error(),
            "extensions/ext_a/package.json: field \"files[0].file\": extensions/ext_a/gone.gml: "
            "cannot be read");
  t.Write("extensions/ext_a/package.json", R"({"files": [{"kind": "none",
    "functions": [{"name": "a fn"}]}]})");
  EXPECT_EQ(t.Error(),
            "extensions/ext_a/package.json: field \"files[0].functions[0].name\": a function name "
            "is letters, digits and _, not beginning with a digit");
}

TEST(BuilderProjectListing, NamesAreUniqueAcrossKindsAndFilesAreKnown) {
  CTestProject t("listing");
  t.Write("scripts/thing.gml", "");
  t.Write("objects/thing.json", "{}");
  EXPECT_EQ(t.Error(),
            "objects/thing.json: the name \"thing\" is already used by scripts/thing.gml (game "
            "code knows resources by their names)");
  t.Remove("scripts/thing.gml");
  t.Write("objects/thing.jsn", "{}");
  EXPECT_EQ(t.Error(), "objects/thing.jsn: not an object (objects are NAME.json)");
  t.Remove("objects/thing.jsn");
  // Code files, notes, hidden files and folders of code may sit beside the JSON files.
  t.Write("objects/code/step.gml", "x = 1;");
  t.Write("objects/README.md", "notes");
  t.Write("objects/.thing.json.swp", "");
  t.Write("objects/thing.json", R"({"events": {"step": "code/step.gml"}})");
  auto game = t.Load();
  ASSERT_TRUE(game);
  EXPECT_EQ(game->resources.objects.Count(), 1);
  EXPECT_EQ(game->resources.objects.Get(0)->EventOf(3, 0)->actions[0], CAction::FromCode("x = 1;"));
}

TEST(BuilderProjectListing, LibraryInitCodeAndResourceOrder) {
  CTestProject t("libinit");
  t.Write("lib2.gml", "global.b = 2;");
  t.Write("scripts/scr_a.gml", "");
  t.Write("scripts/scr_b.gml", "");
  t.Write("scripts/scr_c.gml", "");
  t.Write("game.json", R"({"library_init_code": ["global.a = 1;", "lib2.gml"],
    "resource_order": {"scripts": ["scr_c", "scr_a"]}})");
  auto game = t.Load();
  ASSERT_TRUE(game);
  EXPECT_EQ(game->resources.library_init.code,
            (std::vector<std::string>{"global.a = 1;", "global.b = 2;"}));
  EXPECT_EQ(game->resources.scripts.Name(0), "scr_c");
  EXPECT_EQ(game->resources.scripts.Name(1), "scr_a");
  EXPECT_EQ(game->resources.scripts.Name(2), "scr_b");
  t.Write("game.json", R"({"library_init_code": [1]})");
  EXPECT_EQ(t.Error(),
            "game.json: field \"library_init_code[0]\": expected code or the name of a .gml file");
}

}  // namespace
}  // namespace zorvex
