// The per-process temporary directory and the file and process operations built on it.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace zorvex {

class CTempDirectory {
 public:
  CTempDirectory();
  ~CTempDirectory() { Delete(); }
  CTempDirectory(const CTempDirectory&) = delete;
  CTempDirectory& operator=(const CTempDirectory&) = delete;

  // Creates "zorvex_ttt_" + a number not in use under $TMPDIR (when set and at most 256
  // characters), else /tmp, then the current directory. False when all of them failed; the
  // path of the last attempt is kept all the same.
  bool Create();
  // The same with the given bases, in order (tests).
  bool CreateUnder(const std::vector<std::string>& bases);

  const std::string& Path() const { return path_; }
  bool Created() const { return created_; }

  // Removes the directory with everything in it. Files are only deleted inside the temporary
  // directory; links are removed, never followed. Failures are silent.
  void Delete();

  // A path in the directory that names no existing file: "a" + a number 0..99999 + suffix.
  std::string UniqueFileName(std::string_view suffix);

 private:
  std::string path_;
  bool created_ = false;
  std::mt19937 random_;
};

constexpr const char* kTempDirectoryFailedMessage =
    "Failed to create temp dir. This can cause serious problems with sounds, etc.";

// Hands a file (or address) to the desktop's opener; true when the request was accepted.
// The parameters have no equivalent for the opener and are not passed.
bool OpenWithShell(const std::string& file, const std::string& parameters,
                   const std::string& directory);

// Starts program + " " + parameters (split by the Windows rules; the program's path is a game
// path) in the directory. With wait, polls every 50 ms, calling process_messages between polls,
// until it ends. False when it could not be started.
bool RunProgram(const std::string& program, const std::string& parameters,
                const std::string& directory, bool wait,
                const std::function<void()>& process_messages);

}  // namespace zorvex
