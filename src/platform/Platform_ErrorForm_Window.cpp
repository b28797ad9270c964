// The error window on the desktop: drawn in software on its own surface, run modally while the
// message loop keeps going.
#include <SDL.h>

#include <algorithm>
#include <string>

#include "platform/Platform_Clipboard.h"
#include "platform/Platform_ErrorForm.h"
#include "platform/Platform_Loop.h"
#include "platform/Platform_Window.h"

namespace zorvex {

namespace {

constexpr uint32_t kFaceColor = 0xF0F0F0;
constexpr uint32_t kBoxBorder = 0x7A7A7A;
constexpr uint32_t kFocusColor = 0x0078D7;
constexpr uint32_t kButtonFace = 0xE1E1E1;
constexpr uint32_t kButtonHover = 0xE5F1FB;
constexpr uint32_t kButtonDown = 0xCCE4F7;
constexpr uint32_t kButtonBorder = 0xADADAD;
constexpr uint32_t kArrowColor = 0x606060;
constexpr uint32_t kArrowDisabled = 0xBFBFBF;
constexpr uint32_t kThumbColor = 0xC2C2C2;
constexpr uint32_t kHintFace = 0xFFFFE1;
constexpr uint32_t kHintBorder = 0x767676;
// Courier New 10 pt at 96 dots per inch; the buttons use the dialog face.
constexpr int32_t kTextPixels = 13;
constexpr int32_t kUiPixels = 12;

// A small filled triangle pointing up or down, centred in r.
void Arrow(SDL_Surface* s, const SoftRect& r, bool up, uint32_t rgb) {
  const int32_t cx = r.x + r.w / 2, cy = r.y + r.h / 2;
  for (int32_t k = 0; k < 4; ++k) {
    const int32_t y = up ? cy - 2 + k : cy + 1 - k;
    SoftFill(s, {cx - k, y, 2 * k + 1, 1}, rgb);
  }
}

bool MapKey(const SDL_Keysym& k, ErrorFormKey& out) {
  switch (k.sym) {
    case SDLK_TAB:
      out = (k.mod & KMOD_SHIFT) ? ErrorFormKey::kShiftTab : ErrorFormKey::kTab;
      return true;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      out = ErrorFormKey::kEnter;
      return true;
    case SDLK_SPACE:
      out = ErrorFormKey::kSpace;
      return true;
    case SDLK_ESCAPE:
      out = ErrorFormKey::kEscape;
      return true;
    case SDLK_UP:
      out = ErrorFormKey::kUp;
      return true;
    case SDLK_DOWN:
      out = ErrorFormKey::kDown;
      return true;
    case SDLK_PAGEUP:
      out = ErrorFormKey::kPageUp;
      return true;
    case SDLK_PAGEDOWN:
      out = ErrorFormKey::kPageDown;
      return true;
    case SDLK_HOME:
      out = ErrorFormKey::kHome;
      return true;
    case SDLK_END:
      out = ErrorFormKey::kEnd;
      return true;
    case SDLK_LEFT:
      out = ErrorFormKey::kLeft;
      return true;
    case SDLK_RIGHT:
      out = ErrorFormKey::kRight;
      return true;
    default:
      return false;
  }
}

}  // namespace

TErrorForm::TErrorForm() {
  model_.on_copy = [](const std::string& text) { SetClipboardText(text); };
}

TErrorForm::~TErrorForm() {
  if (window_ != nullptr) SDL_DestroyWindow(window_);
}

uint32_t TErrorForm::Id() const {
  return window_ != nullptr ? SDL_GetWindowID(window_) : 0;
}

bool TErrorForm::Create() {
  if (window_ != nullptr) return true;
  if (!PlatformHasVideo()) return false;
  window_ =
      SDL_CreateWindow(CErrorFormModel::kCaption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                       CErrorFormModel::kWidth, CErrorFormModel::kHeight,
                       SDL_WINDOW_HIDDEN | SDL_WINDOW_ALWAYS_ON_TOP);
  if (window_ == nullptr) return false;
  text_font_ = std::make_unique<CSoftFont>();
  ui_font_ = std::make_unique<CSoftFont>();
  if (text_font_->Load("Courier New", kTextPixels)) {
    const SoftRect area = model_.TextArea();
    const int32_t advance = std::max(text_font_->TextWidth("M"), 1);
    model_.SetTextMetrics(area.w / advance, area.h / std::max(text_font_->LineHeight(), 1));
  }
  ui_font_->Load("Liberation Sans", kUiPixels);
  return true;
}

bool TErrorForm::ShowModal(std::string_view message, bool ignore_allowed, CMessageLoop& loop,
                           bool& shown) {
  // The text keeps every message of the run, shown or not.
  model_.AppendMessage(message);
  model_.Begin(ignore_allowed);
  shown = Create();
  if (!shown) return false;
  const uint32_t id = Id();
  loop.RouteWindowEvents(id, [this](const SDL_Event& e) { HandleEvent(e); });
  const bool sdl_events = loop.UsesSdlEvents();
  loop.UseSdlEvents(true);
  SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  SDL_ShowWindow(window_);
  if (parent_ != nullptr) SDL_SetWindowModalFor(window_, parent_);
  SDL_RaiseWindow(window_);
  dirty_ = true;
  // The game's windows keep getting their messages and the timers keep ticking; only the
  // steps wait, as the caller is inside one.
  while (model_.Result() == ErrorFormResult::kOpen) {
    if (dirty_) Draw();
    SDL_WaitEventTimeout(nullptr, 10);
    loop.ProcessMessages();
  }
  loop.UseSdlEvents(sdl_events);
  loop.UnrouteWindowEvents(id);
  SDL_HideWindow(window_);
  return model_.Result() == ErrorFormResult::kAbort;
}

void TErrorForm::HandleEvent(const SDL_Event& e) {
  switch (e.type) {
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) model_.CloseRequested();
      if (e.window.event == SDL_WINDOWEVENT_LEAVE) model_.MouseMove(-1, -1);
      break;
    case SDL_KEYDOWN: {
      ErrorFormKey key;
      if (MapKey(e.key.keysym, key)) {
        model_.Key(key);
      } else if (e.key.keysym.sym >= SDLK_a && e.key.keysym.sym <= SDLK_z) {
        model_.Shortcut(static_cast<char>(e.key.keysym.sym), (e.key.keysym.mod & KMOD_ALT) != 0);
      }
      break;
    }
    case SDL_MOUSEMOTION:
      model_.MouseMove(e.motion.x, e.motion.y);
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (e.button.button == SDL_BUTTON_LEFT) model_.MouseDown(e.button.x, e.button.y);
      break;
    case SDL_MOUSEBUTTONUP:
      if (e.button.button == SDL_BUTTON_LEFT) model_.MouseUp(e.button.x, e.button.y);
      break;
    case SDL_MOUSEWHEEL: {
      int32_t y = e.wheel.y;
      if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) y = -y;
      model_.Wheel(y);
      break;
    }
    default:
      return;
  }
  dirty_ = true;
}

