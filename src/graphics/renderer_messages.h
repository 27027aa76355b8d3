#pragma once

// Texts the renderer's part of the engine's life cycle writes.
constexpr const char* kRendererEntryPointMissing =
    "The executable exports only one of the renderer's entry points: '%s' is missing; no renderer back end is used.";
constexpr const char* kRendererInterfaceMissing = "HALVO_RendImp_GetInterface gave no renderer.";
constexpr const char* kRendererTaken = "Renderer back end: %s.";
constexpr const char* kRendererNone = "No renderer back end in this build: the null renderer draws nothing.";
constexpr const char* kRendererInitializeFailed = "Renderer %s failed to initialize at %dx%d %s on display %d.";
constexpr const char* kRendererInitialized = "Renderer %s initialized at %dx%d %s on display %d.";
constexpr const char* kSpriteProgramFailed =
    "The front end's sprite program could not be made for renderer %s; bitmaps are not drawn.";
constexpr const char* kSpriteBuffersFailed =
    "The front end's sprite buffers could not be made for renderer %s; bitmaps are not drawn.";
