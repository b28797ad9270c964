#include "run/Event_Name.h"

namespace zorvex {

namespace {

constexpr const char* kUnknown = "<unknown>";

struct NamedKey {
  int32_t code;
  const char* name;
};

constexpr NamedKey kKeyNames[] = {
    {0, "<no key>"},     {1, "<any key>"},     {8, "<Backspace>"},  {9, "<Tab>"},
    {13, "<Enter>"},     {16, "<Shift>"},      {17, "<Ctrl>"},      {18, "<Alt>"},
    {27, "<Escape>"},    {32, "<Space>"},      {33, "<Page Up>"},   {34, "<Page Down>"},
    {35, "<End>"},       {36, "<Home>"},       {37, "<Left>"},      {38, "<Up>"},
    {39, "<Right>"},     {40, "<Down>"},       {45, "<Insert>"},    {46, "<Delete>"},
    {106, "Keypad *"},   {107, "Keypad +"},    {109, "Keypad -"},   {110, "Keypad ."},
    {111, "Keypad /"},
};

constexpr NamedKey kMouseNames[] = {
    {0, "Left Button"},          {1, "Right Button"},         {2, "Middle Button"},
    {3, "No Button"},            {4, "Left Pressed"},         {5, "Right Pressed"},
    {6, "Middle Pressed"},       {7, "Left Released"},        {8, "Right Released"},
    {9, "Middle Released"},      {10, "Mouse Enter"},         {11, "Mouse Leave"},
    {16, "Joystick 1 Left"},     {17, "Joystick 1 Right"},    {18, "Joystick 1 Up"},
    {19, "Joystick 1 Down"},     {31, "Joystick 2 Left"},     {32, "Joystick 2 Right"},
    {33, "Joystick 2 Up"},       {34, "Joystick 2 Down"},     {50, "Glob Left Button"},
    {51, "Glob Right Button"},   {52, "Glob Middle Button"},  {53, "Glob Left Pressed"},
    {54, "Glob Right Pressed"},  {55, "Glob Middle Pressed"}, {56, "Glob Left Released"},
    {57, "Glob Right Released"}, {58, "Glob Middle Released"}, {60, "Mouse Wheel Up"},
    {61, "Mouse Wheel Down"},
};

constexpr NamedKey kOtherNames[] = {
    {0, "Outside Room"},   {1, "Intersect Boundary"}, {2, "Game Start"},
    {3, "Game End"},       {4, "Room Start"},         {5, "Room End"},
    {6, "No More Lives"},  {7, "Animation End"},      {8, "End Of Path"},
    {9, "No More Health"}, {30, "Close Button"},
};

template <size_t N>
const char* Lookup(const NamedKey (&table)[N], int32_t code) {
  for (const NamedKey& k : table)
    if (k.code == code) return k.name;
  return nullptr;
}

}  // namespace

std::string KeyName(int32_t key) {
  if (const char* n = Lookup(kKeyNames, key)) return n;
  if ((key >= 48 && key <= 57) || (key >= 65 && key <= 90))
    return std::string(1, static_cast<char>(key)) + "-key";
  if (key >= 96 && key <= 105) return "Keypad " + std::to_string(key - 96);
  if (key >= 112 && key <= 123) return "F" + std::to_string(key - 111);
  return kUnknown;
}

std::string MouseEventName(int32_t number) {
  if (const char* n = Lookup(kMouseNames, number)) return n;
  if (number >= 21 && number <= 28) return "Joystick 1 Button " + std::to_string(number - 20);
  if (number >= 36 && number <= 43) return "Joystick 2 Button " + std::to_string(number - 35);
  return kUnknown;
}

std::string OtherEventName(int32_t number) {
  if (const char* n = Lookup(kOtherNames, number)) return n;
  if (number >= 10 && number <= 25) return "User Defined " + std::to_string(number - 10);
  if (number >= 40 && number <= 47) return "Outside View " + std::to_string(number - 40);
  if (number >= 50 && number <= 57) return "Boundary View " + std::to_string(number - 50);
  return kUnknown;
}

std::string EventName(int32_t type, int32_t number,
                      const std::function<std::string(int32_t)>& object_name) {
  switch (type) {
    case 0:
      return "Create Event";
    case 1:
      return "Destroy Event";
    case 2:
      return "Alarm Event for alarm " + std::to_string(number);
    case 3: {
      const char* step = number == 0 ? "" : number == 1 ? "Begin" : number == 2 ? "End" : kUnknown;
      return std::string(step) + " Step Event";
    }
    case 4:
      return "Collision Event with object " + (object_name ? object_name(number) : std::string());
    case 5:
      return "Keyboard Event for " + KeyName(number) + " Key";
    case 6:
      return "Mouse Event for " + MouseEventName(number);
    case 7:
      return "Other Event: " + OtherEventName(number);
    case 8:
      return "Draw Event";
    case 9:
      return "Key Press Event for " + KeyName(number) + " Key";
    case 10:
      return "Key Release Event for " + KeyName(number) + " Key";
    default:
      return "<Unknown Event>";
  }
}

}  // namespace zorvex
