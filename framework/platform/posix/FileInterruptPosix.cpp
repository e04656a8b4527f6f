// Files removed when the process is ended by SIGINT, SIGTERM or SIGHUP: a
// build's temporary output must not outlive an interrupted build. The
// handler only reads the table and calls unlink, both safe in a signal
// handler, then ends the process by the signal's default action.
#include <atomic>
#include <csignal>
#include <cstring>
#include <mutex>

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include "framework/platform/posix/FileImpPosix.h"

namespace {

constexpr int kSlots = 32;
constexpr size_t kMaxPath = 4096;

struct RemovalSlot {
    std::atomic<bool> taken{false}; // claimed by a file
    std::atomic<bool> ready{false}; // path filled in, to be removed
    char path[kMaxPath];
};

RemovalSlot g_slots[kSlots];
const int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

void RemoveAndEnd(int signal)
{
    for (RemovalSlot& slot : g_slots)
        if (slot.ready.load(std::memory_order_acquire))
            ::unlink(slot.path);
    // The default action ends the process with the signal's own status.
    struct sigaction plain {};
    plain.sa_handler = SIG_DFL;
    sigemptyset(&plain.sa_mask);
    ::sigaction(signal, &plain, nullptr);
    ::raise(signal);
}

// Takes over the signals that would end the process at once; a signal the
// program ignores or handles itself is left to it.
void InstallHandlers()
{
    for (int signal : kSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0)
            continue;
        if ((current.sa_flags & SA_SIGINFO) || current.sa_handler != SIG_DFL)
            continue;
        struct sigaction handler {};
        handler.sa_handler = &RemoveAndEnd;
        sigemptyset(&handler.sa_mask);
        for (int other : kSignals)
            sigaddset(&handler.sa_mask, other);
        ::sigaction(signal, &handler, nullptr);
    }
}

} // namespace

int AddInterruptRemoval(const char* nativePath, bool armed)
{
    const size_t length = std::strlen(nativePath);
    if (length >= kMaxPath)
        return -1;
    static std::once_flag installed;
    std::call_once(installed, InstallHandlers);
    for (int i = 0; i < kSlots; ++i) {
        bool expected = false;
        if (!g_slots[i].taken.compare_exchange_strong(expected, true))
            continue;
        std::memcpy(g_slots[i].path, nativePath, length + 1);
        g_slots[i].ready.store(armed, std::memory_order_release);
        return i;
    }
    return -1;
}

void ArmInterruptRemoval(int slot)
{
    if (slot >= 0 && slot < kSlots && g_slots[slot].taken.load())
        g_slots[slot].ready.store(true, std::memory_order_release);
}

InterruptsHeld::InterruptsHeld()
{
    sigset_t held;
    sigemptyset(&held);
    for (int signal : kSignals)
        sigaddset(&held, signal);
    ::pthread_sigmask(SIG_BLOCK, &held, &m_saved);
}

InterruptsHeld::~InterruptsHeld()
{
    ::pthread_sigmask(SIG_SETMASK, &m_saved, nullptr);
}

void RemoveInterruptRemoval(int slot)
{
    if (slot < 0 || slot >= kSlots)
        return;
    g_slots[slot].ready.store(false, std::memory_order_release);
    g_slots[slot].taken.store(false, std::memory_order_release);
}
