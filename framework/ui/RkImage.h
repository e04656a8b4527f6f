// A decoded picture, reference-counted like every typed framework object.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/core/RkType.h"
#include "framework/ui/RkGraphicsImp.h"

class CRkImage : public CRkType {
public:
    // Null when the bytes are not an image the platform can read.
    static CRkImage* FromPng(const uint8_t* data, uint32_t size, uint32_t resourceId = 0);
    // The PNG resource compiled into the program under `id`; null if none.
    static CRkImage* FromResource(uint32_t id);

    int32_t GetWidth() const { return m_imp->GetWidth(); }
    int32_t GetHeight() const { return m_imp->GetHeight(); }
    const IRkImageImp& GetImp() const { return *m_imp; }

    // Images are not written to streams.
    int32_t Write(CRkStream& stream) const override;
    int32_t Read(CRkStream& stream) override;

private:
    explicit CRkImage(IRkImageImp* imp) : m_imp(imp) {}
    std::unique_ptr<IRkImageImp> m_imp;
};
