#include "component/sources/DeviceWatch.h"

#include "component/sources/V4l2Probe.h"

#include <pulse/context.h>
#include <pulse/subscribe.h>
#include <pulse/thread-mainloop.h>

namespace component {

namespace {
constexpr auto kReconnectEvery = std::chrono::seconds(3);
}

DeviceWatch::DeviceWatch() : m_nodes(VideoNodeNumbers()) { ConnectToSoundServer(); }

DeviceWatch::~DeviceWatch() { DisconnectFromSoundServer(); }

bool DeviceWatch::Changed() {
    bool changed = false;
    std::vector<int> nodes = VideoNodeNumbers();
    if (nodes != m_nodes) {
        m_nodes = std::move(nodes);
        changed = true;
    }
    const int events = m_soundEvents.load();
    if (events != m_soundEventsSeen) {
        m_soundEventsSeen = events;
        changed = true;
    }
    // A server that went away took its sources; one that comes (back) brings them.
    if (m_soundServerLost.exchange(false)) {
        DisconnectFromSoundServer();
        changed = true;
    }
    if (!m_context && std::chrono::steady_clock::now() >= m_nextConnect) {
        ConnectToSoundServer();
        if (m_context) changed = true;
    }
    return changed;
}

void DeviceWatch::ConnectToSoundServer() {
    m_nextConnect = std::chrono::steady_clock::now() + kReconnectEvery;
    m_loop = pa_threaded_mainloop_new();
    if (!m_loop) return;
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "Capture Station device watch");
    if (!m_context || pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        DisconnectFromSoundServer();
        return;
    }
    pa_context_set_state_callback(
        m_context,
        [](pa_context* c, void* self) {
            auto* watch = static_cast<DeviceWatch*>(self);
            switch (pa_context_get_state(c)) {
            case PA_CONTEXT_READY:
                pa_context_set_subscribe_callback(
                    c,
                    [](pa_context*, pa_subscription_event_type_t type, uint32_t, void* self) {
                        const auto kind = type & PA_SUBSCRIPTION_EVENT_TYPE_MASK;
                        // A source's volume or port changing is not a device coming or going.
                        if (kind != PA_SUBSCRIPTION_EVENT_CHANGE) ++static_cast<DeviceWatch*>(self)->m_soundEvents;
                    },
                    self);
                pa_operation_unref(pa_context_subscribe(c, PA_SUBSCRIPTION_MASK_SOURCE, nullptr, nullptr));
                break;
            case PA_CONTEXT_FAILED:
            case PA_CONTEXT_TERMINATED: watch->m_soundServerLost = true; break;
            default: break;
            }
        },
        this);
    if (pa_threaded_mainloop_start(m_loop) < 0) DisconnectFromSoundServer();
}

void DeviceWatch::DisconnectFromSoundServer() {
    if (m_loop) pa_threaded_mainloop_stop(m_loop);
    if (m_context) {
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
    }
    if (m_loop) pa_threaded_mainloop_free(m_loop);
    m_loop = nullptr;
}

}  // namespace component
