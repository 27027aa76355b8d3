#pragma once

#include <windows.h>

#include <optional>
#include <string>

// Sets an environment variable, or unsets it when given no value, for the
// life of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<std::string>& value) : m_name(name)
    {
        char saved[4096] = {};
        m_had = GetEnvironmentVariableA(name, saved, sizeof(saved)) > 0;
        m_saved = saved;
        SetEnvironmentVariableA(name, value ? value->c_str() : nullptr);
    }
    ~ScopedVariable() { SetEnvironmentVariableA(m_name, m_had ? m_saved.c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    bool m_had = false;
    std::string m_saved;
};
