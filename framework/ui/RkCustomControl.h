// Controls that draw themselves: a panel whose Draw paints it, and the
// image panel that shows one picture.
#pragma once

#include <cstdint>

#include "framework/ui/RkContainer.h"

class CRkImage;

class CRkCustomControl : public CRkContainer {
public:
    CRkCustomControl(CRkContainer* parent, uint32_t id);
};

// Shows one image scaled into the panel, or with keep-aspect at the largest
// size that keeps its proportions, centred. Without an image it is black.
class CRkImagePanel : public CRkCustomControl {
public:
    // Takes a reference on `image` (may be null).
    CRkImagePanel(CRkContainer* parent, CRkImage* image, uint32_t id);
    ~CRkImagePanel() override;

    // A different image releases the old one and redraws.
    void SetImage(CRkImage* image);
    CRkImage* GetImage() const { return m_image; }
    void SetKeepAspect(bool keep) { m_keepAspect = keep; }
    void SetPreferredSize(int32_t width, int32_t height);

    // The override; else the image's size; else 64 x 64.
    RkSize GetPreferredSize() const override;
    void Draw(IRkGraphicsContextImp& context) override;
    // Where the image goes in a panel of `panel` size.
    RkRect ImageRect(const RkSize& panel) const;

private:
    CRkImage* m_image = nullptr;
    RkSize m_override{kUnbounded, kUnbounded};
    bool m_keepAspect = false;
};
