#include "hart/hartip_endpoint.h"

#include <charconv>

namespace hart {

std::optional<HartIpEndpoint> HartIpEndpoint::Parse(const std::string& text, bool tcp)
{
    HartIpEndpoint endpoint;
    endpoint.tcp = tcp;
    std::string portText;
    if (!text.empty() && text.front() == '[') {
        const auto close = text.find(']');
        if (close == std::string::npos) return std::nullopt;
        endpoint.host = text.substr(1, close - 1);
        const std::string rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') return std::nullopt;
            portText = rest.substr(1);
            if (portText.empty()) return std::nullopt;
        }
    } else if (const auto colon = text.find(':');
               colon != std::string::npos && text.find(':', colon + 1) == std::string::npos) {
        endpoint.host = text.substr(0, colon);
        portText = text.substr(colon + 1);
        if (portText.empty()) return std::nullopt;
    } else {
        endpoint.host = text;  // a name, an IPv4 address, or a bare IPv6 address
    }
    if (endpoint.host.empty()) return std::nullopt;
    if (!portText.empty()) {
        unsigned port = 0;
        const auto [end, error] =
            std::from_chars(portText.data(), portText.data() + portText.size(), port);
        if (error != std::errc() || end != portText.data() + portText.size() || port == 0 ||
            port > 65535)
            return std::nullopt;
        endpoint.port = static_cast<std::uint16_t>(port);
    }
    return endpoint;
}

std::string HartIpEndpoint::text() const
{
    const bool bracketed = host.find(':') != std::string::npos;
    return (bracketed ? "[" + host + "]" : host) + ":" + std::to_string(port) +
           (tcp ? " TCP" : " UDP");
}

}  // namespace hart
