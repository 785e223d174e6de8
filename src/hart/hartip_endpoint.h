#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace hart {

// Where a HART-IP server listens: a host name or address, its port and the transport.
struct HartIpEndpoint {
    static constexpr std::uint16_t kDefaultPort = 5094;

    std::string host;
    std::uint16_t port = kDefaultPort;
    bool tcp = false;

    friend bool operator==(const HartIpEndpoint&, const HartIpEndpoint&) = default;

    // "HOST[:PORT]"; an IPv6 address with a port goes in brackets ("[::1]:5094"). nullopt
    // for an empty host or a port outside 1–65535.
    static std::optional<HartIpEndpoint> Parse(const std::string& text, bool tcp);
    // "HOST:PORT UDP" (or TCP), as the trace and the messages show it.
    std::string text() const;
};

}  // namespace hart
