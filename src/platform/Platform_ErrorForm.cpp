// The error window's model: text, layout, focus, buttons, scrolling.
#include "platform/Platform_ErrorForm.h"

#include <algorithm>
#include <cctype>

namespace zorvex {

const ErrorButtonSpec kErrorButtons[kErrorButtonCount] = {
    {"&Abort", "Abort the execution of the game"},
    {"&Ignore", "Ignore the error and continue the game"},
    {"&Copy", "Copy the error messages to the clipboard"},
    {"C&lear", "Clear the list of error messages"},
};

namespace {

constexpr int32_t kMargin = 8;
constexpr int32_t kScrollBarWidth = 17;
constexpr int32_t kButtonWidth = 90;
constexpr int32_t kButtonHeight = 28;
constexpr int32_t kButtonGap = 8;
constexpr int32_t kMinThumb = 12;
constexpr int32_t kWheelRows = 3;

// The text box and, below it, the row of buttons: Abort and Ignore on the left, Copy and
// Clear on the right.
constexpr int32_t kButtonTop = CErrorFormModel::kHeight - kMargin - kButtonHeight;
constexpr int32_t kTextBoxHeight = kButtonTop - 2 * kMargin;

char ShortcutLetter(ErrorButton b) {
  const char* c = kErrorButtons[static_cast<int32_t>(b)].caption;
  for (; *c != '\0'; ++c)
    if (*c == '&' && c[1] != '\0')
      return static_cast<char>(std::tolower(static_cast<unsigned char>(c[1])));
  return '\0';
}

// Appends the rows of one line, wrapped at blanks (a word longer than a row is cut).
void WrapLine(const std::string& text, int32_t line, int32_t columns,
              std::vector<ErrorTextRow>& rows) {
  const int32_t n = static_cast<int32_t>(text.size());
  if (n <= columns) {
    rows.push_back({line, 0, n});
    return;
  }
  int32_t start = 0;
  while (start < n) {
    if (n - start <= columns) {
      rows.push_back({line, start, n - start});
      break;
    }
    int32_t cut = -1;
    for (int32_t i = start + columns; i > start; --i) {
      if (text[static_cast<size_t>(i)] == ' ') {
        cut = i;
        break;
      }
    }
    if (cut < 0) {
      rows.push_back({line, start, columns});
      start += columns;
    } else {
      rows.push_back({line, start, cut - start});
      start = cut + 1;  // the blank at the break is not shown
    }
  }
}

}  // namespace

CErrorFormModel::CErrorFormModel() = default;

void CErrorFormModel::AppendMessage(std::string_view message) {
  const size_t first_new = lines_.size();
  lines_.emplace_back();
  lines_.emplace_back(static_cast<size_t>(kSeparatorLength), '_');
  std::string line;
  for (char ch : message) {
    if (ch == '\n') continue;
    if (ch == '\r') {
      lines_.push_back(line);
      line.clear();
    } else {
      line.push_back(ch);
    }
  }
  lines_.push_back(line);
  for (size_t i = first_new; i < lines_.size(); ++i)
    WrapLine(lines_[i], static_cast<int32_t>(i), columns_, rows_);
  ScrollToEnd();
}

void CErrorFormModel::Clear() {
  lines_.clear();
  rows_.clear();
  top_row_ = 0;
}

std::string CErrorFormModel::Text() const {
  std::string t;
  for (const std::string& l : lines_) {
    t += l;
    t += "\r\n";
  }
  return t;
}

std::string CErrorFormModel::ClipboardText() const {
  std::string t;
  for (const std::string& l : lines_) {
    t += l;
    t += '\n';
  }
  return t;
}

void CErrorFormModel::SetTextMetrics(int32_t columns, int32_t visible_rows) {
  columns_ = std::max(columns, 1);
  visible_rows_ = std::max(visible_rows, 1);
  const bool at_end = top_row_ >= MaxTopRow();
  Rewrap();
  if (at_end) {
    ScrollToEnd();
  } else {
    ScrollTo(top_row_);
  }
}

void CErrorFormModel::Rewrap() {
  rows_.clear();
  for (size_t i = 0; i < lines_.size(); ++i)
    WrapLine(lines_[i], static_cast<int32_t>(i), columns_, rows_);
}

int32_t CErrorFormModel::MaxTopRow() const {
  return std::max(static_cast<int32_t>(rows_.size()) - visible_rows_, 0);
}

void CErrorFormModel::ScrollTo(int32_t row) {
  top_row_ = std::clamp(row, 0, MaxTopRow());
}

void CErrorFormModel::Begin(bool ignore_allowed) {
  ignore_visible_ = ignore_allowed;
  result_ = ErrorFormResult::kOpen;
  focus_ = ErrorButton::kAbort;
  held_ = ErrorButton::kNone;
  dragging_thumb_ = false;
}

bool CErrorFormModel::ButtonVisible(ErrorButton b) const {
  if (b == ErrorButton::kNone) return false;
  return b != ErrorButton::kIgnore || ignore_visible_;
}

void CErrorFormModel::Press(ErrorButton b) {
  if (!ButtonVisible(b) || result_ != ErrorFormResult::kOpen) return;
  switch (b) {
    case ErrorButton::kAbort:
      result_ = ErrorFormResult::kAbort;
      break;
    case ErrorButton::kIgnore:
      result_ = ErrorFormResult::kIgnore;
      break;
    case ErrorButton::kCopy:
      if (on_copy) on_copy(ClipboardText());
      break;
    case ErrorButton::kClear:
      Clear();
      break;
    case ErrorButton::kNone:
      break;
  }
}

void CErrorFormModel::CloseRequested() {
  if (result_ == ErrorFormResult::kOpen) result_ = ErrorFormResult::kAbort;
}

void CErrorFormModel::MoveFocus(int32_t direction) {
  // The text box, then the visible buttons, round and round.
  std::vector<ErrorButton> order = {ErrorButton::kNone};
  for (int32_t i = 0; i < kErrorButtonCount; ++i)
    if (ButtonVisible(static_cast<ErrorButton>(i))) order.push_back(static_cast<ErrorButton>(i));
  const int32_t n = static_cast<int32_t>(order.size());
  int32_t at = 0;
  for (int32_t i = 0; i < n; ++i)
    if (order[static_cast<size_t>(i)] == focus_) at = i;
  focus_ = order[static_cast<size_t>(((at + direction) % n + n) % n)];
}

bool CErrorFormModel::Key(ErrorFormKey key) {
  switch (key) {
    case ErrorFormKey::kTab:
      MoveFocus(1);
      return true;
    case ErrorFormKey::kShiftTab:
      MoveFocus(-1);
      return true;
    case ErrorFormKey::kEnter:
      // In the text box Enter means the default button.
      Press(TextBoxFocused() ? ErrorButton::kAbort : focus_);
      return true;
    case ErrorFormKey::kSpace:
      if (TextBoxFocused()) return false;
      Press(focus_);
      return true;
    case ErrorFormKey::kEscape:
      CloseRequested();
      return true;
    case ErrorFormKey::kUp:
      ScrollBy(-1);
      return true;
    case ErrorFormKey::kDown:
      ScrollBy(1);
      return true;
    case ErrorFormKey::kPageUp:
      ScrollBy(-std::max(visible_rows_ - 1, 1));
      return true;
    case ErrorFormKey::kPageDown:
      ScrollBy(std::max(visible_rows_ - 1, 1));
      return true;
    case ErrorFormKey::kHome:
      ScrollTo(0);
      return true;
    case ErrorFormKey::kEnd:
      ScrollToEnd();
      return true;
    case ErrorFormKey::kLeft:
    case ErrorFormKey::kRight: {
      if (TextBoxFocused()) return false;
      // Between the buttons only.
      ErrorButton before = focus_;
      do {
        MoveFocus(key == ErrorFormKey::kRight ? 1 : -1);
      } while (focus_ == ErrorButton::kNone && before != ErrorButton::kNone);
      return true;
    }
  }
  return false;
}

bool CErrorFormModel::Shortcut(char letter, bool alt) {
  if (!alt && TextBoxFocused()) return false;
  const char want = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  for (int32_t i = 0; i < kErrorButtonCount; ++i) {
    ErrorButton b = static_cast<ErrorButton>(i);
    if (ButtonVisible(b) && ShortcutLetter(b) == want) {
      focus_ = b;
      Press(b);
      return true;
    }
  }
  return false;
}

SoftRect CErrorFormModel::TextBoxRect() const {
  return {kMargin, kMargin, kWidth - 2 * kMargin, kTextBoxHeight};
}

SoftRect CErrorFormModel::ScrollBarRect() const {
  SoftRect box = TextBoxRect();
  return {box.x + box.w - 1 - kScrollBarWidth, box.y + 1, kScrollBarWidth, box.h - 2};
}

SoftRect CErrorFormModel::TextArea() const {
  SoftRect box = TextBoxRect();
  SoftRect bar = ScrollBarRect();
  return {box.x + 4, box.y + 3, bar.x - box.x - 6, box.h - 6};
}

SoftRect CErrorFormModel::UpArrowRect() const {
  SoftRect bar = ScrollBarRect();
  return {bar.x, bar.y, bar.w, kScrollBarWidth};
}

SoftRect CErrorFormModel::DownArrowRect() const {
  SoftRect bar = ScrollBarRect();
  return {bar.x, bar.y + bar.h - kScrollBarWidth, bar.w, kScrollBarWidth};
}

SoftRect CErrorFormModel::ThumbRect() const {
  SoftRect bar = ScrollBarRect();
  const int32_t track_top = bar.y + kScrollBarWidth;
  const int32_t track = bar.h - 2 * kScrollBarWidth;
  const int32_t total = static_cast<int32_t>(rows_.size());
  if (total <= visible_rows_) return {bar.x, track_top, bar.w, 0};  // nothing to scroll
  const int32_t h = std::max(
      static_cast<int32_t>(static_cast<int64_t>(track) * visible_rows_ / total), kMinThumb);
  const int32_t y =
      track_top + static_cast<int32_t>(static_cast<int64_t>(track - h) * top_row_ / MaxTopRow());
  return {bar.x, y, bar.w, h};
}

SoftRect CErrorFormModel::ButtonRect(ErrorButton b) const {
  int32_t x = 0;
  switch (b) {
    case ErrorButton::kAbort:
      x = kMargin;
      break;
    case ErrorButton::kIgnore:
      x = kMargin + kButtonWidth + kButtonGap;
      break;
    case ErrorButton::kCopy:
      x = kWidth - kMargin - 2 * kButtonWidth - kButtonGap;
      break;
    case ErrorButton::kClear:
      x = kWidth - kMargin - kButtonWidth;
      break;
    case ErrorButton::kNone:
      return {};
  }
  return {x, kButtonTop, kButtonWidth, kButtonHeight};
}

ErrorButton CErrorFormModel::ButtonAt(int32_t x, int32_t y) const {
  for (int32_t i = 0; i < kErrorButtonCount; ++i) {
    ErrorButton b = static_cast<ErrorButton>(i);
    if (ButtonVisible(b) && ButtonRect(b).Contains(x, y)) return b;
  }
  return ErrorButton::kNone;
}

const char* CErrorFormModel::Hint() const {
  if (hover_ == ErrorButton::kNone) return nullptr;
  return kErrorButtons[static_cast<int32_t>(hover_)].hint;
}

void CErrorFormModel::DragThumbTo(int32_t y) {
  SoftRect bar = ScrollBarRect();
  SoftRect thumb = ThumbRect();
  const int32_t track_top = bar.y + kScrollBarWidth;
  const int32_t range = bar.h - 2 * kScrollBarWidth - thumb.h;
  if (range <= 0) return;
  const int32_t pos = std::clamp(y - drag_offset_ - track_top, 0, range);
  ScrollTo(static_cast<int32_t>((static_cast<int64_t>(pos) * MaxTopRow() + range / 2) / range));
}

void CErrorFormModel::MouseMove(int32_t x, int32_t y) {
  mouse_x_ = x;
  mouse_y_ = y;
  hover_ = ButtonAt(x, y);
  if (dragging_thumb_) DragThumbTo(y);
}

void CErrorFormModel::MouseDown(int32_t x, int32_t y) {
  MouseMove(x, y);
  ErrorButton b = ButtonAt(x, y);
  if (b != ErrorButton::kNone) {
    held_ = b;
    focus_ = b;
    return;
  }
  SoftRect bar = ScrollBarRect();
  if (bar.Contains(x, y)) {
    SoftRect thumb = ThumbRect();
    if (UpArrowRect().Contains(x, y)) {
      ScrollBy(-1);
    } else if (DownArrowRect().Contains(x, y)) {
      ScrollBy(1);
    } else if (thumb.h > 0 && thumb.Contains(x, y)) {
      dragging_thumb_ = true;
      drag_offset_ = y - thumb.y;
    } else if (thumb.h > 0 && y < thumb.y) {
      ScrollBy(-std::max(visible_rows_ - 1, 1));
    } else if (thumb.h > 0) {
      ScrollBy(std::max(visible_rows_ - 1, 1));
    }
    focus_ = ErrorButton::kNone;
    return;
  }
  if (TextBoxRect().Contains(x, y)) focus_ = ErrorButton::kNone;
}

void CErrorFormModel::MouseUp(int32_t x, int32_t y) {
  MouseMove(x, y);
  ErrorButton b = held_;
  held_ = ErrorButton::kNone;
  dragging_thumb_ = false;
  // A click counts only when the button is released over the button it started on.
  if (b != ErrorButton::kNone && ButtonAt(x, y) == b) Press(b);
}

void CErrorFormModel::Wheel(int32_t steps) {
  ScrollBy(-steps * kWheelRows);
}

}  // namespace zorvex
