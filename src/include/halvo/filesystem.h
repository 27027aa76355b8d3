#ifndef HALVO_FILESYSTEM_H
#define HALVO_FILESYSTEM_H

/* The file-system part of the engine interface: path schemes, the file handle,
   file times and the file-system table. Usable from C and C++. */

#include <stddef.h>
#include <stdint.h>

#include "halvo/core.h"

/* The scheme of a path ("res://prog.xml" is HV_PATH_SCHEME_RES). A path without
   "://" has no scheme and is found through the search paths. */
typedef enum HV_PathScheme {
    HV_PATH_SCHEME_CACHE = 0,
    HV_PATH_SCHEME_DOCS = 1,
    HV_PATH_SCHEME_HTTP = 2,
    HV_PATH_SCHEME_LOGS = 3,
    HV_PATH_SCHEME_PROJECT = 4, /* only in developer mode */
    HV_PATH_SCHEME_RES = 5,
    HV_PATH_SCHEME_SAVE = 6,
    HV_PATH_SCHEME_USER = 7,
    HV_PATH_SCHEME_UGC = 8,
    HV_PATH_SCHEME_NONE = 10,
    HV_PATH_SCHEME_UNKNOWN = 11
} HV_PathScheme;

/* The number of scheme ids that can have a file system (0 to 8). */
#define HV_PATH_SCHEME_COUNT 9

#ifdef __cplusplus
namespace HVFileSystem {
class File;
}
typedef HVFileSystem::File HV_FileObject;
#else
typedef struct HV_FileObject HV_FileObject; /* opaque to C */
#endif

/* An open file. Opened in mode append, read or write after the first
   character of the mode text; closed and freed by CloseFile. */
typedef struct HV_File {
    const char* path;    /* the path as it was opened, owned by the handle */
    int64_t size;        /* the size in bytes when the file was opened */
    HV_FileObject* file; /* the file object of the file system that opened it */
} HV_File;

/* File times in seconds since 1970 (UTC). */
typedef struct HV_FileInfo {
    uint32_t creationTime;
    uint32_t lastModificationTime;
    uint32_t lastAccessTime;
} HV_FileInfo;

/* Origins of SeekFile. */
#define HV_SEEK_START 0
#define HV_SEEK_CURRENT 1
#define HV_SEEK_END 2

/* The file-system table of the engine interface; members in alphabetical order. */
typedef struct HV_FileSystemInterface {
    /* Closes the file and frees the handle; null is ignored. */
    void (*CloseFile)(HV_File* file);
    /* Whether a file exists at the path; a path without a scheme is tried
       through the search paths. */
    bool (*FindPath)(const char* path);
    /* Fills the record with the file's times; false when there is no file. */
    bool (*GetFileInfo)(const char* path, HV_FileInfo* info);
    /* The current position in bytes from the start; -1 for a bad handle. */
    int64_t (*GetFilePosition)(HV_File* file);
    /* Opens by the mode's first character: 'r' read, 'w' write (creating or
       truncating), 'a' append. Writing creates missing folders below the
       scheme's root. Null when the file cannot be opened. */
    HV_File* (*OpenFile)(const char* path, const char* mode);
    /* Reads up to count bytes from the current position; returns the bytes read. */
    int64_t (*ReadFile)(void* buffer, int64_t count, HV_File* file);
    /* Moves the position by offset from the origin (HV_SEEK_*); false on failure. */
    bool (*SeekFile)(HV_File* file, int64_t offset, int origin);
    /* Writes count bytes at the current position; returns the bytes written. */
    int64_t (*WriteFile)(const void* buffer, int64_t count, HV_File* file);
} HV_FileSystemInterface;

HV_STATIC_ASSERT(sizeof(HV_File) == 24, "HV_File is a path pointer, a 64-bit size and a file pointer");
HV_STATIC_ASSERT(offsetof(HV_File, path) == 0, "HV_File.path");
HV_STATIC_ASSERT(offsetof(HV_File, size) == 8, "HV_File.size");
HV_STATIC_ASSERT(offsetof(HV_File, file) == 16, "HV_File.file");
HV_STATIC_ASSERT(sizeof(HV_FileInfo) == 12, "HV_FileInfo is three 32-bit times");
HV_STATIC_ASSERT(offsetof(HV_FileInfo, lastModificationTime) == 4, "HV_FileInfo.lastModificationTime");
HV_STATIC_ASSERT(sizeof(HV_FileSystemInterface) == 8 * sizeof(void*), "eight operations");
HV_STATIC_ASSERT(offsetof(HV_FileSystemInterface, CloseFile) == 0, "CloseFile comes first");
HV_STATIC_ASSERT(offsetof(HV_FileSystemInterface, WriteFile) == 7 * sizeof(void*), "WriteFile comes last");

#endif
