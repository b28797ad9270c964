// timelines/NAME.json: {"moments": {"STEP": actions, ...}}.
#include <algorithm>
#include <cstdlib>

#include "zorvex-build/Builder_Catalog.h"
#include "zorvex-build/Builder_Events.h"
#include "zorvex-build/Builder_Readers.h"

namespace zorvex {

namespace {

bool ParseStep(const std::string& text, int32_t& out) {
  if (text.empty() || text.size() > 11) return false;
  char* end = nullptr;
  const long long v = std::strtoll(text.c_str(), &end, 10);
  if (end != text.c_str() + text.size() || text[0] == '+' || text[0] == ' ') return false;
  if (v < INT32_MIN || v > INT32_MAX) return false;
  out = static_cast<int32_t>(v);
  return true;
}

bool ReadTimeLine(const CProject& project, const CProjectEntry& entry, CTimeLine& line,
                  std::string& error) {
  Json j;
  if (!LoadEntryJson(entry.path, entry.display, false, j, error)) return false;
  CJsonFields f(j, entry.display, "", error);
  if (!f.OnlyKnown({"moments"})) return false;
  if (!f.Has("moments")) return true;
  const Json& moments = j.at("moments");
  if (!moments.is_object()) return f.Fail("moments", "expected an object of \"STEP\": actions");
  const CActionSource source{project, entry.path.parent_path(), DisplayFolder(entry),
                             entry.display};
  for (auto it = moments.begin(); it != moments.end(); ++it) {
    const std::string field = "moments." + it.key();
    int32_t step;
    if (!ParseStep(it.key(), step))
      return f.Fail(field, "a moment's key is its step, a whole number");
    if (line.FindMoment(step) >= 0)
      return f.Fail(field, "a second moment for step " + std::to_string(step));
    CEvent* event = line.AddMoment(step);
    if (!ReadEventActions(source, it.value(), field, *event, error)) return false;
  }
  return true;
}

}  // namespace

bool ReadTimeLineFolder(CProject& project, std::string& error) {
  for (const CProjectEntry& entry : project.Entries(ProjectKind::kTimeLine)) {
    auto line = std::make_unique<CTimeLine>();
    if (!ReadTimeLine(project, entry, *line, error)) return false;
    project.resources->time_lines.Append(std::move(line), entry.name);
  }
  return true;
}

}  // namespace zorvex
