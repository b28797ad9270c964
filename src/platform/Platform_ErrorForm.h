// The error window: a fixed-size window captioned "Error Messages" with a read-only text box
// that collects every error message of the run, and the buttons Abort, Ignore, Copy and Clear.
// CErrorFormModel is everything the window knows and does, without a display, so that it can
// be tested; TErrorForm draws it in a desktop window of its own and runs it modally.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform_SoftDraw.h"

struct SDL_Window;
union SDL_Event;

namespace zorvex {

class CMessageLoop;

enum class ErrorButton : int32_t { kNone = -1, kAbort = 0, kIgnore, kCopy, kClear };
constexpr int32_t kErrorButtonCount = 4;

struct ErrorButtonSpec {
  const char* caption;  // '&' marks the shortcut letter
  const char* hint;
};
extern const ErrorButtonSpec kErrorButtons[kErrorButtonCount];

enum class ErrorFormResult { kOpen, kAbort, kIgnore };

// The keys the window acts on.
enum class ErrorFormKey {
  kTab,
  kShiftTab,
  kEnter,
  kSpace,
  kEscape,
  kUp,
  kDown,
  kPageUp,
  kPageDown,
  kHome,
  kEnd,
  kLeft,
  kRight,
};

// One displayed row of the text box: a piece of one line (long lines wrap at blanks).
struct ErrorTextRow {
  int32_t line = 0;
  int32_t start = 0;
  int32_t length = 0;
};

class CErrorFormModel {
 public:
  static constexpr const char* kCaption = "Error Messages";
  static constexpr int32_t kWidth = 600;  // client size; the window cannot be resized
  static constexpr int32_t kHeight = 400;
  static constexpr int32_t kSeparatorLength = 43;

  CErrorFormModel();

  // The text box. A message adds an empty line, a separator of underscores and the lines of
  // the message, split at carriage returns with line feeds dropped.
  void AppendMessage(std::string_view message);
  void Clear();
  const std::vector<std::string>& Lines() const { return lines_; }
  // The whole text as the box holds it: lines joined by CR LF.
  std::string Text() const;
  // The same with the desktop's line ends, for the clipboard.
  std::string ClipboardText() const;

  // Display rows: the lines wrapped at `columns` characters, `visible_rows` at a time.
  void SetTextMetrics(int32_t columns, int32_t visible_rows);
  int32_t Columns() const { return columns_; }
  int32_t VisibleRows() const { return visible_rows_; }
  const std::vector<ErrorTextRow>& Rows() const { return rows_; }
  int32_t TopRow() const { return top_row_; }
  int32_t MaxTopRow() const;
  void ScrollTo(int32_t row);
  void ScrollBy(int32_t rows) { ScrollTo(top_row_ + rows); }
  void ScrollToEnd() { ScrollTo(MaxTopRow()); }

  // One modal showing: Ignore shown only when allowed, the focus on the default button Abort.
  void Begin(bool ignore_allowed);
  ErrorFormResult Result() const { return result_; }
  bool ButtonVisible(ErrorButton b) const;
  // kNone when the text box has the focus.
  ErrorButton Focus() const { return focus_; }
  bool TextBoxFocused() const { return focus_ == ErrorButton::kNone; }

  // What the player can do. Abort and Ignore close the window with that result, Copy hands
  // the text to on_copy (leaving the scroll position as it is), Clear empties the box.
  void Press(ErrorButton b);
  // The window's close button: the same as Abort.
  void CloseRequested();
  // True when the key did something.
  bool Key(ErrorFormKey key);
  // The underlined letter of a button, with Alt (`alt`) or, while a button has the focus,
  // without it.
  bool Shortcut(char letter, bool alt);
  void MouseMove(int32_t x, int32_t y);
  void MouseDown(int32_t x, int32_t y);
  void MouseUp(int32_t x, int32_t y);
  // Positive steps scroll towards the top.
  void Wheel(int32_t steps);

  // The button under the mouse, the one held down, and the hint to show (null for none).
  ErrorButton Hover() const { return hover_; }
  ErrorButton Held() const { return held_; }
  const char* Hint() const;
  int32_t MouseX() const { return mouse_x_; }
  int32_t MouseY() const { return mouse_y_; }

  // Layout in client coordinates.
  SoftRect TextBoxRect() const;
  SoftRect TextArea() const;  // inside the border, left of the scroll bar
  SoftRect ScrollBarRect() const;
  SoftRect UpArrowRect() const;
  SoftRect DownArrowRect() const;
  SoftRect ThumbRect() const;
  SoftRect ButtonRect(ErrorButton b) const;

  std::function<void(const std::string& text)> on_copy;

 private:
  void Rewrap();
  void MoveFocus(int32_t direction);
  ErrorButton ButtonAt(int32_t x, int32_t y) const;
  void DragThumbTo(int32_t y);

  std::vector<std::string> lines_;
  std::vector<ErrorTextRow> rows_;
  int32_t columns_ = 80;
  int32_t visible_rows_ = 20;
  int32_t top_row_ = 0;
  bool ignore_visible_ = true;
  ErrorFormResult result_ = ErrorFormResult::kOpen;
  ErrorButton focus_ = ErrorButton::kAbort;
  ErrorButton hover_ = ErrorButton::kNone;
  ErrorButton held_ = ErrorButton::kNone;
  bool dragging_thumb_ = false;
  int32_t drag_offset_ = 0;
  int32_t mouse_x_ = -1;
  int32_t mouse_y_ = -1;
};

// The window itself: created on first use, hidden between showings, drawn in software with
// Liberation Mono standing in for Courier New.
class TErrorForm {
 public:
  TErrorForm();
  ~TErrorForm();
  TErrorForm(const TErrorForm&) = delete;
  TErrorForm& operator=(const TErrorForm&) = delete;

  // Adds the message and runs the window until the player closes it, keeping the message
  // loop going meanwhile (events of this window go to it, all others as usual). True when the
  // player asked to abort. Without a desktop to show it on, false is returned at once and
  // `shown` is false.
  bool ShowModal(std::string_view message, bool ignore_allowed, CMessageLoop& loop, bool& shown);
  // Creates the (hidden) window; false when there is no video.
  bool Create();
  // The window stays above this one (the game window) while shown.
  void SetParent(SDL_Window* parent) { parent_ = parent; }
  uint32_t Id() const;
  void HandleEvent(const SDL_Event& e);
  void Draw();

  CErrorFormModel& model() { return model_; }

 private:
  void DrawButton(ErrorButton b);
  void DrawScrollBar();

  CErrorFormModel model_;
  SDL_Window* window_ = nullptr;
  SDL_Window* parent_ = nullptr;
  std::unique_ptr<CSoftFont> text_font_;
  std::unique_ptr<CSoftFont> ui_font_;
  bool dirty_ = true;
};

}  // namespace zorvex
