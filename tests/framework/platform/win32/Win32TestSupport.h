// Shared pieces of the Win32 layer's tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/core/RkMessage.h"
#include "framework/core/RkMessageTarget.h"
#include "framework/core/RkString.h"

inline std::u16string Units(const CRkString& s)
{
    return std::u16string(s.GetChars(), s.GetLength());
}

// A payload that counts the living instances.
class CountedPayload : public CRkMessage {
public:
    explicit CountedPayload(int& alive, int value = 0) : value(value), m_alive(alive) { ++m_alive; }
    ~CountedPayload() override { --m_alive; }
    int value;

private:
    int& m_alive;
};

// A target that records what it is given and may act on it; it accepts a
// quit request unless told otherwise.
class RecordingTarget : public IRkMessageTarget {
public:
    struct Received {
        uint16_t message;
        int value; // the CountedPayload's value, the command number, or -1
    };

    void AddHandler(IRkMessageHandler*, bool) override {}
    void RemoveHandler(IRkMessageHandler*) override {}
    bool HandleMessage(uint16_t message, CRkMessage* payload) override
    {
        if (message == kMsgQuitRequest) {
            ++quitRequests;
            if (acceptQuit && payload)
                static_cast<CRkQuitMessage*>(payload)->accepted = 1;
            return true;
        }
        int value = -1;
        if (auto* counted = dynamic_cast<CountedPayload*>(payload))
            value = counted->value;
        else if (auto* command = dynamic_cast<CRkCommand*>(payload))
            value = int(command->GetCommand());
        received.push_back({message, value});
        if (onMessage)
            onMessage(message);
        return true;
    }
    void PostMessage(uint16_t, CRkMessage* payload, uint32_t) override { delete payload; }

    std::vector<Received> received;
    std::function<void(uint16_t)> onMessage;
    bool acceptQuit = true;
    int quitRequests = 0;
};
