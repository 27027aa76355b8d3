#pragma once

// Loads one module library from the resource folder ("res://" + file name)
// and registers its module. Every failure is reported by popups and skipped.
void HVI_LoadExtensionModule(const char* fileName);
