#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../resources/Resource_Test_Util.h"
#include "code/Extension_Main.h"

namespace zorvex {
namespace {

CExtensionFunction Function(std::string name, std::string external, int32_t id, int32_t argc) {
  CExtensionFunction f;
  f.name = std::move(name);
  f.external_name = std::move(external);
  f.id = id;
  f.argument_count = argc;
  f.call_kind = CExtensionFunction::kCdecl;
  f.argument_kinds[0] = CExtensionFunction::kString;
  f.result_kind = CExtensionFunction::kString;
  return f;
}

CExtensionPackage Package() {
  CExtensionPackage p;
  p.name = "Tools";
  p.folder_name = "tools_pkg";
  p.data_seed = 4321;
  CExtensionFile lib;
  lib.file_name = "tools.dll";
  lib.kind = CExtensionFile::kLibrary;
  lib.init_function = "tools_init";
  lib.functions = {Function("tools_init", "Init", 0, 0), Function("tools_add", "Add", 1, 2)};
  lib.constants = {{"TOOLS_VERSION", "3"}};
  lib.content = {'M', 'Z', 0, 1, 2, 3};
  CExtensionFile script;
  script.file_name = "tools.gml";
  script.kind = CExtensionFile::kScript;
  script.functions = {Function("tools_twice", "twice", 2, 1), Function("tools_none", "", 3, 0)};
  std::string text = "ignored\r\n#define twice\r\nreturn argument0 * 2;\r\n\r\n#define other\r\nx";
  script.content.assign(text.begin(), text.end());
  CExtensionFile nofile;
  nofile.kind = CExtensionFile::kNoFile;
  nofile.functions = {Function("tools_add", "Add", 9, 1)};
  p.files = {lib, script, nofile};
  return p;
}

TEST(ExtensionRecord, RoundTripUnpacksLibrariesAndSplitsScripts) {
  testing::TempDir temp;
  CExtensionPackages pkgs;
  pkgs.packages = {Package()};
  CStream s;
  pkgs.WriteSection(s);
  s.Seek(0);
  CExtensionPackages back;
  back.temp_directory = temp.Path();
  ASSERT_TRUE(back.ReadSection(s));
  EXPECT_TRUE(s.AtEnd());
  ASSERT_EQ(back.packages.size(), 1u);
  const CExtensionPackage& p = back.packages[0];
  EXPECT_EQ(p.name, "Tools");
  EXPECT_EQ(p.data_seed, 4321);
  EXPECT_EQ(p.files[0], Package().files[0]);
  EXPECT_EQ(p.files[1].content, Package().files[1].content);
  EXPECT_EQ(p.files[1].functions[0].code, "return argument0 * 2;\r\n");
  EXPECT_EQ(p.files[1].functions[1].external_name, "tools_none");  // empty takes the name
  EXPECT_EQ(p.files[1].functions[1].code, "");
  EXPECT_TRUE(p.files[2].content.empty());

  std::ifstream dll(temp.File("tools_pkg/tools.dll"), std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(dll)), {});
  EXPECT_EQ(bytes, (std::vector<uint8_t>{'M', 'Z', 0, 1, 2, 3}));
  EXPECT_FALSE(std::filesystem::exists(temp.File("tools_pkg/tools.gml")));

  EXPECT_EQ(back.FindFunction("tools_add"), 1);  // the first one, in file order
  EXPECT_EQ(back.FindFunction("nope"), -1);
  EXPECT_EQ(back.FunctionById(9)->argument_count, 1);
  EXPECT_EQ(back.FunctionById(4), nullptr);
  EXPECT_EQ(back.MaxFunctionId(), 9);
}

TEST(ExtensionRecord, NamesAreTrimmedAndLongFunctionsTakeReals) {
  CExtensionPackage p = Package();
  p.files[0].functions[1].name = "  tools_add\t";
  p.files[0].functions[1].external_name = " Add ";
  p.files[0].functions[1].argument_count = 5;
  CStream s;
  p.WriteTo(s);
  s.Seek(0);
  CExtensionPackage back;
  ASSERT_TRUE(back.ReadFrom(s));
  const CExtensionFunction& f = back.files[0].functions[1];
  EXPECT_EQ(f.name, "tools_add");
  EXPECT_EQ(f.external_name, "Add");
  for (int32_t k : f.argument_kinds)
    EXPECT_EQ(k, CExtensionFunction::kReal);
  EXPECT_EQ(back.files[0].functions[0].argument_kinds[0], CExtensionFunction::kString);
}

TEST(ExtensionRecord, ScriptFileSplitting) {
  auto parts = SplitScriptFile("a\r\n#define  one \r\nx = 1;\r\ny = 2;\r#define two\n\r\n\r\nz");
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0].first, "one");
  EXPECT_EQ(parts[0].second, "x = 1;\r\ny = 2;");
  EXPECT_EQ(parts[1].first, "two");
  EXPECT_EQ(parts[1].second, "\r\nz");  // an empty first line still counts
  EXPECT_TRUE(SplitScriptFile("no defines here").empty());
}

TEST(ExtensionRecord, RefusesVersionsIdsAndNamesThatLeaveTheFolder) {
  auto reads = [](const CExtensionPackage& p) {
    CStream s;
    p.WriteTo(s);
    s.Seek(0);
    CExtensionPackage back;
    return back.ReadFrom(s);
  };
  EXPECT_TRUE(reads(Package()));
  for (const char* bad : {"..", "a/b", "..\\up", ""}) {
    CExtensionPackage p = Package();
    p.folder_name = bad;
    EXPECT_FALSE(reads(p)) << bad;
    p = Package();
    p.files[0].file_name = bad;
    EXPECT_FALSE(reads(p)) << bad;
  }
  CExtensionPackage ok = Package();
  ok.files[2].file_name = "";  // a package part without a file needs no name
  EXPECT_TRUE(reads(ok));
  CExtensionPackage id = Package();
  id.files[0].functions[0].id = -1;
  EXPECT_FALSE(reads(id));
  id.files[0].functions[0].id = CExtensionFunction::kMaxId + 1;
  EXPECT_FALSE(reads(id));

  CExtensionPackages pkgs;
  pkgs.packages = {Package()};
  CStream s;
  pkgs.WriteSection(s);
  for (size_t offset : {size_t{0}, size_t{8}}) {
    CStream c(s.Bytes());
    c.Seek(offset);
    c.WriteInt(701);
    c.Seek(0);
    CExtensionPackages back;
    EXPECT_FALSE(back.ReadSection(c)) << offset;
  }
}

}  // namespace
}  // namespace zorvex
