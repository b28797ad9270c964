// Game text is Windows-1252 bytes; the desktop speaks UTF-8. Convert at the edges only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zorvex {

std::string Cp1252ToUtf8(std::string_view text);
// The Unicode code point of one Windows-1252 byte (the five unassigned bytes map to themselves).
uint32_t Cp1252CodePoint(uint8_t c);
// Characters outside Windows-1252 become '?'.
std::string Utf8ToCp1252(std::string_view text);

}  // namespace zorvex
