#include "zorvex-build/Builder_Text.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/Platform_Text.h"

namespace zorvex {

namespace {

// Decodes one UTF-8 sequence at text[i]; false when it is not well formed (overlong forms,
// surrogates and values beyond U+10FFFF included).
bool DecodeUtf8(std::string_view text, size_t& i, uint32_t& cp) {
  const uint8_t b = static_cast<uint8_t>(text[i]);
  size_t len;
  uint32_t min;
  if (b < 0x80) {
    cp = b;
    ++i;
    return true;
  } else if ((b & 0xE0) == 0xC0) {
    len = 2, min = 0x80, cp = b & 0x1F;
  } else if ((b & 0xF0) == 0xE0) {
    len = 3, min = 0x800, cp = b & 0x0F;
  } else if ((b & 0xF8) == 0xF0) {
    len = 4, min = 0x10000, cp = b & 0x07;
  } else {
    return false;
  }
  if (i + len > text.size()) return false;
  for (size_t k = 1; k < len; ++k) {
    const uint8_t c = static_cast<uint8_t>(text[i + k]);
    if ((c & 0xC0) != 0x80) return false;
    cp = cp << 6 | (c & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  i += len;
  return true;
}

// The Windows-1252 byte of a code point; false when there is none.
bool Cp1252Byte(uint32_t cp, uint8_t& out) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
    out = static_cast<uint8_t>(cp);
    return true;
  }
  for (uint32_t b = 0x80; b < 0xA0; ++b) {
    if (Cp1252CodePoint(static_cast<uint8_t>(b)) == cp) {
      out = static_cast<uint8_t>(b);
      return true;
    }
  }
  return false;
}

}  // namespace

bool ToGameText(std::string_view text, std::string& out, std::string& why) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::string result;
  result.reserve(text.size());
  size_t i = 0;
  int line = 1;
  while (i < text.size()) {
    const size_t at = i;
    uint32_t cp;
    if (!DecodeUtf8(text, i, cp)) {
      out.assign(text);  // not UTF-8: Windows-1252 as it stands
      return true;
    }
    uint8_t b;
    if (!Cp1252Byte(cp, b)) {
      char code[16];
      std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
      // Keep scanning: a later malformed byte would make the whole text Windows-1252.
      size_t j = i;
      bool utf8 = true;
      while (j < text.size() && utf8) {
        uint32_t c2;
        utf8 = DecodeUtf8(text, j, c2);
      }
      if (!utf8) {
        out.assign(text);
        return true;
      }
      why = "line " + std::to_string(line) + ": the character " + code + " (\"" +
            std::string(text.substr(at, i - at)) + "\") has no Windows-1252 form";
      return false;
    }
    if (cp == '\n') ++line;
    result.push_back(static_cast<char>(b));
  }
  out = std::move(result);
  return true;
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

bool ReadFileBytes(const std::filesystem::path& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  if (in.bad()) return false;
  out = std::move(ss).str();
  return true;
}

bool ReadGameTextFile(const std::filesystem::path& path, const std::string& display_name,
                      std::string& out, std::string& error) {
  std::error_code ec;
  std::string bytes;
  if (std::filesystem::is_directory(path, ec) || !ReadFileBytes(path, bytes)) {
    error = display_name + ": cannot be read";
    return false;
  }
  std::string why;
  if (!ToGameText(bytes, out, why)) {
    error = display_name + ": " + why;
    return false;
  }
  return true;
}

}  // namespace zorvex
