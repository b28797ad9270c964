// The narrow view the language has of instances and of the room's instance lists. The runtime's
// CInstance derives from CInstanceCore; the room implements CInstanceWorld.
#pragma once

#include <cstdint>

#include "code/Variable_Class.h"

namespace zorvex {

struct CInstanceCore {
  int32_t id = 0;
  int32_t object_index = 0;
  bool marked = false;  // destroyed, waiting for the next removal pass
  CVariableList variables;

  virtual ~CInstanceCore() = default;
};

// Positions are stable within a step: new instances are appended at the end and removed ones
// stay (marked) until the removal pass, so a loop may take a count once and index up to it.
class CInstanceWorld {
 public:
  virtual ~CInstanceWorld() = default;
  virtual int ActiveCount() const = 0;
  virtual CInstanceCore* Active(int i) const = 0;
  // The family list of an object: its active instances and those of its descendants.
  virtual int FamilyCount(int32_t object_index) const = 0;
  virtual CInstanceCore* Family(int32_t object_index, int i) const = 0;
  // The active instance with this id, marked or not; null when there is none.
  virtual CInstanceCore* FindById(int32_t id) = 0;
};

}  // namespace zorvex
