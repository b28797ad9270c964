#include "runner/Support_Stream.h"

#include <gtest/gtest.h>

namespace zorvex {
namespace {

TEST(SupportStream, BoolReadsTrueOnlyAboveZero) {
  CStream s;
  s.WriteInt(-1);
  s.WriteInt(2);
  s.WriteInt(0);
  s.Seek(0);
  EXPECT_FALSE(s.ReadBool());
  EXPECT_TRUE(s.ReadBool());
  EXPECT_FALSE(s.ReadBool());
  EXPECT_THROW(s.ReadBool(), StreamReadError);
}

}  // namespace
}  // namespace zorvex
