// A module library whose entry point has no module to give.
#include "extensions/extension_module.h"
#include "journal.h"

TEST_MODULE_EXPORT ExtensionModule* HV_GetExtensionModuleInterface() { return nullptr; }
