#pragma once

#include "halvo/services.h"

// The base of every service implementation, built into the engine or supplied
// by a module library. The virtual operations keep this order: module
// libraries are built against it.
class BaseImplementation {
public:
    virtual ~BaseImplementation() = default;
    virtual HV_ServiceKind GetKind() = 0;
    virtual const char* GetName() = 0;
    virtual bool Initialize() { return true; }
    virtual void Shutdown() {}
    virtual void Update() {}
    virtual bool IsAvailable() { return true; }
};
