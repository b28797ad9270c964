#include "platform/Platform_Path.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <cctype>
#include <vector>

namespace zorvex {

namespace {

bool Exists(const std::string& p) {
  struct stat st;
  return ::stat(p.c_str(), &st) == 0;
}

// The entry of dir whose name equals name ignoring ASCII case; empty when there is none.
std::string MatchInDirectory(const std::string& dir, const std::string& name) {
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return {};
  std::string found;
  while (dirent* e = ::readdir(d)) {
    if (::strcasecmp(e->d_name, name.c_str()) == 0) {
      found = e->d_name;
      break;
    }
  }
  ::closedir(d);
  return found;
}

}  // namespace

std::string TranslatePath(std::string_view game_path) {
  std::string p(game_path);
  for (char& c : p)
    if (c == '\\') c = '/';
  // "C:/x" and "C:x": the drive letter names the root of this machine.
  if (p.size() >= 2 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':') {
    p.erase(0, 2);
    if (p.empty() || p[0] != '/') p.insert(p.begin(), '/');
  }
  if (p.empty() || Exists(p)) return p;

  bool absolute = p[0] == '/';
  std::vector<std::string> parts;
  size_t start = absolute ? 1 : 0;
  while (start <= p.size()) {
    size_t slash = p.find('/', start);
    if (slash == std::string::npos) slash = p.size();
    if (slash > start) parts.emplace_back(p.substr(start, slash - start));
    start = slash + 1;
  }
  std::string out = absolute ? "/" : "";
  bool resolving = true;
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    std::string next = out + part;
    if (resolving && part != "." && part != ".." && !Exists(next)) {
      std::string match = MatchInDirectory(out.empty() ? "." : out, part);
      if (!match.empty())
        next = out + match;
      else
        resolving = false;  // nothing below a missing directory can exist
    }
    out = next;
    if (i + 1 < parts.size() || (!p.empty() && p.back() == '/')) out += '/';
  }
  return out;
}

std::string ToGamePath(std::string_view linux_path) {
  std::string p(linux_path);
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

}  // namespace zorvex
