// Compiler-specific annotations.
#pragma once

#if defined(__MINGW32__) && !defined(__clang__)
// MinGW builds use its own C99 printf family (__USE_MINGW_ANSI_STDIO).
#define VX_PRINTF_FORMAT(fmt, args) __attribute__((format(gnu_printf, fmt, args)))
#elif defined(__GNUC__) || defined(__clang__)
#define VX_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define VX_PRINTF_FORMAT(fmt, args)
#endif
