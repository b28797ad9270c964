// The instance lists of a running room: the active list, the inactive list, and per object the
// exact list (its own instances) and the family list (its and its descendants' instances), all
// in active-list order. The language reaches them through CInstanceWorld.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "code/Code_Instance.h"
#include "run/Instance_Class.h"

namespace zorvex {

class CObjectTable;
struct CResources;

class CInstanceLists final : public CInstanceWorld {
 public:
  explicit CInstanceLists(const CObjectTable& objects) : objects_(&objects) {}
  ~CInstanceLists() override;
  CInstanceLists(const CInstanceLists&) = delete;
  CInstanceLists& operator=(const CInstanceLists&) = delete;

  // CInstanceWorld.
  int ActiveCount() const override { return static_cast<int>(active_.size()); }
  CInstanceCore* Active(int i) const override { return active_[static_cast<size_t>(i)]; }
  int FamilyCount(int32_t object) const override { return static_cast<int>(Family(object).size()); }
  CInstanceCore* Family(int32_t object, int i) const override {
    return Family(object)[static_cast<size_t>(i)];
  }
  CInstanceCore* FindById(int32_t id) override;

  CInstance* ActiveAt(int i) const { return active_[static_cast<size_t>(i)]; }
  int InactiveCount() const { return static_cast<int>(inactive_.size()); }
  CInstance* InactiveAt(int i) const { return inactive_[static_cast<size_t>(i)]; }
  const std::vector<CInstance*>& ActiveList() const { return active_; }
  const std::vector<CInstance*>& InactiveList() const { return inactive_; }
  // An index outside the lists reads as an empty list.
  const std::vector<CInstance*>& Exact(int32_t object) const {
    return object >= 0 && static_cast<size_t>(object) < exact_.size()
               ? exact_[static_cast<size_t>(object)]
               : empty_;
  }
  const std::vector<CInstance*>& Family(int32_t object) const {
    return object >= 0 && static_cast<size_t>(object) < family_.size()
               ? family_[static_cast<size_t>(object)]
               : empty_;
  }
  // Changes with every change of the lists other than an instance appended at their ends, so
  // that an index over list positions knows when it must start again. Every operation that
  // removes, reorders or rebuilds must bump it.
  uint64_t Version() const { return version_; }

  int ExactCount(int32_t object) const { return static_cast<int>(Exact(object).size()); }
  CInstance* ExactAt(int32_t object, int i) const { return Exact(object)[static_cast<size_t>(i)]; }
  CInstance* FamilyAt(int32_t object, int i) const {
    return Family(object)[static_cast<size_t>(i)];
  }

  // last_instance_id += 1; a new instance of the object at (x, y) with that id, appended to the
  // active list and its object lists. Runs no event.
  CInstance* AddInstance(CResources& resources, int32_t object, double x, double y,
                         int32_t& last_instance_id);
  // A new instance with a given id (placed instances of a room, loaded games), appended to the
  // active list and its object lists.
  CInstance* AddWithId(CResources& resources, int32_t id, int32_t object, double x, double y);
  // Appends an instance made elsewhere to the inactive list (loaded games).
  void AdoptInactive(std::unique_ptr<CInstance> instance);
  // Appends an instance made elsewhere to the active list and its object lists.
  void AdoptActive(std::unique_ptr<CInstance> instance);

  // Frees every active instance that is marked; rebuilds the object lists if any was freed.
  void RemoveMarkedInstances();
  // Moves instances between the active and the inactive list by their deactivated flags.
  void ApplyActivation();
  // Stable sort of the active list, larger depth first.
  void SortInstancesByDepth();
  void RebuildObjectLists();
  // Frees every instance of both lists.
  void Clear();

 private:
  void Enter(CInstance* inst);
  void EnsureObject(int32_t object);

  const CObjectTable* objects_;
  std::vector<CInstance*> active_;  // owned
  std::vector<CInstance*> inactive_;  // owned
  std::vector<std::vector<CInstance*>> exact_;
  std::vector<std::vector<CInstance*>> family_;
  std::vector<CInstance*> scratch_;  // reused by the passes that rebuild the lists
  std::vector<CInstance*> empty_;
  uint64_t version_ = 0;
};

}  // namespace zorvex
