// Every box that waits for the player goes through one dialog service. Before the game window
// has graphics, boxes are the desktop's (SDL's message box, or standard error when there is
// none); headless runs print them and take scripted answers; tests record them.
#pragma once

#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <vector>

struct SDL_Window;

namespace zorvex {

class CMessageLoop;
class TErrorForm;

class IDialogService {
 public:
  virtual ~IDialogService() = default;
  // The simple message box with one OK button. Texts are Windows-1252.
  virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
  // The Yes/No question; true for Yes. Yes is the default answer.
  virtual bool AskYesNo(const std::string& caption, const std::string& text) = 0;
  // The error window: the message joins the text of every error shown in this run, and the
  // window waits for the player. True when the player asks to abort; Ignore is offered only
  // when `ignore_allowed`.
  virtual bool ShowErrorMessages(const std::string& message, bool ignore_allowed) = 0;
};

// The lines of an error message as the error window shows them: split at carriage returns,
// line feeds dropped, joined here by line feeds.
std::string ErrorMessageLines(const std::string& message);

// The desktop's message box, over the given window when there is one; standard error
// ("CAPTION: TEXT") when the desktop cannot show it.
// The error window is a window of its own, run modally on the message loop; when it cannot be
// shown, the message goes to standard error ("Error Messages: TEXT") and is ignored if allowed.
class CSystemDialogService : public IDialogService {
 public:
  explicit CSystemDialogService(SDL_Window* parent = nullptr, CMessageLoop* loop = nullptr);
  ~CSystemDialogService() override;
  void SetParent(SDL_Window* parent);
  void ShowMessage(const std::string& caption, const std::string& text) override;
  bool AskYesNo(const std::string& caption, const std::string& text) override;
  bool ShowErrorMessages(const std::string& message, bool ignore_allowed) override;

 private:
  SDL_Window* parent_;
  CMessageLoop* loop_;
  std::unique_ptr<TErrorForm> error_form_;  // made on the first error, kept for the run
};

// Prints "[dialog] CAPTION: TEXT" for every box and takes the next scripted answer, or the
// default when there is none. Every box uses up one answer line; for a question, "yes"/"y" and
// "no"/"n" (any letter case) answer it and other lines give the default. The error window
// prints "[error] TEXT" (the message's lines joined by line feeds); "abort"/"a" and
// "ignore"/"i" answer it, and its default is Ignore where Ignore is offered.
class CHeadlessDialogService : public IDialogService {
 public:
  explicit CHeadlessDialogService(std::FILE* out = stderr) : out_(out) {}
  void SetAnswers(std::vector<std::string> answers);
  void ShowMessage(const std::string& caption, const std::string& text) override;
  bool AskYesNo(const std::string& caption, const std::string& text) override;
  bool ShowErrorMessages(const std::string& message, bool ignore_allowed) override;

 private:
  bool NextAnswer(std::string& answer);
  std::FILE* out_;
  std::deque<std::string> answers_;
};

// For tests: records every box and answers questions from a queue (Yes when it is empty) and
// error windows from another (Ignore where offered when it is empty; true means Abort).
class CScriptedDialogService : public IDialogService {
 public:
  struct Shown {
    enum Kind { kMessage, kQuestion, kError } kind;
    std::string caption;  // for an error: "Error Messages"
    std::string text;
    bool ignore_allowed = false;
  };
  void ShowMessage(const std::string& caption, const std::string& text) override;
  bool AskYesNo(const std::string& caption, const std::string& text) override;
  bool ShowErrorMessages(const std::string& message, bool ignore_allowed) override;

  std::vector<Shown> shown;
  std::deque<bool> answers;
  std::deque<bool> error_aborts;
};

// Reads an answer line of the error window; false when it says neither abort nor ignore.
bool ParseAbortIgnore(const std::string& line, bool& abort);

// Parses a yes/no answer line; false when it says neither.
bool ParseYesNo(const std::string& line, bool& yes);

}  // namespace zorvex
