// The slot table shared by every kind of resource: ids are slot indices, an empty slot stays in
// place (null entry, empty name) so that ids never move, and the stored section is a version,
// a slot count and per slot a present flag, a name and the resource's own record.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "resources/Resource_Read.h"
#include "resources/Resource_Texture.h"
#include "runner/Support_Stream.h"

namespace zorvex {

// The name every lookup answers for an empty or out-of-range slot.
inline constexpr std::string_view kUndefinedName = "<undefined>";

template <class T>
class CResourceTable {
 public:
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  bool InRange(int32_t id) const { return id >= 0 && id < Count(); }
  bool Exists(int32_t id) const { return InRange(id) && items_[static_cast<size_t>(id)]; }

  T* Get(int32_t id) { return Exists(id) ? items_[static_cast<size_t>(id)].get() : nullptr; }
  const T* Get(int32_t id) const {
    return Exists(id) ? items_[static_cast<size_t>(id)].get() : nullptr;
  }

  // The name, or "<undefined>" for an empty or out-of-range slot.
  std::string Name(int32_t id) const {
    return Exists(id) ? names_[static_cast<size_t>(id)] : std::string(kUndefinedName);
  }
  // The lowest id of a present resource with exactly this name (case-sensitive), else -1.
  int32_t Find(std::string_view name) const {
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i] && names_[i] == name) return static_cast<int32_t>(i);
    return -1;
  }

  // Resources with textures (sprites, backgrounds, fonts) make them through this maker from now
  // on: every present one is attached at once, and every one that enters the table later.
  void SetTextureMaker(ITextureMaker* maker) {
    texture_maker_ = maker;
    for (auto& item : items_)
      Adopt(item.get());
  }
  ITextureMaker* TextureMaker() const { return texture_maker_; }

  // Appends a slot; returns its id.
  int32_t Append(std::unique_ptr<T> item, std::string name) {
    Adopt(item.get());
    items_.push_back(std::move(item));
    names_.push_back(std::move(name));
    return Count() - 1;
  }
  // Appends a slot named prefix + its index ("__newsprite3"); returns its id.
  int32_t AppendNamed(std::unique_ptr<T> item, std::string_view prefix) {
    return Append(std::move(item), std::string(prefix) + std::to_string(Count()));
  }
  // Takes back the last slot (an add whose loading failed).
  void RemoveLast() {
    if (items_.empty()) return;
    items_.pop_back();
    names_.pop_back();
  }
  // Frees the resource; the slot stays, empty and nameless. False when there is nothing to free.
  bool Delete(int32_t id) {
    if (!Exists(id)) return false;
    items_[static_cast<size_t>(id)].reset();
    names_[static_cast<size_t>(id)].clear();
    return true;
  }
  // Puts a resource into a slot inside the table, keeping the slot's name.
  void Put(int32_t id, std::unique_ptr<T> item) {
    if (!InRange(id)) return;
    Adopt(item.get());
    items_[static_cast<size_t>(id)] = std::move(item);
  }
  // The resource of a slot inside the table, made (default) when the slot is empty.
  T* GetOrMake(int32_t id) {
    if (!InRange(id)) return nullptr;
    auto& slot = items_[static_cast<size_t>(id)];
    if (!slot) {
      slot = std::make_unique<T>();
      Adopt(slot.get());
    }
    return slot.get();
  }
  void SetName(int32_t id, std::string name) {
    if (InRange(id)) names_[static_cast<size_t>(id)] = std::move(name);
  }
  void Clear() {
    items_.clear();
    names_.clear();
  }

  // Reads version, slot count and slots; `read(stream, item)` reads one record. On any failure
  // the table is left empty.
  template <class ReadRecord>
  bool ReadTable(CStream& s, int32_t version, ReadRecord&& read) {
    Clear();
    if (s.ReadInt() != version) return false;
    int32_t count;
    if (!ReadCount(s, 4, count)) return false;
    for (int32_t i = 0; i < count; ++i) {
      if (!s.ReadBool()) {
        Append(nullptr, std::string());
        continue;
      }
      std::string name = s.ReadString();
      auto item = std::make_unique<T>();
      if (!read(s, *item)) {
        Clear();
        return false;
      }
      Append(std::move(item), std::move(name));
    }
    return true;
  }

  template <class WriteRecord>
  void WriteTable(CStream& s, int32_t version, WriteRecord&& write) const {
    s.WriteInt(version);
    s.WriteInt(Count());
    for (size_t i = 0; i < items_.size(); ++i) {
      s.WriteBool(items_[i] != nullptr);
      if (!items_[i]) continue;
      s.WriteString(names_[i]);
      write(s, *items_[i]);
    }
  }

 private:
  void Adopt(T* item) {
    if constexpr (requires(T & t, ITextureMaker * m) { t.AttachTextures(m); }) {
      if (item) item->AttachTextures(texture_maker_);
    }
  }

  std::vector<std::unique_ptr<T>> items_;
  std::vector<std::string> names_;
  ITextureMaker* texture_maker_ = nullptr;
};

}  // namespace zorvex
