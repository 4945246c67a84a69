#include "backgroundhold.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace
{

constexpr std::chrono::seconds longestHold{2};

std::mutex guard;
std::condition_variable lifted;
bool held = false;
std::chrono::steady_clock::time_point heldUntil;

} // namespace

void BackgroundHold::hold()
{
    const std::lock_guard lock(guard);
    held = true;
    heldUntil = std::chrono::steady_clock::now() + longestHold;
}

void BackgroundHold::lift()
{
    {
        const std::lock_guard lock(guard);
        held = false;
    }
    lifted.notify_all();
}

void BackgroundHold::waitUntilLifted()
{
    std::unique_lock lock(guard);
    lifted.wait_until(lock, heldUntil, [] { return !held; });
}
