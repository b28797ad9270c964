// The desktop's clipboard. Our side of it speaks Windows-1252, the desktop UTF-8. Without video
// there is no clipboard: nothing is held and nothing can be put there.
#pragma once

#include <string>
#include <string_view>

namespace zorvex {

bool ClipboardHasText();
// The clipboard's text, or "" when it holds none.
std::string ClipboardText();
// False when the desktop refused it.
bool SetClipboardText(std::string_view text);

}  // namespace zorvex
