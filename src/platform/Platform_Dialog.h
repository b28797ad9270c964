// Every box that waits for the player goes through one dialog service. Before the game window
// has graphics, boxes are the desktop's (SDL's message box, or standard error when there is
// none); headless runs print them and take scripted answers; tests record them.
#pragma once

#include <cstdio>
#include <deque>
#include <string>
#include <vector>

struct SDL_Window;

namespace zorvex {

class IDialogService {
 public:
  virtual ~IDialogService() = default;
  // The simple message box with one OK button. Texts are Windows-1252.
  virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
  // The Yes/No question; true for Yes. Yes is the default answer.
  virtual bool AskYesNo(const std::string& caption, const std::string& text) = 0;
};

// The desktop's message box, over the given window when there is one; standard error
// ("CAPTION: TEXT") when the desktop cannot show it.
class CSystemDialogService : public IDialogService {
 public:
  explicit CSystemDialogService(SDL_Window* parent = nullptr) : parent_(parent) {}
  void SetParent(SDL_Window* parent) { parent_ = parent; }
  void ShowMessage(const std::string& caption, const std::string& text) override;
  bool AskYesNo(const std::string& caption, const std::string& text) override;

 private:
  SDL_Window* parent_;
};

// Prints "[dialog] CAPTION: TEXT" for every box and takes the next scripted answer, or the
// default when there is none. Every box uses up one answer line; for a question, "yes"/"y" and
// "no"/"n" (any letter case) answer it and other lines give the default.
class CHeadlessDialogService : public IDialogService {
 public:
  explicit CHeadlessDialogService(std::FILE* out = stderr) : out_(out) {}
  void SetAnswers(std::vector<std::string> answers);
  void ShowMessage(const std::string& caption, const std::string& text) override;
  bool AskYesNo(const std::string& caption, const std::string& text) override;

 private:
  bool NextAnswer(std::string& answer);
  std::FILE* out_;
  std::deque<std::string> answers_;
};

// For tests: records every box and answers questions from a queue (Yes when it is empty).
class CScriptedDialogService : public IDialogService {
 public:
  struct Shown {
    enum Kind { kMessage, kQuestion } kind;
    std::string caption;
    std::string text;
  };
  void ShowMessage(const std::string& caption, const std::string& text) override;
  bool AskYesNo(const std::string& caption, const std::string& text) override;

  std::vector<Shown> shown;
  std::deque<bool> answers;
};

// Parses a yes/no answer line; false when it says neither.
bool ParseYesNo(const std::string& line, bool& yes);

}  // namespace zorvex
