// Environment variables as games ask for them: names are matched regardless of letter case, as
// on Windows, and the few Windows variables games lean on that Linux does not set get values
// of their Linux counterparts.
#pragma once

#include <string>
#include <string_view>

namespace zorvex {

// The value, or "" when the variable is not set. TEMP and TMP fall back to $TMPDIR or /tmp,
// USERNAME to the login name, USERPROFILE to $HOME and APPDATA to $XDG_CONFIG_HOME or
// $HOME/.config; such fallback paths are given in the game's form (with '\').
std::string EnvironmentVariable(std::string_view name);

}  // namespace zorvex
