#include "code/Extension_Class.h"

#include <filesystem>
#include <fstream>

#include "resources/Resource_Read.h"

namespace zorvex {

namespace {

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
    ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
    --e;
  return std::string(s.substr(b, e - b));
}

// A name that stays inside the folder it is joined to.
bool IsPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\\\0:", 4)) == std::string_view::npos;
}

template <class T>
bool ReadList(CStream& s, size_t min_bytes, std::vector<T>& out) {
  int32_t n;
  if (!ReadCount(s, min_bytes, n)) return false;
  for (int32_t i = 0; i < n; ++i) {
    T item;
    if (!item.ReadFrom(s)) return false;
    out.push_back(std::move(item));
  }
  return true;
}

template <class T>
void WriteList(CStream& s, const std::vector<T>& list) {
  s.WriteInt(static_cast<int32_t>(list.size()));
  for (const T& item : list)
    item.WriteTo(s);
}

}  // namespace

bool CExtensionConstant::ReadFrom(CStream& s) {
  if (s.ReadInt() != kRecordVersion) return false;
  name = s.ReadString();
  value = s.ReadString();
  return true;
}

void CExtensionConstant::WriteTo(CStream& s) const {
  s.WriteInt(kRecordVersion);
  s.WriteString(name);
  s.WriteString(value);
}

bool CExtensionFunction::ReadFrom(CStream& s) {
  if (s.ReadInt() != kRecordVersion) return false;
  name = s.ReadString();
  external_name = s.ReadString();
  call_kind = s.ReadInt();
  id = s.ReadInt();
  argument_count = s.ReadInt();
  for (int32_t& k : argument_kinds)
    k = s.ReadInt();
  result_kind = s.ReadInt();
  if (result_kind != kString) result_kind = kReal;
  return id >= 0 && id <= kMaxId;
}

void CExtensionFunction::WriteTo(CStream& s) const {
  s.WriteInt(kRecordVersion);
  s.WriteString(name);
  s.WriteString(external_name);
  s.WriteInt(call_kind);
  s.WriteInt(id);
  s.WriteInt(argument_count);
  for (int32_t k : argument_kinds)
    s.WriteInt(k);
  s.WriteInt(result_kind);
}

bool CExtensionFile::ReadFrom(CStream& s) {
  if (s.ReadInt() != kRecordVersion) return false;
  file_name = s.ReadString();
  kind = s.ReadInt();
  init_function = s.ReadString();
  final_function = s.ReadString();
  return ReadList(s, 4 * 24, functions) && ReadList(s, 12, constants);
}

void CExtensionFile::WriteTo(CStream& s) const {
  s.WriteInt(kRecordVersion);
  s.WriteString(file_name);
  s.WriteInt(kind);
  s.WriteString(init_function);
  s.WriteString(final_function);
  WriteList(s, functions);
  WriteList(s, constants);
}

std::vector<std::pair<std::string, std::string>> SplitScriptFile(std::string_view text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '\n') continue;
    if (c == '\r')
      lines.emplace_back();
    else
      lines.back() += c;
  }
  std::vector<std::pair<std::string, std::string>> out;
  size_t code_lines = 0;
  for (const std::string& line : lines) {
    if (line.compare(0, 7, "#define") == 0) {
      out.emplace_back(Trim(std::string_view(line).substr(7)), std::string());
      code_lines = 0;
    } else if (!out.empty()) {
      std::string& code = out.back().second;
      if (code_lines++ > 0) code += "\r\n";
      code += line;
    }
  }
  return out;
}

bool CExtensionPackage::ReadFrom(CStream& s) {
  *this = CExtensionPackage();
  if (s.ReadInt() != kRecordVersion) return false;
  name = s.ReadString();
  folder_name = s.ReadString();
  if (!ReadList(s, 4 * 7, files)) return false;
  // The folder and the unpacked files are made inside the temporary directory.
  if (!IsPlainName(folder_name)) return false;
  for (CExtensionFile& f : files) {
    if (f.HasContent() && !IsPlainName(f.file_name)) return false;
    for (CExtensionFunction& fn : f.functions) {
      fn.name = Trim(fn.name);
      fn.external_name = Trim(fn.external_name);
      if (fn.external_name.empty()) fn.external_name = fn.name;
      if (fn.argument_count > 4) fn.argument_kinds.fill(CExtensionFunction::kReal);
    }
  }

  std::unique_ptr<CStream> block = s.ReadCompressedBlock();
  if (block->Size() < 4) return false;
  data_seed = block->ReadInt();
  // The byte right after the seed is stored as it is.
  if (block->Size() > 5 && !DescramblePlain(*block, data_seed, 5, 0)) return false;
  block->Seek(4);
  for (CExtensionFile& f : files) {
    if (!f.HasContent()) continue;
    f.content = std::move(block->ReadCompressedBlock()->Bytes());
    if (f.kind != CExtensionFile::kScript) continue;
    std::string text(f.content.begin(), f.content.end());
    for (const auto& [define, code] : SplitScriptFile(text))
      for (CExtensionFunction& fn : f.functions)
        if (fn.external_name == define) fn.code = code;
  }
  return true;
}

void CExtensionPackage::WriteTo(CStream& s) const {
  s.WriteInt(kRecordVersion);
  s.WriteString(name);
  s.WriteString(folder_name);
  WriteList(s, files);
  CStream block;
  block.WriteInt(data_seed);
  for (const CExtensionFile& f : files)
    if (f.HasContent()) block.WriteCompressedBlock(f.content.data(), f.content.size());
  if (block.Size() > 5) ScramblePlain(block, data_seed, 5, 0);
  s.WriteCompressedBlock(block);
}

bool CExtensionPackage::Unpack(const std::string& temp_directory) const {
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::path(temp_directory) / folder_name;
  std::filesystem::create_directories(folder, ec);
  if (!std::filesystem::is_directory(folder, ec)) return false;
  for (const CExtensionFile& f : files) {
    if (f.kind != CExtensionFile::kLibrary && f.kind != CExtensionFile::kOther) continue;
    std::ofstream out(folder / f.file_name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(f.content.data()),
              static_cast<std::streamsize>(f.content.size()));
    out.close();
    if (!out) return false;
  }
  return true;
}

}  // namespace zorvex
