#include "platform/Platform_Dialog.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace zorvex {
namespace {

std::string Captured(std::FILE* f) {
  std::rewind(f);
  std::string out;
  char buf[256];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
    out.append(buf, n);
  return out;
}

TEST(PlatformDialog, HeadlessBoxesPrintAndTakeScriptedAnswers) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  CHeadlessDialogService d(f);
  d.SetAnswers({"No", "", "anything", " y "});
  EXPECT_FALSE(d.AskYesNo("Confirm", "Switch?"));
  d.ShowMessage("Title", "Text \x80");  // uses up the empty line
  EXPECT_TRUE(d.AskYesNo("Q", "neither yes nor no: default"));
  EXPECT_TRUE(d.AskYesNo("Q", "y"));
  EXPECT_TRUE(d.AskYesNo("Q", "no answers left: default"));
  EXPECT_EQ(Captured(f),
            "[dialog] Confirm: Switch?\n"
            "[dialog] Title: Text \xE2\x82\xAC\n"
            "[dialog] Q: neither yes nor no: default\n"
            "[dialog] Q: y\n"
            "[dialog] Q: no answers left: default\n");
  std::fclose(f);
}

TEST(PlatformDialog, ScriptedServiceRecords) {
  CScriptedDialogService d;
  d.answers = {false};
  d.ShowMessage("A", "one");
  EXPECT_FALSE(d.AskYesNo("B", "two"));
  EXPECT_TRUE(d.AskYesNo("C", "three"));
  ASSERT_EQ(d.shown.size(), 3u);
  EXPECT_EQ(d.shown[0].kind, CScriptedDialogService::Shown::kMessage);
  EXPECT_EQ(d.shown[1].caption, "B");
  EXPECT_EQ(d.shown[2].text, "three");
}

TEST(PlatformDialog, YesNoWords) {
  bool yes = false;
  EXPECT_TRUE(ParseYesNo("YES", yes));
  EXPECT_TRUE(yes);
  EXPECT_TRUE(ParseYesNo("n\r", yes));
  EXPECT_FALSE(yes);
  EXPECT_FALSE(ParseYesNo("ok", yes));
  EXPECT_FALSE(ParseYesNo("", yes));
}

}  // namespace
}  // namespace zorvex