void TErrorForm::DrawScrollBar() {
  SDL_Surface* s = SDL_GetWindowSurface(window_);
  const SoftRect bar = model_.ScrollBarRect();
  SoftFill(s, bar, kFaceColor);
  const SoftRect thumb = model_.ThumbRect();
  const uint32_t arrow = thumb.h > 0 ? kArrowColor : kArrowDisabled;
  Arrow(s, model_.UpArrowRect(), true, arrow);
  Arrow(s, model_.DownArrowRect(), false, arrow);
  if (thumb.h > 0) SoftFill(s, {thumb.x + 2, thumb.y, thumb.w - 4, thumb.h}, kThumbColor);
}

void TErrorForm::DrawButton(ErrorButton b) {
  SDL_Surface* s = SDL_GetWindowSurface(window_);
  const SoftRect r = model_.ButtonRect(b);
  const bool hover = model_.Hover() == b;
  const bool down = model_.Held() == b && hover;
  SoftFill(s, r, down ? kButtonDown : hover ? kButtonHover : kButtonFace);
  const bool focused = model_.Focus() == b;
  // The default button is marked whenever no other button has the focus.
  const bool is_default = b == ErrorButton::kAbort && model_.TextBoxFocused();
  SoftFrame(s, r, focused || is_default ? kFocusColor : kButtonBorder);
  if (focused) SoftFrame(s, {r.x + 1, r.y + 1, r.w - 2, r.h - 2}, kFocusColor);
  if (!ui_font_->Loaded()) return;
  const std::string caption = kErrorButtons[static_cast<int32_t>(b)].caption;
  std::string shown;
  size_t mark = std::string::npos;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && mark == std::string::npos && i + 1 < caption.size()) {
      mark = shown.size();
      continue;
    }
    shown.push_back(caption[i]);
  }
  const int32_t w = ui_font_->TextWidth(shown);
  const int32_t x = r.x + (r.w - w) / 2;
  const int32_t baseline = r.y + (r.h - ui_font_->LineHeight()) / 2 + ui_font_->Ascent();
  ui_font_->Draw(s, x, baseline, shown, 0x000000, r);
  if (mark != std::string::npos) {
    const int32_t ux = x + ui_font_->TextWidth(std::string_view(shown).substr(0, mark));
    const int32_t uw = ui_font_->TextWidth(std::string_view(shown).substr(mark, 1));
    SoftFill(s, {ux, baseline + 2, uw, 1}, 0x000000);
  }
}

