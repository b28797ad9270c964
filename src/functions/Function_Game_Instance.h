#pragma once

namespace zorvex {

class CFunctionTable;

// instance_create ... instance_activate_region: creating, copying, changing, destroying,
// finding, counting, deactivating and activating instances.
void RegisterGameInstanceFunctions(CFunctionTable& table);

}  // namespace zorvex
