// The graphics parts of start-up, of the main loop and of shutdown: the game window under the
// window state, the device, the textures of the resources, full screen on F4 and the screenshots
// asked for on the command line.
#pragma once

#include <cstdint>

namespace zorvex {

class CGame;

// PrepareGraphics (declared with the start-up spine in Game_Load.h) is defined with these.

// Puts the game window under the window state and hooks its paint and resize handlers.
void AttachGameWindow(CGame& game);
// The window's paint handler: presents the last frame again around the window colour.
void PaintGameWindow(CGame& game);
// F4: switches between full screen and a window.
void SwitchFullScreen(CGame& game);
// Called by the main loop after step `step` is drawn: writes every --screenshot of that step
// (the region at its own size, as an 8-bit RGB PNG). False when one could not be written (a
// note goes to standard error).
bool SaveRequestedScreenshots(CGame& game, int64_t step);
// The shutdown step: the resources give their textures back, then the device goes.
void ShutDownGraphics(CGame& game);

}  // namespace zorvex
