#include "platform/Platform_ErrorForm.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Platform_Clipboard.h"
#include "platform/Platform_Clock.h"
#include "platform/Platform_Loop.h"
#include "platform/Platform_Window.h"

namespace zorvex {
namespace {

const std::string kSeparator(43, '_');

// The layout worked out from the window's fixed size (600 x 400), 8-pixel margins, 28-pixel
// buttons 90 wide and a 17-pixel scroll bar inside the text box's border.
constexpr int32_t kButtonY = 370;  // a row inside the buttons
constexpr int32_t kAbortX = 20, kIgnoreX = 120, kCopyX = 420, kClearX = 520;
constexpr int32_t kBarX = 580;
constexpr int32_t kTrackTop = 26, kTrackLength = 312;

TEST(ErrorFormModel, MessagesAccumulateAfterAnEmptyLineAndTheSeparator) {
  CErrorFormModel m;
  m.AppendMessage("ERROR in\r\naction number 3\r\nof Step Event\r\nfor object obj:\r\n\r\nbad");
  m.AppendMessage("Error in code at line 1:\r   x = \r\rat position 5: y");
  const std::vector<std::string> expected = {"",
                                             kSeparator,
                                             "ERROR in",
                                             "action number 3",
                                             "of Step Event",
                                             "for object obj:",
                                             "",
                                             "bad",
                                             "",
                                             kSeparator,
                                             "Error in code at line 1:",
                                             "   x = ",
                                             "",
                                             "at position 5: y"};
  EXPECT_EQ(m.Lines(), expected);
  std::string text;
  for (const std::string& l : expected)
    text += l + "\r\n";
  EXPECT_EQ(m.Text(), text);
  m.Clear();
  EXPECT_TRUE(m.Lines().empty());
  EXPECT_EQ(m.Text(), "");
  m.AppendMessage("");
  EXPECT_EQ(m.Lines(), (std::vector<std::string>{"", kSeparator, ""}));
}

TEST(ErrorFormModel, LongLinesWrapAtBlanksAndScrollToTheEnd) {
  CErrorFormModel m;
  m.SetTextMetrics(10, 4);
  m.AppendMessage("aaaa bbbb cccc\rabcdefghijklmnopqrstuvwxyz");
  // "" / separator (43: 10+10+10+10+3) / "aaaa bbbb" "cccc" / 26 letters in 10+10+6.
  const auto& rows = m.Rows();
  ASSERT_EQ(rows.size(), 1u + 5u + 2u + 3u);
  EXPECT_EQ(rows[1].length, 10);
  EXPECT_EQ(rows[5].length, 3);
  EXPECT_EQ(rows[6].line, 2);
  EXPECT_EQ(rows[6].start, 0);
  EXPECT_EQ(rows[6].length, 9);  // broken at the blank, which is not shown
  EXPECT_EQ(rows[7].start, 10);
  EXPECT_EQ(rows[7].length, 4);
  EXPECT_EQ(rows[8].length, 10);  // no blank: cut
  EXPECT_EQ(rows[10].start, 20);
  EXPECT_EQ(rows[10].length, 6);
  EXPECT_EQ(m.TopRow(), 11 - 4);  // a new message scrolls to the end
  // Wider rows: fewer of them, still at the end.
  m.SetTextMetrics(50, 4);
  EXPECT_EQ(m.Rows().size(), 4u);
  EXPECT_EQ(m.TopRow(), 0);
}

TEST(ErrorFormModel, KeysScroll) {
  CErrorFormModel m;
  m.SetTextMetrics(80, 4);
  for (int i = 0; i < 5; ++i)
    m.AppendMessage("x\ry");  // four rows each: 20 in all
  m.Begin(true);
  EXPECT_EQ(m.TopRow(), 16);
  EXPECT_TRUE(m.Key(ErrorFormKey::kPageUp));
  EXPECT_EQ(m.TopRow(), 13);  // a page keeps one row
  EXPECT_TRUE(m.Key(ErrorFormKey::kUp));
  EXPECT_EQ(m.TopRow(), 12);
  m.Wheel(1);
  EXPECT_EQ(m.TopRow(), 9);
  EXPECT_TRUE(m.Key(ErrorFormKey::kHome));
  EXPECT_EQ(m.TopRow(), 0);
  EXPECT_TRUE(m.Key(ErrorFormKey::kUp));
  EXPECT_EQ(m.TopRow(), 0);
  m.Wheel(-10);
  EXPECT_EQ(m.TopRow(), 16);
  EXPECT_TRUE(m.Key(ErrorFormKey::kDown));
  EXPECT_EQ(m.TopRow(), 16);
}

TEST(ErrorFormModel, ScrollBarThumbFollowsAndDrags) {
  CErrorFormModel m;
  m.SetTextMetrics(80, 4);
  EXPECT_EQ(m.ThumbRect().h, 0);  // nothing to scroll
  for (int i = 0; i < 5; ++i)
    m.AppendMessage("x\ry");
  m.Begin(true);
  m.ScrollTo(0);
  // 4 of 20 rows: 312 * 4 / 20 = 62 pixels, at the top of the track.
  SoftRect thumb = m.ThumbRect();
  EXPECT_EQ(thumb.y, kTrackTop);
  EXPECT_EQ(thumb.h, 62);
  m.ScrollToEnd();
  EXPECT_EQ(m.ThumbRect().y, kTrackTop + kTrackLength - 62);
  m.ScrollTo(0);
  // Grab the thumb 5 pixels below its top and move it 125 of its 250 pixels of travel: half
  // way, 8 of 16 rows.
  m.MouseDown(kBarX, kTrackTop + 5);
  EXPECT_TRUE(m.TextBoxFocused());
  m.MouseMove(kBarX, kTrackTop + 5 + 125);
  EXPECT_EQ(m.TopRow(), 8);
  m.MouseUp(kBarX, kTrackTop + 5 + 125);
  m.MouseMove(kBarX, kTrackTop);
  EXPECT_EQ(m.TopRow(), 8);  // released
  // The arrows move a row, the track a page.
  m.MouseDown(kBarX, 12);
  m.MouseUp(kBarX, 12);
  EXPECT_EQ(m.TopRow(), 7);
  m.MouseDown(kBarX, 345);
  m.MouseUp(kBarX, 345);
  EXPECT_EQ(m.TopRow(), 8);
  m.MouseDown(kBarX, 320);  // below the thumb
  EXPECT_EQ(m.TopRow(), 11);
}

TEST(ErrorFormModel, ButtonsAndTheirHints) {
  CErrorFormModel m;
  std::vector<std::string> copied;
  m.on_copy = [&](const std::string& t) { copied.push_back(t); };
  m.SetTextMetrics(80, 2);
  m.AppendMessage("one\rtwo");
  m.Begin(true);
  EXPECT_EQ(m.Focus(), ErrorButton::kAbort);
  EXPECT_TRUE(m.ButtonVisible(ErrorButton::kIgnore));
  m.MouseMove(kIgnoreX, kButtonY);
  EXPECT_STREQ(m.Hint(), "Ignore the error and continue the game");
  m.MouseMove(kCopyX, kButtonY);
  EXPECT_STREQ(m.Hint(), "Copy the error messages to the clipboard");
  m.MouseMove(kClearX, kButtonY);
  EXPECT_STREQ(m.Hint(), "Clear the list of error messages");
  m.MouseMove(kAbortX, kButtonY);
  EXPECT_STREQ(m.Hint(), "Abort the execution of the game");
  m.MouseMove(300, 100);
  EXPECT_EQ(m.Hint(), nullptr);

  // Copy hands over the whole text and leaves the scroll position alone.
  m.ScrollTo(1);
  m.MouseDown(kCopyX, kButtonY);
  m.MouseUp(kCopyX, kButtonY);
  ASSERT_EQ(copied.size(), 1u);
  EXPECT_EQ(copied[0], "\n" + kSeparator + "\none\ntwo\n");
  EXPECT_EQ(m.TopRow(), 1);
  EXPECT_EQ(m.Result(), ErrorFormResult::kOpen);
  // A press that ends over another button is no click.
  m.MouseDown(kIgnoreX, kButtonY);
  m.MouseUp(kAbortX, kButtonY);
  EXPECT_EQ(m.Result(), ErrorFormResult::kOpen);
  m.MouseDown(kClearX, kButtonY);
  m.MouseUp(kClearX, kButtonY);
  EXPECT_TRUE(m.Lines().empty());
  EXPECT_EQ(m.TopRow(), 0);
  m.MouseDown(kIgnoreX, kButtonY);
  m.MouseUp(kIgnoreX, kButtonY);
  EXPECT_EQ(m.Result(), ErrorFormResult::kIgnore);

  // Without Ignore on offer its place is empty.
  m.Begin(false);
  EXPECT_FALSE(m.ButtonVisible(ErrorButton::kIgnore));
  m.MouseMove(kIgnoreX, kButtonY);
  EXPECT_EQ(m.Hint(), nullptr);
  m.MouseDown(kIgnoreX, kButtonY);
  m.MouseUp(kIgnoreX, kButtonY);
  EXPECT_EQ(m.Result(), ErrorFormResult::kOpen);
  EXPECT_FALSE(m.Shortcut('i', true));
  m.MouseDown(kAbortX, kButtonY);
  m.MouseUp(kAbortX, kButtonY);
  EXPECT_EQ(m.Result(), ErrorFormResult::kAbort);
  // Closing the window is Abort too.
  m.Begin(true);
  m.CloseRequested();
  EXPECT_EQ(m.Result(), ErrorFormResult::kAbort);
}

TEST(ErrorFormModel, KeyboardFocusAndShortcuts) {
  CErrorFormModel m;
  int copies = 0;
  m.on_copy = [&](const std::string&) { ++copies; };
  m.AppendMessage("m");
  m.Begin(true);
  // Tab goes round: Abort, Ignore, Copy, Clear, the text box, Abort.
  const ErrorButton order[] = {ErrorButton::kIgnore, ErrorButton::kCopy, ErrorButton::kClear,
                               ErrorButton::kNone, ErrorButton::kAbort};
  for (ErrorButton b : order) {
    m.Key(ErrorFormKey::kTab);
    EXPECT_EQ(m.Focus(), b);
  }
  m.Key(ErrorFormKey::kShiftTab);
  EXPECT_TRUE(m.TextBoxFocused());
  // In the text box Space does nothing, letters need Alt, and Enter means Abort.
  EXPECT_FALSE(m.Key(ErrorFormKey::kSpace));
  EXPECT_FALSE(m.Shortcut('c', false));
  EXPECT_TRUE(m.Shortcut('C', true));
  EXPECT_EQ(copies, 1);
  EXPECT_EQ(m.Focus(), ErrorButton::kCopy);
  // On a button, the underlined letter alone works, Space and Enter press the focused button.
  EXPECT_TRUE(m.Key(ErrorFormKey::kSpace));
  EXPECT_TRUE(m.Key(ErrorFormKey::kEnter));
  EXPECT_EQ(copies, 3);
  EXPECT_TRUE(m.Key(ErrorFormKey::kRight));
  EXPECT_EQ(m.Focus(), ErrorButton::kClear);
  EXPECT_TRUE(m.Key(ErrorFormKey::kRight));
  EXPECT_EQ(m.Focus(), ErrorButton::kAbort);  // past the text box
  EXPECT_TRUE(m.Shortcut('l', false));
  EXPECT_TRUE(m.Lines().empty());
  EXPECT_EQ(m.Result(), ErrorFormResult::kOpen);
  EXPECT_EQ(m.Focus(), ErrorButton::kClear);
  m.Key(ErrorFormKey::kTab);
  EXPECT_TRUE(m.TextBoxFocused());
  m.Key(ErrorFormKey::kEnter);
  EXPECT_EQ(m.Result(), ErrorFormResult::kAbort);

  m.Begin(true);
  EXPECT_TRUE(m.Shortcut('i', false));  // the focus starts on Abort, a button
  EXPECT_EQ(m.Result(), ErrorFormResult::kIgnore);
  m.Begin(true);
  m.Key(ErrorFormKey::kEscape);
  EXPECT_EQ(m.Result(), ErrorFormResult::kAbort);
  // Without Ignore, Tab skips it.
  m.Begin(false);
  m.Key(ErrorFormKey::kTab);
  EXPECT_EQ(m.Focus(), ErrorButton::kCopy);
}

// ---- the window on SDL's off-screen driver ----

uint32_t PixelAt(SDL_Surface* s, int x, int y) {
  uint32_t raw =
      *reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch + x * 4);
  uint8_t r, g, b;
  SDL_GetRGB(raw, s->format, &r, &g, &b);
  return uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

// Pixels at least half dark in a band of rows and columns.
int DarkPixels(SDL_Surface* s, int x0, int x1, int y0, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      if ((PixelAt(s, x, y) >> 8 & 0xFF) < 0x80) ++n;
  return n;
}

void Push(SDL_Event e) {
  SDL_PushEvent(&e);
}

SDL_Event Key(uint32_t window, SDL_Keycode key, uint16_t mod = 0) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.windowID = window;
  e.key.state = SDL_PRESSED;
  e.key.keysym.sym = key;
  e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
  e.key.keysym.mod = mod;
  return e;
}

SDL_Event Button(uint32_t window, bool down, int x, int y) {
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.windowID = window;
  e.button.button = SDL_BUTTON_LEFT;
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.x = x;
  e.button.y = y;
  return e;
}

class ErrorWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(StartPlatform(true, why)) << why;
  }
  void TearDown() override { StopPlatform(); }
};

