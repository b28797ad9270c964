#include "run/Object_Lists.h"

#include <algorithm>

#include "resources/Resource_Tables.h"

namespace zorvex {

CInstanceLists::~CInstanceLists() {
  Clear();
}

void CInstanceLists::Clear() {
  ++version_;
  for (CInstance* i : active_)
    delete i;
  for (CInstance* i : inactive_)
    delete i;
  active_.clear();
  inactive_.clear();
  for (auto& l : exact_)
    l.clear();
  for (auto& l : family_)
    l.clear();
}

CInstanceCore* CInstanceLists::FindById(int32_t id) {
  for (CInstance* i : active_)
    if (i->id == id) return i;
  return nullptr;
}

void CInstanceLists::EnsureObject(int32_t object) {
  size_t need = static_cast<size_t>(object) + 1;
  if (exact_.size() < need) {
    exact_.resize(need);
    family_.resize(need);
  }
}

// Into the exact list of its object and the family lists of the object and every ancestor.
void CInstanceLists::Enter(CInstance* inst) {
  int32_t o = inst->object_index;
  const int32_t count = objects_->Count();
  // The lists are as long as the object table: an object index outside it has none.
  if (o < 0 || o >= count) return;
  EnsureObject(o);
  exact_[static_cast<size_t>(o)].push_back(inst);
  // Parents are acyclic (the reader and object_set_parent refuse cycles); the bound only keeps
  // a damaged chain from looping.
  for (int32_t guard = 0; guard <= count; ++guard) {
    family_[static_cast<size_t>(o)].push_back(inst);
    const CObject* obj = objects_->Get(o);
    if (!obj) break;
    o = obj->parent_index;
    if (o < 0 || o >= count || !objects_->Exists(o)) break;
    EnsureObject(o);
  }
}

CInstance* CInstanceLists::AddInstance(CResources& resources, int32_t object, double x, double y,
                                       int32_t& last_instance_id) {
  ++last_instance_id;
  return AddWithId(resources, last_instance_id, object, x, y);
}

CInstance* CInstanceLists::AddWithId(CResources& resources, int32_t id, int32_t object, double x,
                                     double y) {
  auto inst = std::make_unique<CInstance>();
  inst->Create(resources, id, object, x, y);
  CInstance* raw = inst.get();
  AdoptActive(std::move(inst));
  return raw;
}

namespace {

// Room for one more entry before the list takes ownership, so that a failing allocation
// cannot leak the instance; growing by half keeps appends amortised constant.
void MakeRoomForOne(std::vector<CInstance*>& list) {
  if (list.size() == list.capacity()) list.reserve(list.size() + list.size() / 2 + 16);
}

}  // namespace

void CInstanceLists::AdoptActive(std::unique_ptr<CInstance> instance) {
  MakeRoomForOne(active_);
  CInstance* raw = instance.release();
  active_.push_back(raw);
  Enter(raw);
}

void CInstanceLists::AdoptInactive(std::unique_ptr<CInstance> instance) {
  MakeRoomForOne(inactive_);
  inactive_.push_back(instance.release());
}

void CInstanceLists::RemoveMarkedInstances() {
  auto keep = std::stable_partition(active_.begin(), active_.end(),
                                    [](const CInstance* i) { return !i->marked; });
  if (keep == active_.end()) return;
  ++version_;
  for (auto it = keep; it != active_.end(); ++it)
    delete *it;
  active_.erase(keep, active_.end());
  RebuildObjectLists();
}

void CInstanceLists::ApplyActivation() {
  bool any = false;
  for (const CInstance* i : active_)
    any = any || i->deactivated;
  for (const CInstance* i : inactive_)
    any = any || !i->deactivated;
  if (!any) return;
  ++version_;
  // Coming back: appended in inactive-list order; going: appended in active-list order.
  scratch_.clear();
  for (CInstance* i : inactive_)
    if (!i->deactivated) scratch_.push_back(i);
  std::erase_if(inactive_, [](const CInstance* i) { return !i->deactivated; });
  for (CInstance* i : active_)
    if (i->deactivated) inactive_.push_back(i);
  std::erase_if(active_, [](const CInstance* i) { return i->deactivated; });
  active_.insert(active_.end(), scratch_.begin(), scratch_.end());
  scratch_.clear();
  RebuildObjectLists();
}

void CInstanceLists::SortInstancesByDepth() {
  auto deeper = [](const CInstance* a, const CInstance* b) { return a->depth > b->depth; };
  if (std::is_sorted(active_.begin(), active_.end(), deeper)) return;
  ++version_;
  std::stable_sort(active_.begin(), active_.end(), deeper);
}

void CInstanceLists::RebuildObjectLists() {
  ++version_;
  for (auto& l : exact_)
    l.clear();
  for (auto& l : family_)
    l.clear();
  for (CInstance* i : active_)
    Enter(i);
}

}  // namespace zorvex
