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

namespace zorvex {
namespace {

TEST(PlatformDialog, HeadlessErrorWindowPrintsLinesAndTakesAbortOrIgnore) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  CHeadlessDialogService d(f);
  // The error window shares the answer lines with the boxes, in order.
  d.SetAnswers({"Abort", "yes", " I ", "", "ignore"});
  const std::string m = "ERROR in\r\naction number 1\r\nof Step Event\r\nfor object a:\r\n\r\nbad";
  EXPECT_TRUE(d.ShowErrorMessages(m, true));     // "Abort"
  EXPECT_TRUE(d.AskYesNo("Q", "question"));      // "yes"
  EXPECT_FALSE(d.ShowErrorMessages("x", true));  // " I "
  EXPECT_FALSE(d.ShowErrorMessages("y", true));  // "": the default, Ignore
  // Without Ignore on offer the answer cannot keep the game going.
  EXPECT_TRUE(d.ShowErrorMessages("fatal", false));  // "ignore"
  EXPECT_FALSE(d.ShowErrorMessages("z\rw", true));   // no answers left: Ignore
  EXPECT_EQ(Captured(f),
            "[error] ERROR in\naction number 1\nof Step Event\nfor object a:\n\nbad\n"
            "[dialog] Q: question\n"
            "[error] x\n"
            "[error] y\n"
            "[error] fatal\n"
            "[error] z\nw\n");
  std::fclose(f);
}

TEST(PlatformDialog, ScriptedServiceAnswersErrorWindows) {
  CScriptedDialogService d;
  d.error_aborts = {true};
  EXPECT_TRUE(d.ShowErrorMessages("one", true));
  EXPECT_FALSE(d.ShowErrorMessages("two", true));
  EXPECT_TRUE(d.ShowErrorMessages("three", false));
  ASSERT_EQ(d.shown.size(), 3u);
  EXPECT_EQ(d.shown[1].kind, CScriptedDialogService::Shown::kError);
  EXPECT_EQ(d.shown[1].caption, "Error Messages");
  EXPECT_EQ(d.shown[1].text, "two");
  EXPECT_TRUE(d.shown[1].ignore_allowed);
  EXPECT_FALSE(d.shown[2].ignore_allowed);
}

TEST(PlatformDialog, AbortIgnoreWords) {
  bool abort = false;
  EXPECT_TRUE(ParseAbortIgnore("ABORT", abort));
  EXPECT_TRUE(abort);
  EXPECT_TRUE(ParseAbortIgnore("i\r", abort));
  EXPECT_FALSE(abort);
  EXPECT_FALSE(ParseAbortIgnore("yes", abort));
  EXPECT_FALSE(ParseAbortIgnore("", abort));
}

TEST(PlatformDialog, SystemServiceWithoutAWindowFallsBackToIgnore) {
  // No message loop to run the window on: the message goes to standard error and the game
  // goes on unless Ignore was not on offer.
  CSystemDialogService d;
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(d.ShowErrorMessages("first\r\nline", true));
  EXPECT_TRUE(d.ShowErrorMessages("fatal", false));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "Error Messages: first\nline\nError Messages: fatal\n");
}

}  // namespace
}  // namespace zorvex
