// The calling convention of the RFC library's operations. The vendor's
// 32-bit Windows library uses __stdcall; everywhere else the platform's
// default applies. This is the one place that decides it.
#pragma once

#if defined(_WIN32) && !defined(_WIN64)
#define RFC_CALL __stdcall
#else
#define RFC_CALL
#endif

#if defined(_WIN32)
#define RFC_EXPORT
#else
#define RFC_EXPORT __attribute__((visibility("default")))
#endif
