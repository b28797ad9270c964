// paths/NAME.json: kind, closed, precision and the points.
#include "zorvex-build/Builder_Catalog.h"
#include "zorvex-build/Builder_Readers.h"

namespace zorvex {

namespace {

constexpr NamedValue kPathKinds[] = {{"straight", 0}, {"smooth", 1}};

bool ReadPoint(const Json& v, CPathPoint& p) {
  auto number = [](const Json& n, double& out) {
    if (!n.is_number()) return false;
    out = n.get<double>();
    return true;
  };
  if (v.is_array())
    return (v.size() == 2 || v.size() == 3) && number(v[0], p.x) && number(v[1], p.y) &&
           (v.size() == 2 || number(v[2], p.speed));
  if (!v.is_object() || !v.contains("x") || !v.contains("y")) return false;
  for (auto it = v.begin(); it != v.end(); ++it)
    if (it.key() != "x" && it.key() != "y" && it.key() != "speed") return false;
  return number(v.at("x"), p.x) && number(v.at("y"), p.y) &&
         (!v.contains("speed") || number(v.at("speed"), p.speed));
}

bool ReadPath(const CProjectEntry& entry, CPath& path, std::string& error) {
  Json j;
  if (!LoadEntryJson(entry.path, entry.display, false, j, error)) return false;
  CJsonFields f(j, entry.display, "", error);
  if (!f.OnlyKnown({"kind", "closed", "precision", "points"}) ||
      !f.Named("kind", kPathKinds, path.kind) || !f.Bool("closed", path.closed) ||
      !f.IntIn("precision", path.precision, 0, CPath::kMaxPrecision))
    return false;
  if (f.Has("points")) {
    const Json& points = j.at("points");
    if (!points.is_array()) return f.Fail("points", "expected a list of points");
    for (size_t i = 0; i < points.size(); ++i) {
      CPathPoint p;
      if (!ReadPoint(points[i], p))
        return f.Fail("points[" + std::to_string(i) + "]",
                      "expected [x, y], [x, y, speed] or {\"x\": .., \"y\": .., \"speed\": ..} "
                      "(speed in percent, 100 when left out)");
      path.points.push_back(p);
    }
  }
  path.Recompute();
  return true;
}

}  // namespace

bool ReadPathFolder(CProject& project, std::string& error) {
  for (const CProjectEntry& entry : project.Entries(ProjectKind::kPath)) {
    auto path = std::make_unique<CPath>();
    if (!ReadPath(entry, *path, error)) return false;
    project.resources->paths.Append(std::move(path), entry.name);
  }
  return true;
}

}  // namespace zorvex
