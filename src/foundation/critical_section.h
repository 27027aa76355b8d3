#pragma once

#include <windows.h>

#include <type_traits>

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

// One member of a state whose "lock" member guards the others, read or
// written under that lock: the whole of many one-line getters and setters.
template <typename State, typename Value>
Value ReadGuarded(State& state, Value State::*member)
{
    CriticalSectionScope scope(state.lock);
    return state.*member;
}

template <typename State, typename Value>
void WriteGuarded(State& state, Value State::*member, const std::type_identity_t<Value>& value)
{
    CriticalSectionScope scope(state.lock);
    state.*member = value;
}
