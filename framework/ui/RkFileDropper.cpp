#include "framework/ui/RkFileDropper.h"

#include "framework/application/RkApplication.h"
#include "framework/application/RkFileMessage.h"
#include "framework/io/File.h"
#include "framework/ui/RkComponent.h"
#include "framework/ui/RkDrag.h"

CRkFileDropper::CRkFileDropper(CRkComponent* view) : m_view(view)
{
}

CRkFileDropper::CRkFileDropper(CRkComponent* view, bool folderMode, IRkMessageTarget* target)
    : m_view(view), m_folderMode(folderMode), m_target(target)
{
}

void CRkFileDropper::AddSuffix(const CRkString& suffix)
{
    m_suffixes.insert(m_suffixes.begin(), suffix);
}

bool CRkFileDropper::Accepts(const CRkString& path) const
{
    for (const CRkString& suffix : m_suffixes)
        if (path.EndsWith(suffix, false))
            return true;
    return false;
}

void CRkFileDropper::SetAccepting(bool accepting)
{
    if (accepting == m_accepting)
        return;
    m_accepting = accepting;
    if (m_view)
        m_view->OnDragFeedback(accepting);
}

bool CRkFileDropper::HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest)
{
    if (message < kMsgDragEnter || message > kMsgDrop)
        return rest.HandleMessage(message, payload);
    CRkDrag* drag = dynamic_cast<CRkDrag*>(payload);
    bool before = m_accepting;
    switch (message) {
    case kMsgDragEnter: {
        bool any = false;
        if (drag)
            for (const RkDragItem& item : drag->GetItems())
                any = any || (item.type == kDragTypeFile && Accepts(item.path));
        SetAccepting(any);
        if (drag)
            drag->SetAccepted(m_accepting);
        return m_accepting;
    }
    case kMsgDragLeave:
        SetAccepting(false);
        return before;
    case kMsgDragOver:
        if (drag)
            drag->SetAccepted(m_accepting);
        return m_accepting;
    default: { // the drop
        std::vector<const RkDragItem*> accepted;
        if (m_accepting && drag) {
            for (const RkDragItem& item : drag->GetItems())
                if (item.type == kDragTypeFile && Accepts(item.path))
                    accepted.push_back(&item);
        }
        IRkMessageTarget* target = m_target ? m_target : CRkApplication::Get();
        uint32_t count = uint32_t(accepted.size());
        for (uint32_t i = 0; i < count && target; ++i) {
            CFile file(accepted[i]->path);
            uint16_t number = m_folderMode ? uint16_t(kMsgOpenFolder) : uint16_t(kMsgOpenFile);
            target->PostMessage(number, new CRkFileMessage(file, i, count), 0);
        }
        if (drag)
            drag->SetAccepted(count > 0);
        SetAccepting(false);
        return before;
    }
    }
}
