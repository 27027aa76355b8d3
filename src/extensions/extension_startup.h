#pragma once

// The start-up of the extension services, once, in pre-initialisation:
// registers the built-in modules and the module libraries whose features are
// set, initialises every module, chooses one implementation per service kind
// and initialises the chosen ones.
void HVI_InitializeExtensionModules();
