// Tells when the devices on offer may have changed: a camera node that came or went in /dev,
// a source that the sound server added or removed. Asked while a device dialog is open.
#pragma once

#include <atomic>
#include <chrono>
#include <vector>

struct pa_threaded_mainloop;
struct pa_context;

namespace component {

class DeviceWatch {
public:
    DeviceWatch();
    ~DeviceWatch();
    DeviceWatch(const DeviceWatch&) = delete;
    DeviceWatch& operator=(const DeviceWatch&) = delete;

    // True when something changed since the last call (the first call: since construction).
    bool Changed();

private:
    void ConnectToSoundServer();
    void DisconnectFromSoundServer();

    // The node list is read again at each call rather than followed through inotify: udev
    // creates a node before it sets the permissions that let it open, so the list is only
    // worth acting on when it is asked for.
    std::vector<int> m_nodes;
    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    std::atomic<int> m_soundEvents{0};
    std::atomic<bool> m_soundServerLost{false};
    int m_soundEventsSeen = 0;
    std::chrono::steady_clock::time_point m_nextConnect{};
};

}  // namespace component
