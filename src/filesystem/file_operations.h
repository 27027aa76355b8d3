#pragma once

#include <cstdint>

#include "halvo/filesystem.h"

// The operations of the file-system table. Paths carry a scheme ("res://a.xml")
// or are found through the search paths ("a.xml"); see scheme_roots.h.

// Opens by the mode's first character: 'r' read, 'w' write (creates or
// truncates), 'a' append; any other mode is an error. Writing creates missing
// folders below the scheme's root. Null when the file cannot be opened.
HV_File* HV_FileSystem_OpenFile(const char* path, const char* mode);
// Reads up to count bytes from the current position; returns the bytes read.
int64_t HV_FileSystem_ReadFile(void* buffer, int64_t count, HV_File* file);
// Writes count bytes at the current position; returns the bytes written.
int64_t HV_FileSystem_WriteFile(const void* buffer, int64_t count, HV_File* file);
// Moves the position by offset from the origin (HV_SEEK_START, _CURRENT, _END).
bool HV_FileSystem_SeekFile(HV_File* file, int64_t offset, int origin);
// The position in bytes from the start; -1 for a null handle or a failure.
int64_t HV_FileSystem_GetFilePosition(HV_File* file);
// Closes the file and frees the handle; null is ignored.
void HV_FileSystem_CloseFile(HV_File* file);
// Whether a file (not a folder) exists at the path.
bool HV_FileSystem_FindPath(const char* path);
// Fills the record with the file's times; false when there is no file.
bool HV_FileSystem_GetFileInfo(const char* path, HV_FileInfo* info);

// The file-system table with the operations above, for the engine interface.
const HV_FileSystemInterface* HVI_GetFileSystemInterface();
