#pragma once

// Gives up one reference to a platform object and forgets the pointer;
// nothing for a null pointer.
template <typename T>
void ReleaseReference(T*& object)
{
    if (object != nullptr) object->Release();
    object = nullptr;
}
