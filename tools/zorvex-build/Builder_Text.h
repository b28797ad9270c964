// Texts of a project folder as the game stores them: Windows-1252 bytes. Project files are
// usually UTF-8; a file that is not valid UTF-8 is taken to be Windows-1252 already.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zorvex {

// Valid UTF-8 (a leading byte-order mark dropped) becomes Windows-1252; false, with `why`
// naming the line and the character, when a character has no Windows-1252 form. Text that is
// not UTF-8 is kept byte for byte.
bool ToGameText(std::string_view text, std::string& out, std::string& why);

// Code as Windows authors wrote it: every line break CR LF (a lone LF or a lone CR becomes
// CR LF), so that line numbers of compile errors count right.
std::string WithCrLf(std::string_view text);

// Reads a whole file as bytes; false when it cannot be read.
bool ReadFileBytes(const std::filesystem::path& path, std::string& out);

// A text file of the project as game text; the error names the file.
bool ReadGameTextFile(const std::filesystem::path& path, const std::string& display_name,
                      std::string& out, std::string& error);

}  // namespace zorvex
