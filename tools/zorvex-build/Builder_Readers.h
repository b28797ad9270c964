// The project readers of the resource folders, one per kind (Builder_<Kind>.cpp). Each reads
// every entry of its kind that the listing found, in index order, into the project's tables.
#pragma once

#include <string>

namespace zorvex {

struct CProject;

bool ReadExtensionFolder(CProject& project, std::string& error);   // extensions/NAME/
bool ReadSoundFolder(CProject& project, std::string& error);       // sounds/
bool ReadSpriteFolder(CProject& project, std::string& error);      // sprites/NAME/
bool ReadBackgroundFolder(CProject& project, std::string& error);  // backgrounds/
bool ReadPathFolder(CProject& project, std::string& error);        // paths/
bool ReadScriptFolder(CProject& project, std::string& error);      // scripts/
bool ReadFontFolder(CProject& project, std::string& error);        // fonts/
bool ReadTimeLineFolder(CProject& project, std::string& error);    // timelines/
bool ReadObjectFolder(CProject& project, std::string& error);      // objects/
bool ReadRoomFolder(CProject& project, std::string& error);        // rooms/
bool ReadIncludedFolder(CProject& project, std::string& error);    // included/ + included.json

}  // namespace zorvex
