// Compiler-specific annotations.
#pragma once

#if defined(__GNUC__) || defined(__clang__)
#define VX_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define VX_PRINTF_FORMAT(fmt, args)
#endif
