// windows.h for the Win32 platform code, without the A/W name macros that would rename
// our own methods (Files::DeleteFile would otherwise become DeleteFileA in this file only).
#pragma once

#if defined(UNICODE) || defined(_UNICODE)
#error "the Win32 platform code calls the ANSI functions and expects an ANSI build"
#endif

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef CopyFile
#undef CreateDirectory
#undef DeleteFile
#undef GetDriveType
#undef MoveFile
#undef RemoveDirectory
#undef ReplaceFile
