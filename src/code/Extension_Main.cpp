#include "code/Extension_Main.h"

#include <algorithm>

#include "resources/Resource_Read.h"

namespace zorvex {

bool CExtensionPackages::ReadSection(CStream& s) {
  packages.clear();
  if (s.ReadInt() != kSectionVersion) return false;
  int32_t count;
  // The smallest package: its version, two empty strings, no files and an empty block.
  if (!ReadCount(s, 4 * 5, count)) return false;
  for (int32_t i = 0; i < count; ++i) {
    CExtensionPackage p;
    if (!p.ReadFrom(s)) {
      packages.clear();
      return false;
    }
    packages.push_back(std::move(p));
  }
  if (!temp_directory.empty())
    for (const CExtensionPackage& p : packages)
      if (!p.Unpack(temp_directory)) return false;
  return true;
}

void CExtensionPackages::WriteSection(CStream& s) const {
  s.WriteInt(kSectionVersion);
  s.WriteInt(static_cast<int32_t>(packages.size()));
  for (const CExtensionPackage& p : packages)
    p.WriteTo(s);
}

int32_t CExtensionPackages::FindFunction(std::string_view name) const {
  for (const CExtensionPackage& p : packages)
    for (const CExtensionFile& f : p.files)
      for (const CExtensionFunction& fn : f.functions)
        if (fn.name == name) return fn.id;
  return -1;
}

const CExtensionFunction* CExtensionPackages::FunctionById(int32_t id) const {
  for (const CExtensionPackage& p : packages)
    for (const CExtensionFile& f : p.files)
      for (const CExtensionFunction& fn : f.functions)
        if (fn.id == id) return &fn;
  return nullptr;
}

int32_t CExtensionPackages::MaxFunctionId() const {
  int32_t m = -1;
  for (const CExtensionPackage& p : packages)
    for (const CExtensionFile& f : p.files)
      for (const CExtensionFunction& fn : f.functions)
        m = std::max(m, fn.id);
  return m;
}

}  // namespace zorvex
