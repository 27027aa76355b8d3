// Sized and pointer-sized integer types of the platform.
// Pointer-sized types are the C library's own (size_t, intptr_t) so that
// SIZE_T* and size_t* stay interchangeable, as they are on 64-bit Windows.
#pragma once

#include <stddef.h>
#include <stdint.h>

typedef signed char INT8, *PINT8;
typedef short INT16, *PINT16;
typedef int INT32, *PINT32;
typedef long long INT64, *PINT64;
typedef unsigned char UINT8, *PUINT8;
typedef unsigned short UINT16, *PUINT16;
typedef unsigned int UINT32, *PUINT32;
typedef unsigned long long UINT64, *PUINT64;
typedef int LONG32, *PLONG32;
typedef unsigned int ULONG32, *PULONG32;
typedef unsigned int DWORD32, *PDWORD32;
typedef long long LONG64, *PLONG64;
typedef unsigned long long ULONG64, *PULONG64;
typedef unsigned long long DWORD64, *PDWORD64;

typedef intptr_t INT_PTR, *PINT_PTR;
typedef uintptr_t UINT_PTR, *PUINT_PTR;
typedef intptr_t LONG_PTR, *PLONG_PTR;
typedef uintptr_t ULONG_PTR, *PULONG_PTR;
typedef ULONG_PTR DWORD_PTR, *PDWORD_PTR;
typedef size_t SIZE_T, *PSIZE_T;
typedef ptrdiff_t SSIZE_T, *PSSIZE_T;
