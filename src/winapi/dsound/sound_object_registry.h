#pragma once

#include <mutex>

class SoundObject;

// The sound objects alive, newest last. The lock also guards each object's output.
std::mutex& GetSoundObjectRegistryLock();
// Called with the lock held.
void RegisterSoundObject(SoundObject* object);
void UnregisterSoundObject(SoundObject* object);
// The newest object alive; null when there is none. Called with the lock held.
SoundObject* GetNewestSoundObject();