TEST_F(ErrorWindow, DrawsTextBoxButtonsAndText) {
  TErrorForm form;
  ASSERT_TRUE(form.Create());
  SDL_Window* w = SDL_GetWindowFromID(form.Id());
  ASSERT_NE(w, nullptr);
  EXPECT_STREQ(SDL_GetWindowTitle(w), "Error Messages");
  EXPECT_EQ(SDL_GetWindowFlags(w) & SDL_WINDOW_RESIZABLE, 0u);
  int ww = 0, wh = 0;
  SDL_GetWindowSize(w, &ww, &wh);
  EXPECT_EQ(ww, 600);
  EXPECT_EQ(wh, 400);
  CErrorFormModel& m = form.model();
  // The text box fits rows of Liberation Mono 13: 8 pixels wide, so 70 of them in 560.
  EXPECT_EQ(m.Columns(), 70);
  m.AppendMessage("Hello");
  m.Begin(false);
  form.Draw();
  SDL_Surface* s = SDL_GetWindowSurface(w);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(PixelAt(s, 2, 2), 0xF0F0F0u);      // the window's face
  EXPECT_EQ(PixelAt(s, 300, 300), 0xFFFFFFu);  // the text box
  EXPECT_EQ(PixelAt(s, 8, 100), 0x7A7A7Au);    // its border
  EXPECT_EQ(PixelAt(s, 8, 380), 0x0078D7u);    // Abort has the focus
  EXPECT_EQ(PixelAt(s, 9, 380), 0x0078D7u);
  EXPECT_EQ(PixelAt(s, 106, 380), 0xF0F0F0u);     // no Ignore button
  EXPECT_EQ(PixelAt(s, 404, 380), 0xADADADu);     // Copy
  EXPECT_GT(DarkPixels(s, 8, 98, 364, 392), 20);  // the caption "Abort"
  // Rows: the empty line, the separator (43 characters, 344 pixels), "Hello" (40 pixels).
  const int row = (m.TextArea().h) / m.VisibleRows();
  const int top = m.TextArea().y;
  EXPECT_EQ(DarkPixels(s, 12, 580, top, top + row), 0);
  EXPECT_GT(DarkPixels(s, 300, 350, top + row, top + 2 * row), 40);
  EXPECT_GT(DarkPixels(s, 12, 52, top + 2 * row, top + 3 * row), 20);
  EXPECT_EQ(DarkPixels(s, 60, 570, top + 2 * row, top + 3 * row), 0);

  m.Begin(true);
  m.MouseMove(kIgnoreX, kButtonY);
  form.Draw();
  EXPECT_EQ(PixelAt(s, 106, 366), 0xADADADu);  // Ignore's border
  EXPECT_EQ(PixelAt(s, 110, 366), 0xE5F1FBu);  // under the mouse
  // Its hint: no room below the mouse, so above it.
  EXPECT_EQ(PixelAt(s, kIgnoreX + 1, kButtonY - 8), 0xFFFFE1u);
}

