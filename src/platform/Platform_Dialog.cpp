#include "platform/Platform_Dialog.h"

#include <SDL.h>

#include <cctype>

#include "platform/Platform_ErrorForm.h"
#include "platform/Platform_Loop.h"
#include "platform/Platform_Text.h"
#include "platform/Platform_Window.h"

namespace zorvex {

namespace {
// 1 OK / Yes, 0 No, -1 when the desktop could not show the box.
int ShowSdlBox(SDL_Window* parent, const std::string& caption, const std::string& text,
               bool question) {
  if (!PlatformHasVideo()) return -1;
  std::string c = Cp1252ToUtf8(caption), t = Cp1252ToUtf8(text);
  SDL_MessageBoxButtonData buttons[2] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, question ? "Yes" : "OK"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
  };
  if (!question) buttons[0].flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
  SDL_MessageBoxData data{};
  data.flags = question ? SDL_MESSAGEBOX_INFORMATION : SDL_MESSAGEBOX_ERROR;
  data.window = parent;
  data.title = c.c_str();
  data.message = t.c_str();
  data.numbuttons = question ? 2 : 1;
  data.buttons = buttons;
  int pressed = -1;
  if (SDL_ShowMessageBox(&data, &pressed) != 0) return -1;
  return pressed == 1 ? 1 : 0;
}
// The answer line in lower case without blanks.
std::string Word(const std::string& line) {
  std::string w;
  for (char ch : line)
    if (!std::isspace(static_cast<unsigned char>(ch)))
      w.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(ch))));
  return w;
}
}  // namespace

std::string ErrorMessageLines(const std::string& message) {
  std::string out;
  out.reserve(message.size());
  for (char ch : message) {
    if (ch == '\n') continue;
    out.push_back(ch == '\r' ? '\n' : ch);
  }
  return out;
}

CSystemDialogService::CSystemDialogService(SDL_Window* parent, CMessageLoop* loop)
    : parent_(parent), loop_(loop) {}

CSystemDialogService::~CSystemDialogService() = default;

void CSystemDialogService::SetParent(SDL_Window* parent) {
  parent_ = parent;
  if (error_form_) error_form_->SetParent(parent);
}

bool CSystemDialogService::ShowErrorMessages(const std::string& message, bool ignore_allowed) {
  if (!error_form_) {
    error_form_ = std::make_unique<TErrorForm>();
    error_form_->SetParent(parent_);
  }
  bool shown = false;
  bool abort = false;
  if (loop_ != nullptr) abort = error_form_->ShowModal(message, ignore_allowed, *loop_, shown);
  if (shown) return abort;
  // Nobody can answer on standard error: the game goes on where it may.
  std::fprintf(stderr, "%s: %s\n", CErrorFormModel::kCaption,
               Cp1252ToUtf8(ErrorMessageLines(message)).c_str());
  return !ignore_allowed;
}

void CSystemDialogService::ShowMessage(const std::string& caption, const std::string& text) {
  if (ShowSdlBox(parent_, caption, text, false) < 0)
    std::fprintf(stderr, "%s: %s\n", Cp1252ToUtf8(caption).c_str(), Cp1252ToUtf8(text).c_str());
}

bool CSystemDialogService::AskYesNo(const std::string& caption, const std::string& text) {
  int r = ShowSdlBox(parent_, caption, text, true);
  if (r >= 0) return r == 1;
  // Nobody can answer on standard error; take the default and say so.
  std::fprintf(stderr, "%s: %s [Yes]\n", Cp1252ToUtf8(caption).c_str(), Cp1252ToUtf8(text).c_str());
  return true;
}

bool ParseAbortIgnore(const std::string& line, bool& abort) {
  std::string w = Word(line);
  if (w == "abort" || w == "a") {
    abort = true;
    return true;
  }
  if (w == "ignore" || w == "i") {
    abort = false;
    return true;
  }
  return false;
}

bool ParseYesNo(const std::string& line, bool& yes) {
  std::string w = Word(line);
  if (w == "yes" || w == "y") {
    yes = true;
    return true;
  }
  if (w == "no" || w == "n") {
    yes = false;
    return true;
  }
  return false;
}

void CHeadlessDialogService::SetAnswers(std::vector<std::string> answers) {
  answers_.assign(answers.begin(), answers.end());
}

bool CHeadlessDialogService::NextAnswer(std::string& answer) {
  if (answers_.empty()) return false;
  answer = answers_.front();
  answers_.pop_front();
  return true;
}

void CHeadlessDialogService::ShowMessage(const std::string& caption, const std::string& text) {
  std::fprintf(out_, "[dialog] %s: %s\n", Cp1252ToUtf8(caption).c_str(),
               Cp1252ToUtf8(text).c_str());
  std::fflush(out_);
  std::string ignored;
  NextAnswer(ignored);
}

bool CHeadlessDialogService::AskYesNo(const std::string& caption, const std::string& text) {
  std::fprintf(out_, "[dialog] %s: %s\n", Cp1252ToUtf8(caption).c_str(),
               Cp1252ToUtf8(text).c_str());
  std::fflush(out_);
  std::string line;
  bool yes = true;
  if (NextAnswer(line) && ParseYesNo(line, yes)) return yes;
  return true;
}

bool CHeadlessDialogService::ShowErrorMessages(const std::string& message, bool ignore_allowed) {
  std::fprintf(out_, "[error] %s\n", Cp1252ToUtf8(ErrorMessageLines(message)).c_str());
  std::fflush(out_);
  std::string line;
  bool abort = false;
  if (NextAnswer(line) && ParseAbortIgnore(line, abort)) return abort || !ignore_allowed;
  return !ignore_allowed;
}

bool CScriptedDialogService::ShowErrorMessages(const std::string& message, bool ignore_allowed) {
  shown.push_back({Shown::kError, CErrorFormModel::kCaption, message, ignore_allowed});
  bool abort = false;
  if (!error_aborts.empty()) {
    abort = error_aborts.front();
    error_aborts.pop_front();
  }
  return abort || !ignore_allowed;
}

void CScriptedDialogService::ShowMessage(const std::string& caption, const std::string& text) {
  shown.push_back({Shown::kMessage, caption, text});
}

bool CScriptedDialogService::AskYesNo(const std::string& caption, const std::string& text) {
  shown.push_back({Shown::kQuestion, caption, text});
  if (answers.empty()) return true;
  bool a = answers.front();
  answers.pop_front();
  return a;
}

}  // namespace zorvex
