// The game window (the platform's CWindow) as the graphics code sees it. Without a real window
// (headless runs) every property is kept all the same, so the window functions answer alike.
#pragma once

#include "graphics/Graphics_Window.h"

namespace zorvex {

class CWindow;

class CGameForm final : public IGraphicsWindow {
 public:
  explicit CGameForm(CWindow& window) : window_(window) {}

  CScreenRect ClientRect() const override;
  void SetClientRect(const CScreenRect& client) override;
  void SetFullScreen(bool on) override;
  void SetBorder(WindowBorder border, bool icons) override;
  void SetMinimumClientSize(int width, int height) override;
  void Invalidate() override;
  bool Visible() const override;
  void SetVisible(bool visible) override;
  bool StayOnTop() const override;
  void SetStayOnTop(bool on) override;
  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  int32_t Cursor() const override;
  void SetCursor(int32_t cursor) override;
  CPoint CursorPosition() const override;
  void SetCursorPosition(int64_t x, int64_t y) override;

 private:
  CWindow& window_;
};

}  // namespace zorvex
