#pragma once

// How subsystems plug into the engine's life cycle without the core linking
// them. Each role has one set of hooks; the core calls the roles in the
// engine's fixed order, never in registration order. Every hook may be null.
// Registration happens on the main thread before pre-initialisation.

#include <halvo/program.h>

struct HVI_EngineState;

enum HVI_SubsystemRole {
    HVI_SUBSYSTEM_RENDERER,
    HVI_SUBSYSTEM_INPUT,
    HVI_SUBSYSTEM_SOUND,
    HVI_SUBSYSTEM_EXTENSIONS,
    HVI_SUBSYSTEM_PLATFORM,
    HVI_SUBSYSTEM_ROLE_COUNT
};

struct HVI_SubsystemHooks {
    // Pre-initialisation, after the program is bound and its parameters merged,
    // in the order platform, renderer, input, sound, extensions. False fails
    // pre-initialisation. (Extensions: HVI_InitializeExtensionModules.)
    bool (*Preinitialize)(HVI_EngineState& state);
    // Start-up in the order platform (creates the main window), renderer,
    // input, sound (skipped with NO_SOUND or the no-sound flag), extensions.
    // False fails start-up for the platform and the renderer only; the others
    // fall back to their null back ends themselves.
    bool (*Startup)(HVI_EngineState& state);
    // Once per frame before the program runs, in the order input, sound,
    // extensions; the extensions get the step after the pause question.
    void (*UpdateFrame)(HVI_EngineState& state, float step);
    // Extensions: whether a module pauses the program (the step becomes 0).
    bool (*ShouldPauseGame)(HVI_EngineState& state);
    // Renderer: begins the frame; false when the renderer cannot draw.
    bool (*BeginFrame)(HVI_EngineState& state);
    // Renderer: the frame's resource queues (bitmaps, renderer objects, shaders).
    void (*RunResourceQueues)(HVI_EngineState& state);
    // After the resource queues, every role in the order renderer, input,
    // sound, extensions, platform (sound: the back end's late-frame hook).
    void (*LateFrame)(HVI_EngineState& state);
    // Renderer: flushes the batch and presents.
    void (*EndFrame)(HVI_EngineState& state);
    // Renderer: a quick re-initialisation with the requested parameters;
    // false makes the core shut the renderer down, re-create the window
    // (platform Shutdown, then Startup) and start the renderer again.
    bool (*QuickReinitialize)(HVI_EngineState& state, const HV_VideoParameters& requested);
    // After a re-initialisation was applied, input then sound (sound: reload
    // every sound, OnWindowChanged when the window was re-created, bring the
    // back end up when the no-sound flag was cleared).
    void (*Reinitialize)(HVI_EngineState& state, bool windowRecreated);
    // Renderer: the main window's activity changed.
    void (*SetActive)(HVI_EngineState& state, bool active);
    // Shutdown, for each role that was brought up (or has no bring-up hook):
    // sound, input, renderer, then platform (destroys the window), then
    // extensions.
    void (*Shutdown)(HVI_EngineState& state);
    // At exit only, right after the role's Shutdown: gives back what
    // pre-initialisation took (the renderer unloads its back end). A full
    // re-initialisation calls Shutdown without it.
    void (*Unload)(HVI_EngineState& state);
    // Extension commands this role answers: null when it does not know the
    // command. Asked after the engine's own commands in the order extensions
    // (module commands), platform, renderer, input.
    const char* (*ExecuteCommand)(const char* command, const char* argument);
};

// Sets the hooks of a role (copied); a later call replaces them.
void HVI_RegisterSubsystem(HVI_SubsystemRole role, const HVI_SubsystemHooks& hooks);
// The hooks of a role; all null when nothing registered.
const HVI_SubsystemHooks& HVI_GetSubsystemHooks(HVI_SubsystemRole role);
// Forgets every registration (tests).
void HVI_ResetSubsystems();