void TErrorForm::Draw() {
  if (window_ == nullptr) return;
  SDL_Surface* s = SDL_GetWindowSurface(window_);
  if (s == nullptr) return;
  dirty_ = false;
  SoftFill(s, {0, 0, s->w, s->h}, kFaceColor);
  const SoftRect box = model_.TextBoxRect();
  SoftFill(s, box, 0xFFFFFF);
  SoftFrame(s, box, model_.TextBoxFocused() ? kFocusColor : kBoxBorder);
  if (text_font_->Loaded()) {
    const SoftRect area = model_.TextArea();
    const auto& rows = model_.Rows();
    const auto& lines = model_.Lines();
    const int32_t lh = text_font_->LineHeight();
    for (int32_t i = 0; i < model_.VisibleRows(); ++i) {
      const size_t at = static_cast<size_t>(model_.TopRow() + i);
      if (at >= rows.size()) break;
      const ErrorTextRow& row = rows[at];
      std::string_view text(lines[static_cast<size_t>(row.line)]);
      text = text.substr(static_cast<size_t>(row.start), static_cast<size_t>(row.length));
      text_font_->Draw(s, area.x, area.y + i * lh + text_font_->Ascent(), text, 0x000000, area);
    }
  }
  DrawScrollBar();
  for (int32_t i = 0; i < kErrorButtonCount; ++i)
    if (model_.ButtonVisible(static_cast<ErrorButton>(i))) DrawButton(static_cast<ErrorButton>(i));
  const char* hint = model_.Hint();
  if (hint != nullptr && ui_font_->Loaded()) {
    const int32_t w = ui_font_->TextWidth(hint) + 8, h = ui_font_->LineHeight() + 6;
    const int32_t x = std::clamp(model_.MouseX(), 0, std::max(s->w - w, 0));
    int32_t y = model_.MouseY() + 20;
    if (y + h > s->h) y = model_.MouseY() - h - 4;
    const SoftRect tip{x, y, w, h};
    SoftFill(s, tip, kHintFace);
    SoftFrame(s, tip, kHintBorder);
    ui_font_->Draw(s, x + 4, y + 3 + ui_font_->Ascent(), hint, 0x000000, tip);
  }
  SDL_UpdateWindowSurface(window_);
}

}  // namespace zorvex
