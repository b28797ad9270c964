#include "graphics/Graphics_Form.h"

#include "platform/Platform_Window.h"

namespace zorvex {

CScreenRect CGameForm::ClientRect() const {
  return {window_.Left(), window_.Top(), window_.ClientWidth(), window_.ClientHeight()};
}

void CGameForm::SetClientRect(const CScreenRect& client) {
  window_.SetClientRect(client.x, client.y, client.w, client.h);
}

void CGameForm::SetFullScreen(bool on) {
  window_.SetFullscreen(on);
  // The desktop makes a real window cover the display; a window that is only state does so
  // itself, so that the window functions answer as they would on a screen.
  if (on && !window_.IsReal()) {
    DisplayInfo d = DesktopDisplay();
    window_.SetClientRect(0, 0, d.width, d.height);
  }
}

void CGameForm::SetBorder(WindowBorder border, bool icons) {
  window_.SetBorder(border == WindowBorder::kNone     ? BorderKind::kNone
                    : border == WindowBorder::kSingle ? BorderKind::kFixed
                                                      : BorderKind::kSizeable);
  window_.SetShowIcons(icons);
}

void CGameForm::SetMinimumClientSize(int width, int height) {
  window_.SetMinimumClientSize(width, height);
}

void CGameForm::Invalidate() {
  window_.Invalidate();
}

bool CGameForm::Visible() const {
  return window_.Visible();
}

void CGameForm::SetVisible(bool visible) {
  window_.SetVisible(visible);
}

bool CGameForm::StayOnTop() const {
  return window_.StayOnTop();
}

void CGameForm::SetStayOnTop(bool on) {
  window_.SetStayOnTop(on);
}

std::string CGameForm::Caption() const {
  return window_.Caption();
}

void CGameForm::SetCaption(const std::string& caption) {
  window_.SetCaption(caption);
}

int32_t CGameForm::Cursor() const {
  return window_.Cursor();
}

void CGameForm::SetCursor(int32_t cursor) {
  window_.SetCursor(cursor);
}

CPoint CGameForm::CursorPosition() const {
  CPoint p;
  window_.CursorPosition(p.x, p.y);
  return p;
}

void CGameForm::SetCursorPosition(int64_t x, int64_t y) {
  window_.SetCursorPosition(x, y);
}

}  // namespace zorvex
