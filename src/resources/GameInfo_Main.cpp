#include "resources/GameInfo_Main.h"

#include "resources/Resource_Read.h"

namespace zorvex {

bool CGameInformation::ReadSection(CStream& s) {
  *this = CGameInformation();
  text.clear();
  if (s.ReadInt() != kSectionVersion) return false;
  background_color = s.ReadInt();
  in_game_window = s.ReadBool();
  caption = s.ReadString();
  left = s.ReadInt();
  top = s.ReadInt();
  width = s.ReadInt();
  height = s.ReadInt();
  show_border = s.ReadBool();
  sizeable = s.ReadBool();
  stay_on_top = s.ReadBool();
  modal = s.ReadBool();
  text = std::move(s.ReadCompressedBlock()->Bytes());
  return true;
}

void CGameInformation::WriteSection(CStream& s) const {
  s.WriteInt(kSectionVersion);
  s.WriteInt(background_color);
  s.WriteBool(in_game_window);
  s.WriteString(caption);
  s.WriteInt(left);
  s.WriteInt(top);
  s.WriteInt(width);
  s.WriteInt(height);
  s.WriteBool(show_border);
  s.WriteBool(sizeable);
  s.WriteBool(stay_on_top);
  s.WriteBool(modal);
  s.WriteCompressedBlock(text.data(), text.size());
}

}  // namespace zorvex
