// Turns files dragged onto a component into file messages: it sits in the
// component's handler chain, accepts a drag that holds at least one file
// with an accepted ending, and on the drop posts one message 18 (35 in
// folder mode) per accepted file with its index and the batch's size.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/RkMessageTarget.h"
#include "framework/core/RkString.h"

class CRkComponent;
class CRkDrag;

// The message a folder-mode dropper posts instead of 18.
enum : uint16_t {
    kMsgOpenFolder = 35,
};

class CRkFileDropper : public IRkMessageHandler {
public:
    explicit CRkFileDropper(CRkComponent* view);
    // `target` null: the application.
    CRkFileDropper(CRkComponent* view, bool folderMode, IRkMessageTarget* target);

    // An ending such as ".lml", compared without regard to case.
    void AddSuffix(const CRkString& suffix);
    bool IsAccepting() const { return m_accepting; }

    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override;

private:
    bool Accepts(const CRkString& path) const;
    void SetAccepting(bool accepting);

    CRkComponent* m_view;
    std::vector<CRkString> m_suffixes; // newest first
    bool m_accepting = false;
    bool m_folderMode = false;
    IRkMessageTarget* m_target = nullptr;
};
