// Message targets and message handlers: a target passes each message along
// its handlers until one takes it.
#pragma once

#include <cstdint>

class CRkMessage;
class IRkMessageHandler;

class IRkMessageTarget {
public:
    virtual ~IRkMessageTarget() = default;

    // An owned handler is deleted when it is removed or the target dies.
    virtual void AddHandler(IRkMessageHandler* handler, bool owned) = 0;
    virtual void RemoveHandler(IRkMessageHandler* handler) = 0;
    // True when somebody took the message. The payload stays the caller's.
    virtual bool HandleMessage(uint16_t message, CRkMessage* payload) = 0;
    // Queues the message; the payload becomes the queue's and is deleted
    // after delivery (or right away when the target cannot queue).
    virtual void PostMessage(uint16_t message, CRkMessage* payload, uint32_t flags) = 0;

    // Asks the command's state, then performs it when enabled.
    virtual bool DoCommand(uint32_t command);
    virtual void PostCommand(uint32_t command, uint32_t flags);
};

class IRkMessageHandler {
public:
    virtual ~IRkMessageHandler() = default;

    // Returns true when the handler took the message. `rest` stands for the
    // handlers after this one: a handler may pass the message on by calling
    // rest.HandleMessage.
    virtual bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) = 0;
};
