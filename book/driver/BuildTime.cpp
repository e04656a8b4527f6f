#include "book/driver/BuildTime.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>

uint32_t GetBuildTime()
{
    if (const char* fixed = std::getenv("SOURCE_DATE_EPOCH"); fixed && *fixed) {
        char* end = nullptr;
        errno = 0;
        const unsigned long long value = std::strtoull(fixed, &end, 10);
        if (errno == 0 && *end == '\0' && *fixed != '-' && value <= 0xFFFFFFFFull)
            return static_cast<uint32_t>(value);
    }
    return static_cast<uint32_t>(std::time(nullptr));
}
