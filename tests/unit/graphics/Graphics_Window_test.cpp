#include "graphics/Graphics_Window.h"

#include "graphics/Graphics_Main.h"

#include <gtest/gtest.h>

#include <vector>

namespace zorvex {
namespace {

// A window that keeps what it is told, with a 1024 x 768 display.
class FakeWindow : public IGraphicsWindow {
 public:
  CScreenRect client{100, 100, 640, 480};
  bool full = false;
  WindowBorder border = WindowBorder::kSizeable;
  bool icons = true;
  int min_w = 0, min_h = 0;
  int invalidated = 0;
  int full_screen_calls = 0;
  bool visible = true;
  CPoint cursor{0, 0};

  CScreenRect ClientRect() const override { return client; }
  void SetClientRect(const CScreenRect& r) override { client = r; }
  void SetFullScreen(bool on) override {
    if (on) client = {0, 0, 1024, 768};
    if (on != full) full_screen_calls++;
    full = on;
  }
  void SetBorder(WindowBorder b, bool i) override {
    border = b;
    icons = i;
  }
  void SetMinimumClientSize(int w, int h) override {
    min_w = w;
    min_h = h;
  }
  void Invalidate() override { invalidated++; }
  bool Visible() const override { return visible; }
  void SetVisible(bool v) override { visible = v; }
  bool StayOnTop() const override { return false; }
  void SetStayOnTop(bool) override {}
  std::string Caption() const override { return ""; }
  void SetCaption(const std::string&) override {}
  int32_t Cursor() const override { return 0; }
  void SetCursor(int32_t) override {}
  CPoint CursorPosition() const override { return cursor; }
  void SetCursorPosition(int64_t x, int64_t y) override { cursor = {x, y}; }
};

class GraphicsWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    state.form = &form;
    state.display = {1024, 768};
  }
  FakeWindow form;
  CWindowState state;
};

TEST_F(GraphicsWindow, FullScreenRoundTripRestoresTheClientRectangle) {
  form.client = {200, 150, 800, 600};  // the user moved and resized the window
  state.OnResize();
  state.SetFullScreen(true);
  EXPECT_TRUE(form.full);
  EXPECT_EQ(form.client, (CScreenRect{0, 0, 1024, 768}));
  state.OnResize();           // resizing while full screen stores nothing
  state.SetFullScreen(true);  // unchanged: nothing happens
  EXPECT_EQ(form.full_screen_calls, 1);
  state.SetFullScreen(false);
  EXPECT_FALSE(form.full);
  EXPECT_EQ(form.client, (CScreenRect{200, 150, 800, 600}));
}

TEST_F(GraphicsWindow, BorderKinds) {
  state.SetSizeable(false);
  EXPECT_EQ(form.border, WindowBorder::kSingle);
  EXPECT_TRUE(form.icons);
  state.SetShowIcons(false);
  EXPECT_FALSE(form.icons);
  state.SetShowBorder(false);
  EXPECT_EQ(form.border, WindowBorder::kNone);
  state.SetShowBorder(true);
  state.SetSizeable(true);
  state.SetShowIcons(true);
  EXPECT_EQ(form.border, WindowBorder::kSizeable);
  EXPECT_TRUE(form.icons);
  // Changing a flag keeps the client where the user left it.
  form.client = {10, 20, 300, 200};
  state.SetSizeable(false);
  EXPECT_EQ(form.client, (CScreenRect{10, 20, 300, 200}));
}

TEST_F(GraphicsWindow, SizeHonoursTheScaleMinimum) {
  state.SetRegionSize(320, 240, false);  // scale 1: the client is already large enough
  EXPECT_EQ(form.client, (CScreenRect{100, 100, 640, 480}));
  state.SetRegionScale(2, false);  // 640 x 480 needed: already there, nothing to enlarge
  EXPECT_EQ(form.client, (CScreenRect{100, 100, 640, 480}));
  EXPECT_EQ(form.min_w, 640);
  EXPECT_EQ(form.min_h, 480);
  state.SetSize(100, 900);
  EXPECT_EQ(form.client, (CScreenRect{100, 100, 640, 900}));
  state.SetRectangle(5, 6, 700, 10);
  EXPECT_EQ(form.client, (CScreenRect{5, 6, 700, 480}));
  state.SetRegionScale(0, false);  // stretch: no minimum
  EXPECT_EQ(form.min_w, 0);
  state.SetSize(100, 90);
  EXPECT_EQ(form.client, (CScreenRect{5, 6, 100, 90}));
  EXPECT_GE(form.invalidated, 2);
}

TEST_F(GraphicsWindow, RegionSizeChangesOnlyPositiveSidesAndAdapts) {
  state.SetRegionSize(0, 100, false);
  EXPECT_EQ(state.region_width, 640);
  EXPECT_EQ(state.region_height, 100);
  state.SetRegionScale(1.5, true);  // adapt: client = round(640 x 1.5) x round(100 x 1.5)
  EXPECT_EQ(form.client.w, 960);
  EXPECT_EQ(form.client.h, 150);
  state.SetRegionSize(100, 0, false);  // without adapt it never shrinks
  EXPECT_EQ(form.client.w, 960);
  state.SetRegionSize(100, 400, false);  // but grows where it is too small
  EXPECT_EQ(form.client.w, 960);
  EXPECT_EQ(form.client.h, 600);
}

TEST_F(GraphicsWindow, CentreAndDefault) {
  state.Center();
  EXPECT_EQ(form.client, (CScreenRect{192, 144, 640, 480}));
  state.region_width = 320;
  state.region_height = 200;
  state.region_scale = 2;
  state.Default();
  EXPECT_EQ(form.client, (CScreenRect{192, 184, 640, 400}));
  state.region_scale = -1;  // scale <= 0: the region size itself
  state.Default();
  EXPECT_EQ(form.client, (CScreenRect{352, 284, 320, 200}));
}

TEST(GraphicsWindowWithoutForm, StateChangesStillHold) {
  CWindowState state;
  state.display = {800, 600};
  state.SetRectangle(1, 2, 300, 200);
  EXPECT_EQ(state.Client(), (CScreenRect{1, 2, 640, 480}));  // scale 1 keeps the region visible
  state.SetFullScreen(true);
  state.SetFullScreen(false);
  EXPECT_EQ(state.Client(), (CScreenRect{1, 2, 640, 480}));
  state.Center();
  EXPECT_EQ(state.Client(), (CScreenRect{80, 60, 640, 480}));
}

TEST(GraphicsFitRegion, RoomOrViewPortsClampedToTheDisplay) {
  CGraphics g;  // no device: only the window state and the area change
  FakeWindow form;
  g.window.form = &form;
  g.window.display = {1024, 768};
  g.FitRegionToRoom(false, nullptr, 0, 2000, 300);
  EXPECT_EQ(g.window.region_width, 1024);
  EXPECT_EQ(g.window.region_height, 300);
  EXPECT_EQ(form.client, (CScreenRect{0, 234, 1024, 300}));  // adapted at scale 1 and centred
  // Views: the largest port end, starting from 8 x 8; ports of invisible views are not given.
  const CScreenRect ports[2] = {{0, 0, 320, 240}, {320, 0, 160, 120}};
  g.FitRegionToRoom(true, ports, 2, 5000, 5000);
  EXPECT_EQ(g.window.region_width, 480);
  EXPECT_EQ(g.window.region_height, 240);
  g.FitRegionToRoom(true, nullptr, 0, 5000, 5000);
  EXPECT_EQ(g.window.region_width, 8);
  EXPECT_EQ(g.window.region_height, 8);
}

}  // namespace
}  // namespace zorvex
