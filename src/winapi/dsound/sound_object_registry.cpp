#include "sound_object_registry.h"

#include <algorithm>
#include <vector>

namespace {
std::mutex g_lock;
std::vector<SoundObject*> g_objects;  // guarded by g_lock
}  // namespace

std::mutex& GetSoundObjectRegistryLock() { return g_lock; }

void RegisterSoundObject(SoundObject* object) { g_objects.push_back(object); }

void UnregisterSoundObject(SoundObject* object)
{
    g_objects.erase(std::remove(g_objects.begin(), g_objects.end(), object), g_objects.end());
}

SoundObject* GetNewestSoundObject() { return g_objects.empty() ? nullptr : g_objects.back(); }
