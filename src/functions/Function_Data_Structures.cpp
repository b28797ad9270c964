#include "functions/Function_Data_Structures.h"

#include <cmath>
#include <memory>

#include "code/Code_Function.h"
#include "code/Code_Round.h"
#include "data_structures/Support_Data_Structures.h"
#include "game/Game.h"

namespace zorvex {

namespace {

constexpr const char* kNoSuchStructure = "Data structure with index does not exist.";
constexpr const char* kNotHexadecimal =
    "Cannot read the data structure: the string is not hexadecimal.";
constexpr const char* kCorruptForm =
    "Cannot read the data structure: the string is incomplete or damaged.";
constexpr const char* kGridTooLarge = "Cannot make a grid that large.";

using Op = CDS_Grid::Op;

int64_t Int(const RValue& v) {
  return RoundToInt64(v.real);
}

void SetBool(RValue& result, bool b) {
  result.SetReal(b ? 1.0 : 0.0);
}

void SetOptional(RValue& result, const RValue* v) {
  if (v) result = *v;
}

template <class T>
CDS_Table<T>& TableOf(CDataStructures& ds);
template <>
CDS_Table<CDS_Stack>& TableOf(CDataStructures& ds) {
  return ds.stacks;
}
template <>
CDS_Table<CDS_Queue>& TableOf(CDataStructures& ds) {
  return ds.queues;
}
template <>
CDS_Table<CDS_List>& TableOf(CDataStructures& ds) {
  return ds.lists;
}
template <>
CDS_Table<CDS_Map>& TableOf(CDataStructures& ds) {
  return ds.maps;
}
template <>
CDS_Table<CDS_Priority>& TableOf(CDataStructures& ds) {
  return ds.priorities;
}
template <>
CDS_Table<CDS_Grid>& TableOf(CDataStructures& ds) {
  return ds.grids;
}

// The structure named by id, or null after reporting that it does not exist.
template <class T>
T* Lookup(CGame& game, const RValue& id) {
  T* s = TableOf<T>(game.data_structures).Get(Int(id));
  if (!s) game.errors.ReportInContext(kNoSuchStructure, false);
  return s;
}

double Precision(CGame& game) {
  return game.data_structures.precision;
}

#define DS_HANDLER(name)                                                       \
  void name([[maybe_unused]] CGame& game, CInstanceCore*, CInstanceCore*, int, \
            [[maybe_unused]] RValue* args, [[maybe_unused]] RValue& result)

// ---------------------------------------------------------------------------------------------
// Operations every kind shares

template <class T>
DS_HANDLER(Create) {
  result.SetReal(TableOf<T>(game.data_structures).Create(std::make_unique<T>()));
}

template <class T>
DS_HANDLER(Destroy) {
  if (!TableOf<T>(game.data_structures).Destroy(Int(args[0])))
    game.errors.ReportInContext(kNoSuchStructure, false);
}

template <class T>
DS_HANDLER(Clear) {
  if (T* s = Lookup<T>(game, args[0])) s->Clear();
}

template <class T>
DS_HANDLER(Copy) {
  CDS_Table<T>& table = TableOf<T>(game.data_structures);
  T* target = table.Get(Int(args[0]));
  T* source = table.Get(Int(args[1]));
  if (!target || !source) {
    game.errors.ReportInContext(kNoSuchStructure, false);
    return;
  }
  if (target != source) *target = *source;
}

template <class T>
DS_HANDLER(Size) {
  if (T* s = Lookup<T>(game, args[0])) result.SetReal(s->Size());
}

template <class T>
DS_HANDLER(Empty) {
  if (T* s = Lookup<T>(game, args[0])) SetBool(result, s->Size() == 0);
}

template <class T>
DS_HANDLER(Write) {
  if (T* s = Lookup<T>(game, args[0])) result.SetString(s->Write());
}

// A string of another kind is refused silently; one that cannot be read at all is reported.
// Either way the structure keeps its content.
template <class T>
DS_HANDLER(Read) {
  T* s = Lookup<T>(game, args[0]);
  if (!s) return;
  switch (s->Read(args[1].str)) {
    case DSReadResult::kNotHex:
      game.errors.ReportInContext(kNotHexadecimal, false);
      break;
    case DSReadResult::kCorrupt:
      game.errors.ReportInContext(kCorruptForm, false);
      break;
    case DSReadResult::kOk:
    case DSReadResult::kWrongKind:
      break;
  }
}

DS_HANDLER(SetPrecision) {
  game.data_structures.precision = std::fabs(args[0].real);
}

// ---------------------------------------------------------------------------------------------
// Stack

DS_HANDLER(StackPush) {
  if (auto* s = Lookup<CDS_Stack>(game, args[0])) s->Push(args[1]);
}

DS_HANDLER(StackPop) {
  if (auto* s = Lookup<CDS_Stack>(game, args[0])) result = s->Pop();
}

DS_HANDLER(StackTop) {
  if (auto* s = Lookup<CDS_Stack>(game, args[0])) SetOptional(result, s->Top());
}

// ---------------------------------------------------------------------------------------------
// Queue

DS_HANDLER(QueueEnqueue) {
  if (auto* q = Lookup<CDS_Queue>(game, args[0])) q->Enqueue(args[1]);
}

DS_HANDLER(QueueDequeue) {
  if (auto* q = Lookup<CDS_Queue>(game, args[0])) result = q->Dequeue();
}

DS_HANDLER(QueueHead) {
  if (auto* q = Lookup<CDS_Queue>(game, args[0])) SetOptional(result, q->Head());
}

DS_HANDLER(QueueTail) {
  if (auto* q = Lookup<CDS_Queue>(game, args[0])) SetOptional(result, q->Tail());
}

// ---------------------------------------------------------------------------------------------
// List

DS_HANDLER(ListAdd) {
  if (auto* l = Lookup<CDS_List>(game, args[0])) l->Add(args[1]);
}

DS_HANDLER(ListInsert) {
  if (auto* l = Lookup<CDS_List>(game, args[0])) l->Insert(Int(args[1]), args[2]);
}

DS_HANDLER(ListReplace) {
  if (auto* l = Lookup<CDS_List>(game, args[0])) l->Replace(Int(args[1]), args[2]);
}

DS_HANDLER(ListDelete) {
  if (auto* l = Lookup<CDS_List>(game, args[0])) l->Delete(Int(args[1]));
}

DS_HANDLER(ListFindIndex) {
  if (auto* l = Lookup<CDS_List>(game, args[0]))
    result.SetReal(l->FindIndex(args[1], Precision(game)));
}

DS_HANDLER(ListFindValue) {
  if (auto* l = Lookup<CDS_List>(game, args[0])) SetOptional(result, l->At(Int(args[1])));
}

DS_HANDLER(ListSort) {
  if (auto* l = Lookup<CDS_List>(game, args[0])) l->Sort(IsTrue(args[1].real), Precision(game));
}

DS_HANDLER(ListShuffle) {
  if (auto* l = Lookup<CDS_List>(game, args[0])) l->Shuffle(game.data_structures.random);
}

// ---------------------------------------------------------------------------------------------
// Map

DS_HANDLER(MapAdd) {
  if (auto* m = Lookup<CDS_Map>(game, args[0])) m->Add(args[1], args[2], Precision(game));
}

DS_HANDLER(MapReplace) {
  if (auto* m = Lookup<CDS_Map>(game, args[0])) m->Replace(args[1], args[2], Precision(game));
}

DS_HANDLER(MapDelete) {
  if (auto* m = Lookup<CDS_Map>(game, args[0])) m->Delete(args[1], Precision(game));
}

DS_HANDLER(MapExists) {
  if (auto* m = Lookup<CDS_Map>(game, args[0]))
    SetBool(result, m->FindValue(args[1], Precision(game)) != nullptr);
}

DS_HANDLER(MapFindValue) {
  if (auto* m = Lookup<CDS_Map>(game, args[0]))
    SetOptional(result, m->FindValue(args[1], Precision(game)));
}

// The key-returning lookups leave the preset real 0 when there is no such key.
DS_HANDLER(MapFindPrevious) {
  if (auto* m = Lookup<CDS_Map>(game, args[0])) m->FindPrevious(args[1], Precision(game), result);
}

DS_HANDLER(MapFindNext) {
  if (auto* m = Lookup<CDS_Map>(game, args[0])) m->FindNext(args[1], Precision(game), result);
}

DS_HANDLER(MapFindFirst) {
  if (auto* m = Lookup<CDS_Map>(game, args[0])) m->First(result);
}

DS_HANDLER(MapFindLast) {
  if (auto* m = Lookup<CDS_Map>(game, args[0])) m->Last(result);
}

// ---------------------------------------------------------------------------------------------
// Priority queue

DS_HANDLER(PriorityAdd) {
  if (auto* p = Lookup<CDS_Priority>(game, args[0])) p->Add(args[1], args[2]);
}

DS_HANDLER(PriorityChangePriority) {
  if (auto* p = Lookup<CDS_Priority>(game, args[0]))
    p->ChangePriority(args[1], args[2], Precision(game));
}

DS_HANDLER(PriorityFindPriority) {
  if (auto* p = Lookup<CDS_Priority>(game, args[0]))
    SetOptional(result, p->FindPriority(args[1], Precision(game)));
}

DS_HANDLER(PriorityDeleteValue) {
  if (auto* p = Lookup<CDS_Priority>(game, args[0])) p->DeleteValue(args[1], Precision(game));
}

template <bool kMin, bool kDelete>
DS_HANDLER(PriorityExtreme) {
  auto* p = Lookup<CDS_Priority>(game, args[0]);
  if (!p) return;
  int32_t i = kMin ? p->MinIndex(Precision(game)) : p->MaxIndex(Precision(game));
  if (i < 0) return;
  if (kDelete)
    result = p->TakeAt(i);
  else
    result = p->ValueAt(i);
}

// ---------------------------------------------------------------------------------------------
// Grid

DS_HANDLER(GridCreate) {
  auto grid = std::make_unique<CDS_Grid>();
  if (!grid->Resize(Int(args[0]), Int(args[1]))) {
    game.errors.ReportInContext(kGridTooLarge, false);
    result.SetReal(-1);
    return;
  }
  result.SetReal(game.data_structures.grids.Create(std::move(grid)));
}

DS_HANDLER(GridResize) {
  if (auto* g = Lookup<CDS_Grid>(game, args[0]))
    if (!g->Resize(Int(args[1]), Int(args[2]))) game.errors.ReportInContext(kGridTooLarge, false);
}

DS_HANDLER(GridWidth) {
  if (auto* g = Lookup<CDS_Grid>(game, args[0])) result.SetReal(g->Width());
}

DS_HANDLER(GridHeight) {
  if (auto* g = Lookup<CDS_Grid>(game, args[0])) result.SetReal(g->Height());
}

DS_HANDLER(GridClear) {
  if (auto* g = Lookup<CDS_Grid>(game, args[0])) g->ClearTo(args[1]);
}

template <Op kOp>
DS_HANDLER(GridModify) {
  if (auto* g = Lookup<CDS_Grid>(game, args[0]))
    g->Modify(kOp, Int(args[1]), Int(args[2]), args[3]);
}

template <Op kOp>
DS_HANDLER(GridModifyRegion) {
  if (auto* g = Lookup<CDS_Grid>(game, args[0]))
    g->ModifyRegion(kOp, Int(args[1]), Int(args[2]), Int(args[3]), Int(args[4]), args[5]);
}

template <Op kOp>
DS_HANDLER(GridModifyDisk) {
  if (auto* g = Lookup<CDS_Grid>(game, args[0]))
    g->ModifyDisk(kOp, args[1].real, args[2].real, args[3].real, args[4]);
}

template <Op kOp>
DS_HANDLER(GridModifyGridRegion) {
  CDS_Table<CDS_Grid>& grids = game.data_structures.grids;
  CDS_Grid* target = grids.Get(Int(args[0]));
  CDS_Grid* source = grids.Get(Int(args[1]));
  if (!target || !source) {
    game.errors.ReportInContext(kNoSuchStructure, false);
    return;
  }
  target->ModifyFromGrid(kOp, *source, Int(args[2]), Int(args[3]), Int(args[4]), Int(args[5]),
                         Int(args[6]), Int(args[7]));
}

DS_HANDLER(GridGet) {
  if (auto* g = Lookup<CDS_Grid>(game, args[0])) result = g->Get(Int(args[1]), Int(args[2]));
}

enum class Stat { kSum, kMax, kMin, kMean };

double Pick(const CDS_Grid::Stats& st, Stat s) {
  switch (s) {
    case Stat::kSum:
      return st.sum;
    case Stat::kMax:
      return st.max;
    case Stat::kMin:
      return st.min;
    case Stat::kMean:
      return st.mean;
  }
  return 0.0;
}

template <Stat kStat>
DS_HANDLER(GridRegionStat) {
  if (auto* g = Lookup<CDS_Grid>(game, args[0]))
    result.SetReal(
        Pick(g->RegionStats(Int(args[1]), Int(args[2]), Int(args[3]), Int(args[4])), kStat));
}

template <Stat kStat>
DS_HANDLER(GridDiskStat) {
  if (auto* g = Lookup<CDS_Grid>(game, args[0]))
    result.SetReal(Pick(g->DiskStats(args[1].real, args[2].real, args[3].real), kStat));
}

enum class Found { kExists, kX, kY };

void SetFound(RValue& result, Found what, bool found, int32_t x, int32_t y) {
  if (!found) return;  // every form answers 0
  result.SetReal(what == Found::kExists ? 1.0 : (what == Found::kX ? x : y));
}

template <Found kWhat>
DS_HANDLER(GridValueRegion) {
  auto* g = Lookup<CDS_Grid>(game, args[0]);
  if (!g) return;
  int32_t x = 0, y = 0;
  bool found = g->FindInRegion(Int(args[1]), Int(args[2]), Int(args[3]), Int(args[4]), args[5],
                               Precision(game), x, y);
  SetFound(result, kWhat, found, x, y);
}

template <Found kWhat>
DS_HANDLER(GridValueDisk) {
  auto* g = Lookup<CDS_Grid>(game, args[0]);
  if (!g) return;
  int32_t x = 0, y = 0;
  bool found =
      g->FindInDisk(args[1].real, args[2].real, args[3].real, args[4], Precision(game), x, y);
  SetFound(result, kWhat, found, x, y);
}

DS_HANDLER(GridShuffle) {
  if (auto* g = Lookup<CDS_Grid>(game, args[0])) g->Shuffle(game.data_structures.random);
}

#undef DS_HANDLER

struct Entry {
  const char* name;
  BuiltinHandler handler;
  int32_t argc;
};

// Registration order is part of the function ids games were compiled against.
const Entry kFunctions[] = {
    {"ds_set_precision", SetPrecision, 1},

    {"ds_stack_create", Create<CDS_Stack>, 0},
    {"ds_stack_destroy", Destroy<CDS_Stack>, 1},
    {"ds_stack_clear", Clear<CDS_Stack>, 1},
    {"ds_stack_copy", Copy<CDS_Stack>, 2},
    {"ds_stack_size", Size<CDS_Stack>, 1},
    {"ds_stack_empty", Empty<CDS_Stack>, 1},
    {"ds_stack_push", StackPush, 2},
    {"ds_stack_pop", StackPop, 1},
    {"ds_stack_top", StackTop, 1},
    {"ds_stack_write", Write<CDS_Stack>, 1},
    {"ds_stack_read", Read<CDS_Stack>, 2},

    {"ds_queue_create", Create<CDS_Queue>, 0},
    {"ds_queue_destroy", Destroy<CDS_Queue>, 1},
    {"ds_queue_clear", Clear<CDS_Queue>, 1},
    {"ds_queue_copy", Copy<CDS_Queue>, 2},
    {"ds_queue_size", Size<CDS_Queue>, 1},
    {"ds_queue_empty", Empty<CDS_Queue>, 1},
    {"ds_queue_enqueue", QueueEnqueue, 2},
    {"ds_queue_dequeue", QueueDequeue, 1},
    {"ds_queue_head", QueueHead, 1},
    {"ds_queue_tail", QueueTail, 1},
    {"ds_queue_write", Write<CDS_Queue>, 1},
    {"ds_queue_read", Read<CDS_Queue>, 2},

    {"ds_list_create", Create<CDS_List>, 0},
    {"ds_list_destroy", Destroy<CDS_List>, 1},
    {"ds_list_clear", Clear<CDS_List>, 1},
    {"ds_list_copy", Copy<CDS_List>, 2},
    {"ds_list_size", Size<CDS_List>, 1},
    {"ds_list_empty", Empty<CDS_List>, 1},
    {"ds_list_add", ListAdd, 2},
    {"ds_list_insert", ListInsert, 3},
    {"ds_list_replace", ListReplace, 3},
    {"ds_list_delete", ListDelete, 2},
    {"ds_list_find_index", ListFindIndex, 2},
    {"ds_list_find_value", ListFindValue, 2},
    {"ds_list_sort", ListSort, 2},
    {"ds_list_shuffle", ListShuffle, 1},
    {"ds_list_write", Write<CDS_List>, 1},
    {"ds_list_read", Read<CDS_List>, 2},

    {"ds_map_create", Create<CDS_Map>, 0},
    {"ds_map_destroy", Destroy<CDS_Map>, 1},
    {"ds_map_clear", Clear<CDS_Map>, 1},
    {"ds_map_copy", Copy<CDS_Map>, 2},
    {"ds_map_size", Size<CDS_Map>, 1},
    {"ds_map_empty", Empty<CDS_Map>, 1},
    {"ds_map_add", MapAdd, 3},
    {"ds_map_replace", MapReplace, 3},
    {"ds_map_delete", MapDelete, 2},
    {"ds_map_exists", MapExists, 2},
    {"ds_map_find_value", MapFindValue, 2},
    {"ds_map_find_previous", MapFindPrevious, 2},
    {"ds_map_find_next", MapFindNext, 2},
    {"ds_map_find_first", MapFindFirst, 1},
    {"ds_map_find_last", MapFindLast, 1},
    {"ds_map_write", Write<CDS_Map>, 1},
    {"ds_map_read", Read<CDS_Map>, 2},

    {"ds_priority_create", Create<CDS_Priority>, 0},
    {"ds_priority_destroy", Destroy<CDS_Priority>, 1},
    {"ds_priority_clear", Clear<CDS_Priority>, 1},
    {"ds_priority_copy", Copy<CDS_Priority>, 2},
    {"ds_priority_size", Size<CDS_Priority>, 1},
    {"ds_priority_empty", Empty<CDS_Priority>, 1},
    {"ds_priority_add", PriorityAdd, 3},
    {"ds_priority_change_priority", PriorityChangePriority, 3},
    {"ds_priority_find_priority", PriorityFindPriority, 2},
    {"ds_priority_delete_value", PriorityDeleteValue, 2},
    {"ds_priority_delete_min", PriorityExtreme<true, true>, 1},
    {"ds_priority_find_min", PriorityExtreme<true, false>, 1},
    {"ds_priority_delete_max", PriorityExtreme<false, true>, 1},
    {"ds_priority_find_max", PriorityExtreme<false, false>, 1},
    {"ds_priority_write", Write<CDS_Priority>, 1},
    {"ds_priority_read", Read<CDS_Priority>, 2},

    {"ds_grid_create", GridCreate, 2},
    {"ds_grid_destroy", Destroy<CDS_Grid>, 1},
    {"ds_grid_copy", Copy<CDS_Grid>, 2},
    {"ds_grid_resize", GridResize, 3},
    {"ds_grid_width", GridWidth, 1},
    {"ds_grid_height", GridHeight, 1},
    {"ds_grid_clear", GridClear, 2},
    {"ds_grid_set", GridModify<Op::kSet>, 4},
    {"ds_grid_add", GridModify<Op::kAdd>, 4},
    {"ds_grid_multiply", GridModify<Op::kMultiply>, 4},
    {"ds_grid_set_region", GridModifyRegion<Op::kSet>, 6},
    {"ds_grid_add_region", GridModifyRegion<Op::kAdd>, 6},
    {"ds_grid_multiply_region", GridModifyRegion<Op::kMultiply>, 6},
    {"ds_grid_set_disk", GridModifyDisk<Op::kSet>, 5},
    {"ds_grid_add_disk", GridModifyDisk<Op::kAdd>, 5},
    {"ds_grid_multiply_disk", GridModifyDisk<Op::kMultiply>, 5},
    {"ds_grid_set_grid_region", GridModifyGridRegion<Op::kSet>, 8},
    {"ds_grid_add_grid_region", GridModifyGridRegion<Op::kAdd>, 8},
    {"ds_grid_multiply_grid_region", GridModifyGridRegion<Op::kMultiply>, 8},
    {"ds_grid_get", GridGet, 3},
    {"ds_grid_get_sum", GridRegionStat<Stat::kSum>, 5},
    {"ds_grid_get_max", GridRegionStat<Stat::kMax>, 5},
    {"ds_grid_get_min", GridRegionStat<Stat::kMin>, 5},
    {"ds_grid_get_mean", GridRegionStat<Stat::kMean>, 5},
    {"ds_grid_get_disk_sum", GridDiskStat<Stat::kSum>, 4},
    {"ds_grid_get_disk_max", GridDiskStat<Stat::kMax>, 4},
    {"ds_grid_get_disk_min", GridDiskStat<Stat::kMin>, 4},
    {"ds_grid_get_disk_mean", GridDiskStat<Stat::kMean>, 4},
    {"ds_grid_value_exists", GridValueRegion<Found::kExists>, 6},
    {"ds_grid_value_x", GridValueRegion<Found::kX>, 6},
    {"ds_grid_value_y", GridValueRegion<Found::kY>, 6},
    {"ds_grid_value_disk_exists", GridValueDisk<Found::kExists>, 5},
    {"ds_grid_value_disk_x", GridValueDisk<Found::kX>, 5},
    {"ds_grid_value_disk_y", GridValueDisk<Found::kY>, 5},
    {"ds_grid_shuffle", GridShuffle, 1},
    {"ds_grid_write", Write<CDS_Grid>, 1},
    {"ds_grid_read", Read<CDS_Grid>, 2},
};

}  // namespace

void RegisterDataStructureFunctions(CFunctionTable& table) {
  for (const Entry& e : kFunctions)
    table.Register(e.name, e.handler, e.argc);
}

}  // namespace zorvex
