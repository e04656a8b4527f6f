// The numbers of the resources built into the UI framework (vx_ui_resources),
// looked up with GetResourceData.
#pragma once

#include <cstdint>

// The log window's icons, 16 x 16 RGBA PNG, one per report level.
inline constexpr uint32_t kResourceLogIconError = 10003;
inline constexpr uint32_t kResourceLogIconWarning = 10004;
inline constexpr uint32_t kResourceLogIconStatus = 10005;
