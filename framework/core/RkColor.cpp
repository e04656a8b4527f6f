#include "framework/core/RkColor.h"

#include "framework/core/RkStream.h"

namespace {

SystemColorProvider g_provider = nullptr;

// Used when the platform gives no colour: a plain light theme.
CRkColor DefaultBaseColor(uint32_t index)
{
    switch (index) {
    case kSysColorWindow:
    case kSysColorSelectedText:
        return CRkColor(255, 255, 255);
    case kSysColorSelection:
        return CRkColor(0, 0, 128);
    case kSysColorButtonFace:
        return CRkColor(212, 208, 200);
    case kSysColorButtonShadow:
        return CRkColor(128, 128, 128);
    default:
        return CRkColor(0, 0, 0);
    }
}

CRkColor BaseColor(uint32_t index)
{
    uint8_t r = 0, g = 0, b = 0;
    if (g_provider && g_provider(index, r, g, b))
        return CRkColor(r, g, b);
    return DefaultBaseColor(index);
}

uint8_t Tint(uint8_t background, uint8_t ink)
{
    return static_cast<uint8_t>(background / 10 * 9 + ink / 10);
}

CRkColor TintOf(const CRkColor& background, const CRkColor& ink)
{
    return CRkColor(Tint(background.GetRed(), ink.GetRed()), Tint(background.GetGreen(), ink.GetGreen()),
                    Tint(background.GetBlue(), ink.GetBlue()));
}

uint8_t Mid(uint8_t a, uint8_t b)
{
    return static_cast<uint8_t>(a + (int(b) - int(a)) / 2);
}

} // namespace

void SetSystemColorProvider(SystemColorProvider provider)
{
    g_provider = provider;
}

CRkColor::CRkColor(uint32_t systemIndex)
{
    CRkColor c;
    switch (systemIndex) {
    case kSysColorWindowTint:
        c = TintOf(BaseColor(kSysColorWindow), BaseColor(kSysColorWindowText));
        break;
    case kSysColorSelectionTint:
        c = TintOf(BaseColor(kSysColorWindow), BaseColor(kSysColorSelection));
        break;
    case kSysColorLightGray:
        c = CRkColor(192, 192, 192);
        break;
    case kSysColorWindowText:
    case kSysColorWindow:
    case kSysColorSelectedText:
    case kSysColorSelection:
    case kSysColorButtonFace:
    case kSysColorButtonShadow:
        c = BaseColor(systemIndex);
        break;
    default:
        break;
    }
    *this = c;
}

CRkColor& CRkColor::operator=(const CRkColor& other)
{
    Set(other.m_red, other.m_green, other.m_blue);
    return *this;
}

void CRkColor::Set(uint8_t red, uint8_t green, uint8_t blue)
{
    m_red = red;
    m_green = green;
    m_blue = blue;
}

bool CRkColor::operator==(const CRkColor& other) const
{
    return m_red == other.m_red && m_green == other.m_green && m_blue == other.m_blue;
}

CRkColor CRkColor::Midpoint(const CRkColor& a, const CRkColor& b)
{
    return CRkColor(Mid(a.m_red, b.m_red), Mid(a.m_green, b.m_green), Mid(a.m_blue, b.m_blue));
}

int32_t CRkColor::Write(CRkStream& stream) const
{
    int32_t err = stream.WriteU32(0);
    if (!err)
        err = stream.WriteU8(0);
    if (!err)
        err = stream.WriteU8(m_red);
    if (!err)
        err = stream.WriteU8(m_green);
    if (!err)
        err = stream.WriteU8(m_blue);
    return err;
}

int32_t CRkColor::Read(CRkStream& stream)
{
    uint32_t version = 0;
    int32_t err = stream.ReadU32(version);
    if (err)
        return err;
    if (version > 0)
        return kStreamNewerVersion;
    uint8_t pad = 0, r = 0, g = 0, b = 0;
    if ((err = stream.ReadU8(pad)) != 0 || (err = stream.ReadU8(r)) != 0 || (err = stream.ReadU8(g)) != 0 ||
        (err = stream.ReadU8(b)) != 0)
        return err;
    Set(r, g, b);
    return kStreamOk;
}

bool CRkColor::IsEqual(const CRkType* other) const
{
    return other && other->GetTypeID() == kTypeIdColor && *this == *static_cast<const CRkColor*>(other);
}

uint32_t CRkColor::Hash() const
{
    return (uint32_t(m_red) << 16) | (uint32_t(m_green) << 8) | m_blue;
}