TEST_F(ErrorWindow, RunsModallyWhileTheMessageLoopGoesOn) {
  CSystemClock clock;
  CMessageLoop loop(clock);
  std::vector<InputMessage> game_input;
  loop.on_input = [&](const InputMessage& m) { game_input.push_back(m); };
  TErrorForm form;
  ASSERT_TRUE(form.Create());
  const uint32_t id = form.Id();

  // Tab to Ignore and press Space; a key for the game window arrives meanwhile.
  int ticks = 0;
  auto timer = loop.AddTimer(
      1,
      [&] {
        ++ticks;
        if (ticks == 1) {
          Push(Key(id, SDLK_TAB));
          Push(Key(0, SDLK_q));
        }
        if (ticks == 3) Push(Key(id, SDLK_SPACE));
      },
      true);
  bool shown = false;
  EXPECT_FALSE(form.ShowModal("first", true, loop, shown));
  EXPECT_TRUE(shown);
  EXPECT_GE(ticks, 3);  // the timers kept ticking
  loop.RemoveTimer(timer);
  ASSERT_EQ(game_input.size(), 1u);  // the window's own keys never reached the game
  EXPECT_EQ(game_input[0].kind, InputKind::kKeyDown);
  EXPECT_EQ(game_input[0].code, 'Q');
  EXPECT_FALSE(loop.UsesSdlEvents());  // put back as it was

  // A click on Abort.
  ticks = 0;
  timer = loop.AddTimer(
      1,
      [&] {
        if (++ticks == 1) {
          Push(Button(id, true, kAbortX, kButtonY));
          Push(Button(id, false, kAbortX, kButtonY));
        }
      },
      true);
  EXPECT_TRUE(form.ShowModal("second", true, loop, shown));
  loop.RemoveTimer(timer);
  // Both messages are in the text.
  const auto& lines = form.model().Lines();
  EXPECT_EQ(lines, (std::vector<std::string>{"", kSeparator, "first", "", kSeparator, "second"}));

  // Alt+C copies to the clipboard; then the window's close button.
  ticks = 0;
  timer = loop.AddTimer(
      1,
      [&] {
        ++ticks;
        if (ticks == 1) Push(Key(id, SDLK_c, KMOD_LALT));
        if (ticks == 2) {
          SDL_Event e{};
          e.type = SDL_WINDOWEVENT;
          e.window.windowID = id;
          e.window.event = SDL_WINDOWEVENT_CLOSE;
          Push(e);
        }
      },
      true);
  EXPECT_TRUE(form.ShowModal("third \x80", false, loop, shown));
  loop.RemoveTimer(timer);
  EXPECT_EQ(ClipboardText(), "\n" + kSeparator + "\nfirst\n\n" + kSeparator + "\nsecond\n\n" +
                                 kSeparator + "\nthird \x80\n");
}

}  // namespace
}  // namespace zorvex
