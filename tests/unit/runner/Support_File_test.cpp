#include "runner/Support_File.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "platform/Platform_Process.h"

namespace zorvex {
namespace {

namespace fs = std::filesystem;

fs::path FreshDir(const std::string& name) {
  fs::path p = fs::path(testing::TempDir()) / name;
  fs::remove_all(p);
  fs::create_directories(p);
  return p;
}

TEST(SupportFile, TempDirectoryIsCreatedNamedAndDeletedWithItsContents) {
  fs::path base = FreshDir("tempbase") / "missing" / "parents";
  CTempDirectory t;
  ASSERT_TRUE(t.CreateUnder({base.string()}));
  fs::path dir = t.Path();
  EXPECT_TRUE(fs::is_directory(dir));
  EXPECT_EQ(dir.parent_path(), base);
  std::string name = dir.filename().string();
  ASSERT_EQ(name.rfind("zorvex_ttt_", 0), 0u);
  int number = std::stoi(name.substr(11));
  EXPECT_GE(number, 0);
  EXPECT_LE(number, 99999);

  fs::create_directories(dir / "sub" / "deeper");
  std::ofstream(dir / "a.txt") << "x";
  std::ofstream(dir / "sub" / "deeper" / "b.txt") << "y";
  // A link out of the directory is removed, and what it points to is left alone.
  fs::path outside = FreshDir("outside");
  std::ofstream(outside / "keep.txt") << "keep";
  fs::create_directory_symlink(outside, dir / "link");
  t.Delete();
  EXPECT_FALSE(fs::exists(dir));
  EXPECT_TRUE(fs::exists(outside / "keep.txt"));
  t.Delete();  // twice is harmless
}

TEST(SupportFile, TempDirectoryFallsBackAndDestructorDeletes) {
  fs::path good = FreshDir("fallback");
  fs::path file = good / "plainfile";
  std::ofstream(file) << "not a directory";
  std::string path;
  {
    CTempDirectory t;
    ASSERT_TRUE(t.CreateUnder({(file / "x").string(), good.string()}));
    path = t.Path();
    EXPECT_EQ(fs::path(path).parent_path(), good);
  }
  EXPECT_FALSE(fs::exists(path));
  CTempDirectory none;
  EXPECT_FALSE(none.CreateUnder({(file / "y").string()}));
  EXPECT_FALSE(none.Created());
  EXPECT_FALSE(none.Path().empty());  // the last attempt's path is kept
}

TEST(SupportFile, UniqueFileNamesNameNoExistingFile) {
  CTempDirectory t;
  ASSERT_TRUE(t.CreateUnder({FreshDir("unique").string()}));
  std::set<std::string> seen;
  for (int i = 0; i < 50; ++i) {
    std::string p = t.UniqueFileName(".wav");
    EXPECT_EQ(fs::path(p).parent_path(), fs::path(t.Path()));
    std::string name = fs::path(p).filename().string();
    EXPECT_EQ(name[0], 'a');
    EXPECT_EQ(name.substr(name.size() - 4), ".wav");
    EXPECT_FALSE(fs::exists(p));
    std::ofstream(p) << i;
    EXPECT_TRUE(seen.insert(p).second);
  }
}

TEST(SupportFile, CommandLinesSplitByWindowsRules) {
  EXPECT_EQ(SplitCommandLine("  prog  a\tb  "), (std::vector<std::string>{"prog", "a", "b"}));
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\x.exe\" \"two words\""),
            (std::vector<std::string>{"C:\\Program Files\\x.exe", "two words"}));
  EXPECT_EQ(SplitCommandLine("a\\\\\\\"b"), (std::vector<std::string>{"a\\\"b"}));  // 3 + quote
  EXPECT_EQ(SplitCommandLine("\"a\\\\\" b"), (std::vector<std::string>{"a\\", "b"}));
  EXPECT_EQ(SplitCommandLine("a\\b\\\\c"), (std::vector<std::string>{"a\\b\\\\c"}));
  EXPECT_EQ(SplitCommandLine("\"\""), (std::vector<std::string>{""}));
  EXPECT_EQ(SplitCommandLine("\"say \"\"hi\"\"\""), (std::vector<std::string>{"say \"hi\""}));
  EXPECT_TRUE(SplitCommandLine("   ").empty());
}

TEST(SupportFile, RunProgramWaitsAndKeepsProcessingMessages) {
  fs::path dir = FreshDir("run");
  int pumps = 0;
  ASSERT_TRUE(RunProgram("/bin/sh", "-c \"sleep 0.3; pwd > out.txt\"", dir.string(), true,
                         [&] { ++pumps; }));
  EXPECT_GE(pumps, 3);  // 300 ms at one pump per 50 ms poll
  std::ifstream in(dir / "out.txt");
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(fs::path(line), fs::canonical(dir));
  EXPECT_FALSE(RunProgram("/nonexistent/program", "", "", true, nullptr));
  EXPECT_FALSE(RunProgram("", "", "", false, nullptr));
  EXPECT_TRUE(RunProgram("true", "", "", false, nullptr));
}

}  // namespace
}  // namespace zorvex

namespace zorvex {
namespace {

TEST(SupportFile, OpenWithShellHandsTheLinuxPathToTheOpener) {
  fs::path bin = FreshDir("fakebin");
  fs::path out = bin / "opened.txt";
  {
    std::ofstream script(bin / "xdg-open");
    script << "#!/bin/sh\nprintf '%s' \"$1\" > '" << out.string() << "'\n";
  }
  fs::permissions(bin / "xdg-open", fs::perms::owner_all);
  fs::path docs = FreshDir("docs");
  std::ofstream(docs / "ReadMe.TXT") << "hello";
  const std::string old_path = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (bin.string() + ":/usr/bin:/bin").c_str(), 1);
  // A game path in other letter case and with backslashes names the existing file.
  std::string game_path = docs.string() + "\\readme.txt";
  EXPECT_TRUE(OpenWithShell(game_path, "ignored", ""));
  for (int i = 0; i < 100 && !fs::exists(out); ++i)
    usleep(20000);  // the opener is detached
  usleep(50000);
  std::ifstream in(out);
  std::string got;
  std::getline(in, got);
  EXPECT_EQ(got, (docs / "ReadMe.TXT").string());
  // Addresses are passed as they are; without an opener nothing is accepted.
  fs::remove(out);
  EXPECT_TRUE(OpenWithShell("https://example.org/A\\B", "", ""));
  for (int i = 0; i < 100 && !fs::exists(out); ++i)
    usleep(20000);
  usleep(50000);
  std::ifstream in2(out);
  std::getline(in2, got);
  EXPECT_EQ(got, "https://example.org/A\\B");
  setenv("PATH", FreshDir("emptybin").c_str(), 1);
  EXPECT_FALSE(OpenWithShell(game_path, "", ""));
  setenv("PATH", old_path.c_str(), 1);
}

}  // namespace
}  // namespace zorvex
