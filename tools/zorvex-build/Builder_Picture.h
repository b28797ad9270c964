// Picture files of a project folder (PNG or BMP) read into images.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "runner/Support_Image.h"

namespace zorvex {

// False with "NAME: ..." when the file is missing or is no PNG or BMP picture.
bool LoadPictureFile(const std::filesystem::path& path, const std::string& display_name,
                     std::unique_ptr<CImage>& out, std::string& error);

}  // namespace zorvex
