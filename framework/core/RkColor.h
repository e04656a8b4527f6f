// An RGB colour as a typed, serialisable object.
#pragma once

#include <cstdint>

#include "framework/core/RkType.h"

// System colour indexes.
enum : uint32_t {
    kSysColorWindowText = 0,
    kSysColorWindow = 1,
    kSysColorSelectedText = 2,
    kSysColorSelection = 3,
    kSysColorWindowTint = 4,    // 9 parts window, 1 part window text
    kSysColorSelectionTint = 5, // 9 parts window, 1 part selection
    kSysColorButtonFace = 6,
    kSysColorButtonShadow = 7,
    kSysColorLightGray = 8, // 192, 192, 192
    kSysColorCount = 9,
};

// Supplies the platform's colour for indexes 0-3, 6 and 7; returns false
// when it has none. Installed by the platform layer.
using SystemColorProvider = bool (*)(uint32_t index, uint8_t& red, uint8_t& green, uint8_t& blue);
void SetSystemColorProvider(SystemColorProvider provider);

class CRkColor : public CRkType {
public:
    CRkColor() = default;
    CRkColor(uint8_t red, uint8_t green, uint8_t blue) : m_red(red), m_green(green), m_blue(blue) {}
    CRkColor(const CRkColor& other) : CRkType(), m_red(other.m_red), m_green(other.m_green), m_blue(other.m_blue) {}
    CRkColor& operator=(const CRkColor& other);
    // A system colour; an unknown index gives black.
    explicit CRkColor(uint32_t systemIndex);

    uint8_t GetRed() const { return m_red; }
    uint8_t GetGreen() const { return m_green; }
    uint8_t GetBlue() const { return m_blue; }
    void Set(uint8_t red, uint8_t green, uint8_t blue);

    bool operator==(const CRkColor& other) const;
    bool operator!=(const CRkColor& other) const { return !(*this == other); }
    // Each channel a + (b - a) / 2, integer division.
    static CRkColor Midpoint(const CRkColor& a, const CRkColor& b);

    // Body: u32 version 0, then 0, red, green, blue.
    int32_t Write(CRkStream& stream) const override;
    int32_t Read(CRkStream& stream) override;
    uint32_t GetTypeID() const override { return kTypeIdColor; }
    bool IsEqual(const CRkType* other) const override;
    uint32_t Hash() const override; // 0x00RRGGBB

private:
    uint8_t m_red = 0;
    uint8_t m_green = 0;
    uint8_t m_blue = 0;
};
