#include "runner/Support_File.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <thread>

#include "platform/Platform_Path.h"
#include "platform/Platform_Process.h"

namespace zorvex {

namespace fs = std::filesystem;

CTempDirectory::CTempDirectory()
    : random_(static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                                    std::chrono::system_clock::now().time_since_epoch().count())) {}

bool CTempDirectory::Create() {
  std::vector<std::string> bases;
  const char* env = std::getenv("TMPDIR");
  if (env != nullptr && env[0] != '\0' && std::string_view(env).size() <= 256) bases.push_back(env);
  bases.push_back("/tmp");
  std::error_code ec;
  bases.push_back(fs::current_path(ec).string());
  return CreateUnder(bases);
}

bool CTempDirectory::CreateUnder(const std::vector<std::string>& bases) {
  std::uniform_int_distribution<int> number(0, 99999);
  for (const std::string& base : bases) {
    std::error_code ec;
    fs::create_directories(base, ec);
    // Draw again while the name is taken; give up on this base when creation fails otherwise.
    for (int tries = 0; tries < 1000; ++tries) {
      path_ = (fs::path(base) / ("zorvex_ttt_" + std::to_string(number(random_)))).string();
      if (mkdir(path_.c_str(), 0700) == 0) {
        created_ = true;
        return true;
      }
      if (errno != EEXIST) break;
    }
  }
  return false;
}

namespace {
void DeleteTree(const fs::path& dir, const std::string& root) {
  std::error_code ec;
  // Entries are collected first: removing while iterating is not defined.
  std::vector<fs::directory_entry> entries;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
    entries.push_back(*it);
  const bool inside = dir.string().compare(0, root.size(), root) == 0;
  for (const fs::directory_entry& e : entries) {
    if (e.is_directory(ec) && !e.is_symlink(ec)) {
      DeleteTree(e.path(), root);
    } else if (inside) {
      fs::remove(e.path(), ec);
    }
  }
  fs::remove(dir, ec);  // fails silently when something is left
}
}  // namespace

void CTempDirectory::Delete() {
  if (!created_) return;
  created_ = false;
  std::error_code ec;
  if (!fs::is_directory(fs::symlink_status(path_, ec))) return;
  DeleteTree(path_, path_);
}

std::string CTempDirectory::UniqueFileName(std::string_view suffix) {
  std::uniform_int_distribution<int> number(0, 99999);
  while (true) {
    std::string p = path_ + "/a" + std::to_string(number(random_)) + std::string(suffix);
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(p, ec))) return p;
  }
}

namespace {
bool LooksLikeAddress(const std::string& s) {
  size_t colon = s.find("://");
  return colon != std::string::npos && colon > 1;
}
}  // namespace

bool OpenWithShell(const std::string& file, const std::string& /*parameters*/,
                   const std::string& directory) {
  std::string dir = directory.empty() ? std::string() : TranslatePath(directory);
  std::string target = LooksLikeAddress(file) ? file : TranslatePath(file);
  return ShellOpen(target, dir);
}

bool RunProgram(const std::string& program, const std::string& parameters,
                const std::string& directory, bool wait,
                const std::function<void()>& process_messages) {
  std::vector<std::string> argv = SplitCommandLine(program + " " + parameters);
  if (argv.empty()) return false;
  if (argv[0].find('\\') != std::string::npos || argv[0].find('/') != std::string::npos)
    argv[0] = TranslatePath(argv[0]);
  std::string dir = directory.empty() ? std::string() : TranslatePath(directory);
  int64_t pid = SpawnProcess(argv, dir);
  if (pid < 0) return false;
  if (!wait) {
    ForgetProcess(pid);
    return true;
  }
  while (!ProcessHasEnded(pid)) {
    if (process_messages) process_messages();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

}  // namespace zorvex
