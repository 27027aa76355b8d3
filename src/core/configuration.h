#pragma once

// The engine's parameters from "res://prog.xml" (arrays APPLICATION,
// VARIANTS and PARAMETERS) and "res://developer.xml" (array DEVELOPER).
// A key is read from the first node of the array that has it as an attribute
// or, written <node id="key">value</node>, as the node's text.

#include <memory>

#include "data/dm_database.h"
#include "foundation/string.h"

class HVI_Configuration {
public:
    // Takes both files from the data manager's registry; a missing file
    // leaves its values unset.
    void Load();
    // Forgets both and unloads them from the registry (shutdown).
    void Unload();
    // Uses these databases instead (tests); either may be null.
    void Use(std::unique_ptr<DMDatabase> program, std::unique_ptr<DMDatabase> developer);

    // A prog.xml key: the forced variant (developer.xml "force_variant"),
    // then "WINDOWS_<size>", then "WINDOWS" in VARIANTS, then APPLICATION.
    const char* GetProgramValue(const char* key) const;
    // A key of the program's own PARAMETERS.
    const char* GetProgramParameter(const char* key) const;
    // A developer.xml key.
    const char* GetDeveloperValue(const char* key) const;

    bool IsDeveloperMode() const { return IsTrue(GetDeveloperValue("developer_mode")); }

    // A boolean is true when its text begins with '1' or 't'.
    static bool IsTrue(const char* text);

    // The screen-size word of the variants: "SMALL", "MEDIUM" or "LARGE".
    void SetScreenSize(const char* size) { m_screenSize.Assign(size); }

private:
    const DMDatabase* m_program = nullptr;  // registered, or one of the owned ones
    const DMDatabase* m_developer = nullptr;
    std::unique_ptr<DMDatabase> m_ownedProgram;
    std::unique_ptr<DMDatabase> m_ownedDeveloper;
    String m_screenSize = "LARGE";
};

// The frame time of an "fps_limit" F: (int)(1000 / (F + 2.0)) ms; 0 (unpaced)
// without a limit or for a limit that is not a positive number.
int HVI_FrameTimeFromFpsLimit(const char* fpsLimit);

// The one configuration of the running engine.
HVI_Configuration& HVI_GetConfiguration();
