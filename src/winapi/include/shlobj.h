// Well-known user folders of the shell.
// CSIDL_PERSONAL is $HOME/Documents; CSIDL_APPDATA and CSIDL_LOCAL_APPDATA are
// $XDG_DATA_HOME, or $HOME/.local/share when that is not set.
#pragma once

#include <windows.h>

#define CSIDL_PERSONAL 0x0005
#define CSIDL_MYDOCUMENTS CSIDL_PERSONAL
#define CSIDL_APPDATA 0x001a
#define CSIDL_LOCAL_APPDATA 0x001c
#define CSIDL_FLAG_CREATE 0x8000
#define CSIDL_FLAG_MASK 0xFF00

typedef enum { SHGFP_TYPE_CURRENT = 0, SHGFP_TYPE_DEFAULT = 1 } SHGFP_TYPE;

#ifdef __cplusplus
extern "C" {
#endif

HRESULT WINAPI SHGetFolderPathA(HWND hwnd, int csidl, HANDLE hToken, DWORD dwFlags, LPSTR pszPath);

#ifdef __cplusplus
}
#endif

#define SHGetFolderPath SHGetFolderPathA
