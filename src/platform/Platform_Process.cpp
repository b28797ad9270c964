#include "platform/Platform_Process.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace zorvex {

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> out;
  size_t i = 0, n = line.size();
  while (true) {
    while (i < n && (line[i] == ' ' || line[i] == '\t'))
      ++i;
    if (i >= n) break;
    std::string arg;
    bool quoted = false;
    while (i < n && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
      if (line[i] == '\\') {
        size_t slashes = 0;
        while (i < n && line[i] == '\\')
          ++slashes, ++i;
        if (i < n && line[i] == '"') {
          arg.append(slashes / 2, '\\');
          if (slashes % 2 == 1) {
            arg.push_back('"');
            ++i;
          }
        } else {
          arg.append(slashes, '\\');
        }
      } else if (line[i] == '"') {
        // "" inside quotes is a literal quote, as the Windows runtime reads it.
        if (quoted && i + 1 < n && line[i + 1] == '"') {
          arg.push_back('"');
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        arg.push_back(line[i++]);
      }
    }
    out.push_back(std::move(arg));
  }
  return out;
}

int64_t SpawnProcess(const std::vector<std::string>& argv, const std::string& directory) {
  if (argv.empty() || argv[0].empty()) return -1;
  std::vector<char*> args;
  for (const std::string& a : argv)
    args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!directory.empty()) posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  pid_t pid = -1;
  int rc = argv[0].find('/') == std::string::npos
               ? posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ)
               : posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? static_cast<int64_t>(pid) : -1;
}

bool ProcessHasEnded(int64_t pid) {
  if (pid <= 0) return true;
  int status = 0;
  pid_t r = waitpid(static_cast<pid_t>(pid), &status, WNOHANG);
  if (r == 0) return false;
  return r == static_cast<pid_t>(pid) || errno == ECHILD;
}

void ForgetProcess(int64_t pid) {
  if (pid <= 0) return;
  // A waiting thread that touches nothing else keeps ended children from lingering as zombies.
  std::thread([pid] {
    int status = 0;
    while (waitpid(static_cast<pid_t>(pid), &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

namespace {
bool InPath(const char* program) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return false;
  std::string_view rest(path);
  while (true) {
    size_t colon = rest.find(':');
    std::string candidate(rest.substr(0, colon));
    if (candidate.empty()) candidate.push_back('.');
    candidate.push_back('/');
    candidate.append(program);
    if (access(candidate.c_str(), X_OK) == 0) return true;
    if (colon == std::string_view::npos) return false;
    rest.remove_prefix(colon + 1);
  }
}
}  // namespace

bool ShellOpen(const std::string& target, const std::string& directory) {
  if (target.empty() || !InPath("xdg-open")) return false;
  // The opener may keep running as long as the opened program does; a short-lived shell
  // detaches it so that nothing is left to reap.
  int64_t pid = SpawnProcess(
      {"/bin/sh", "-c", "xdg-open \"$1\" >/dev/null 2>&1 </dev/null &", "sh", target}, directory);
  if (pid < 0) return false;
  int status = 0;
  while (waitpid(static_cast<pid_t>(pid), &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int32_t ProgramPriorityNice(int32_t level) {
  // Priority class and thread priority of the old levels, as nice values of the game thread.
  switch (level) {
    case -3:
      return 19;
    case -2:
      return 10;
    case -1:
      return 5;
    case 1:
      return -5;
    case 2:
      return -15;
    case 3:
      return -20;
    default:
      return 0;
  }
}

void SetProgramPriority(int32_t level) {
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), ProgramPriorityNice(level));
}

}  // namespace zorvex
