#include <cstdio>
#include <string>

#include "zorvex-build/Builder_Game.h"
#include "zorvex-build/Builder_Project.h"

namespace {
const char* kUsage = "usage: zorvex-build PROJECT -o GAME\n";
}

int main(int argc, char** argv) {
  std::string project_dir, output;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "-o" && i + 1 < argc) {
      output = argv[++i];
    } else if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (!a.empty() && a[0] != '-' && project_dir.empty()) {
      project_dir = a;
    } else {
      std::fprintf(stderr, "zorvex-build: unexpected argument \"%s\"\n%s", a.c_str(), kUsage);
      return 2;
    }
  }
  if (project_dir.empty() || output.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  zorvex::CProject project;
  std::string error;
  if (!zorvex::ReadProject(project_dir, project, error) ||
      !zorvex::WriteGameFile(project, output, error)) {
    std::fprintf(stderr, "zorvex-build: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
