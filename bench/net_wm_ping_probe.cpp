#include "net_wm_ping_probe.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <poll.h>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kInterval{50};

double MillisSince(Clock::time_point then)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - then).count();
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, std::strlen(name), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

}  // namespace

struct NetWmPingProbe::Connection {
    xcb_connection_t* xcb = nullptr;
    xcb_window_t root = 0;
    xcb_atom_t protocols = XCB_ATOM_NONE;
    xcb_atom_t ping = XCB_ATOM_NONE;
    ~Connection()
    {
        if (xcb != nullptr) xcb_disconnect(xcb);
    }
};

NetWmPingProbe::NetWmPingProbe() : m_connection(std::make_unique<Connection>())
{
    int screenNumber = 0;
    m_connection->xcb = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(m_connection->xcb) != 0) {
        m_error = "no X display to connect to (DISPLAY)";
        return;
    }
    xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection->xcb));
    for (int i = 0; i < screenNumber && screen.rem > 0; ++i) xcb_screen_next(&screen);
    m_connection->root = screen.data->root;
    m_connection->protocols = Atom(m_connection->xcb, "WM_PROTOCOLS");
    m_connection->ping = Atom(m_connection->xcb, "_NET_WM_PING");
    // The answers go to the root window, to whoever listens there for its own changes (Qt)
    // or its children's (the mask EWMH names).
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection->xcb, m_connection->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection->xcb);
}

NetWmPingProbe::~NetWmPingProbe()
{
    if (m_thread.joinable()) stop();
}

void NetWmPingProbe::start(std::uint32_t window)
{
    m_times = {};
    m_stop = false;
    m_thread = std::thread([this, window] { run(window); });
}

PingTimes NetWmPingProbe::stop()
{
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    std::sort(m_times.answeredMs.begin(), m_times.answeredMs.end());
    return m_times;
}

void NetWmPingProbe::run(std::uint32_t window)
{
    xcb_connection_t* xcb = m_connection->xcb;
    std::map<std::uint32_t, Clock::time_point> waiting;
    std::uint32_t sequence = 0;
    auto nextPing = Clock::now();
    while (!m_stop) {
        if (Clock::now() >= nextPing) {
            xcb_client_message_event_t ping{};
            ping.response_type = XCB_CLIENT_MESSAGE;
            ping.format = 32;
            ping.window = window;
            ping.type = m_connection->protocols;
            ping.data.data32[0] = m_connection->ping;
            ping.data.data32[1] = XCB_CURRENT_TIME;
            ping.data.data32[2] = window;
            ping.data.data32[3] = ++sequence;  // comes back in the answer, which copies the message
            xcb_send_event(xcb, 0, window, XCB_EVENT_MASK_NO_EVENT,
                           reinterpret_cast<const char*>(&ping));
            xcb_flush(xcb);
            waiting[sequence] = Clock::now();
            nextPing += kInterval;
        }
        pollfd readable{xcb_get_file_descriptor(xcb), POLLIN, 0};
        const auto wait =
            std::chrono::duration_cast<std::chrono::milliseconds>(nextPing - Clock::now());
        poll(&readable, 1, static_cast<int>(std::clamp<long long>(wait.count(), 0, 10)));
        while (xcb_generic_event_t* event = xcb_poll_for_event(xcb)) {
            if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE) {
                const auto* answer = reinterpret_cast<xcb_client_message_event_t*>(event);
                const auto found = waiting.find(answer->data.data32[3]);
                if (answer->window == m_connection->root &&
                    answer->data.data32[0] == m_connection->ping && found != waiting.end()) {
                    m_times.answeredMs.push_back(MillisSince(found->second));
                    waiting.erase(found);
                }
            }
            std::free(event);
        }
        if (xcb_connection_has_error(xcb) != 0) break;
    }
    m_times.unanswered = waiting.size();
    if (!waiting.empty()) m_times.oldestUnansweredMs = MillisSince(waiting.begin()->second);
}
