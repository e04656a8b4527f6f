#include "driver/BuildTime.h"

#include <cstdlib>
#include <ctime>

bool ParseSourceDateEpoch(const char* text, uint32_t& seconds)
{
    if (!text || !*text)
        return false;
    uint64_t value = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        value = value * 10 + uint64_t(*p - '0');
        if (value > kMaxSourceDateEpoch)
            return false;
    }
    seconds = static_cast<uint32_t>(value);
    return true;
}

uint32_t GetBuildTime()
{
    uint32_t fixed = 0;
    if (ParseSourceDateEpoch(std::getenv("SOURCE_DATE_EPOCH"), fixed))
        return fixed;
    return static_cast<uint32_t>(std::time(nullptr));
}
