#include "runner/Runner_Information.h"

#include <algorithm>

#include "runner/Runner_Format.h"
#include "runner/Support_Stream.h"

namespace zorvex {

bool ReadGameInformation(CStream& s, CGameInformation& info, int32_t screen_width,
                         int32_t screen_height) {
  info.text.clear();
  if (s.ReadInt() != SectionVersion(SectionId::kGameInformation)) return false;
  info.background_color = s.ReadInt();
  info.in_game_window = s.ReadBool();
  info.caption = s.ReadString();
  int32_t left = s.ReadInt();
  int32_t top = s.ReadInt();
  int32_t width = s.ReadInt();
  int32_t height = s.ReadInt();
  info.show_border = s.ReadBool();
  info.sizeable = s.ReadBool();
  info.stay_on_top = s.ReadBool();
  info.modal = s.ReadBool();
  std::unique_ptr<CStream> text = s.ReadCompressedBlock();
  info.text.assign(reinterpret_cast<const char*>(text->Data()), text->Size());

  // The size is clamped to the screen before a negative position centres the window.
  info.width = std::min(width, screen_width);
  info.height = std::min(height, screen_height);
  info.left = left < 0 ? (screen_width - info.width) / 2 : left;
  info.top = top < 0 ? (screen_height - info.height) / 2 : top;
  return true;
}

void WriteGameInformation(CStream& s, const CGameInformation& info) {
  s.WriteInt(SectionVersion(SectionId::kGameInformation));
  s.WriteInt(info.background_color);
  s.WriteBool(info.in_game_window);
  s.WriteString(info.caption);
  s.WriteInt(info.left);
  s.WriteInt(info.top);
  s.WriteInt(info.width);
  s.WriteInt(info.height);
  s.WriteBool(info.show_border);
  s.WriteBool(info.sizeable);
  s.WriteBool(info.stay_on_top);
  s.WriteBool(info.modal);
  s.WriteCompressedBlock(reinterpret_cast<const uint8_t*>(info.text.data()), info.text.size());
}

}  // namespace zorvex
