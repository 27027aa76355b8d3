#pragma once

#include "extensions/base_implementation.h"
#include "halvo/services.h"

struct HV_EngineInterface;

// A module offers at most one implementation per service kind. The engine's
// built-in modules and the modules of libraries ("module-steam.dll" and the
// others, through their entry point HV_GetExtensionModuleInterface) implement
// it; the virtual operations keep this order, and the defaults are inline so
// that a module library needs nothing but this header.
class ExtensionModule {
public:
    virtual ~ExtensionModule() = default;
    // The engine accepts a module only when it answers 1.
    virtual int32_t GetInterfaceVersion() { return 1; }
    virtual const char* GetName() = 0;
    // Creates the module's implementations from the enabled features.
    virtual bool Initialize(HV_EngineInterface* engine) = 0;
    // Deletes the implementations the module created and forgets them.
    virtual void ReleaseImplementations() = 0;
    virtual bool ShouldPauseGame() { return false; }
    virtual void Update(float step) = 0;
    // An answer text, or null when the module has none.
    virtual const char* ExecuteCommand(const char* /*command*/, const char* /*argument*/) { return nullptr; }
    virtual BaseImplementation* GetImplementation(HV_ServiceKind kind) = 0;
};

// The entry point every module library exports; the module it returns is the
// engine's from then on.
using HV_GetExtensionModuleInterfaceFunction = ExtensionModule* (*)();
