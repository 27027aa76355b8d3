#pragma once

#include <windows.h>

#include "foundation/lock_scope.h"

// A critical section that lives as long as its owner.
class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&m_section); }
    ~CriticalSection() { DeleteCriticalSection(&m_section); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter() { EnterCriticalSection(&m_section); }
    void Leave() { LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION m_section;
};

using CriticalSectionScope = LockScope<&CriticalSection::Enter, &CriticalSection::Leave, CriticalSection&>;
