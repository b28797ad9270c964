#include "platform/Platform_Environment.h"

#include <pwd.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>

#include "platform/Platform_Path.h"

extern char** environ;

namespace zorvex {

namespace {

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Set and not empty.
bool Lookup(std::string_view name, std::string& out) {
  std::string exact(name);
  if (const char* v = std::getenv(exact.c_str()); v != nullptr) {
    out = v;
    return true;
  }
  for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
    std::string_view entry(*e);
    size_t eq = entry.find('=');
    if (eq != std::string_view::npos && SameName(entry.substr(0, eq), name)) {
      out = std::string(entry.substr(eq + 1));
      return true;
    }
  }
  return false;
}

std::string Home() {
  std::string home;
  if (Lookup("HOME", home) && !home.empty()) return home;
  if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr)
    return pw->pw_dir;
  return "/";
}

}  // namespace

std::string EnvironmentVariable(std::string_view name) {
  std::string v;
  if (name.empty() || name.find('=') != std::string_view::npos) return v;
  if (Lookup(name, v)) return v;
  if (SameName(name, "TEMP") || SameName(name, "TMP")) {
    std::string dir;
    return ToGamePath(Lookup("TMPDIR", dir) && !dir.empty() ? dir : "/tmp");
  }
  if (SameName(name, "USERNAME")) {
    if (Lookup("USER", v) && !v.empty()) return v;
    const passwd* pw = getpwuid(getuid());
    return pw != nullptr && pw->pw_name != nullptr ? pw->pw_name : "";
  }
  if (SameName(name, "USERPROFILE")) return ToGamePath(Home());
  if (SameName(name, "APPDATA")) {
    std::string dir;
    return ToGamePath(Lookup("XDG_CONFIG_HOME", dir) && !dir.empty() ? dir : Home() + "/.config");
  }
  return "";
}

}  // namespace zorvex
