#include "scripted-responder.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <optional>

namespace t48::testing {
namespace {

using Bytes = std::vector<uint8_t>;

// --- BER writing -------------------------------------------------------------------

void putLength(Bytes& out, std::size_t length) {
    if (length < 0x80) {
        out.push_back(static_cast<uint8_t>(length));
    } else if (length <= 0xFF) {
        out.insert(out.end(), {0x81, static_cast<uint8_t>(length)});
    } else {
        out.insert(out.end(),
                   {0x82, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length & 0xFF)});
    }
}

Bytes tlv(uint8_t tag, const Bytes& content) {
    Bytes out{tag};
    putLength(out, content.size());
    out.insert(out.end(), content.begin(), content.end());
    return out;
}

Bytes integer(long value) {
    Bytes content;
    for (int shift = 56; shift >= 0; shift -= 8) {
        content.push_back(static_cast<uint8_t>(value >> shift));
    }
    // Shortest two's complement form.
    while (content.size() > 1 && ((content[0] == 0x00 && !(content[1] & 0x80)) ||
                                  (content[0] == 0xFF && (content[1] & 0x80)))) {
        content.erase(content.begin());
    }
    return tlv(0x02, content);
}

Bytes objectId(const SubIds& name) {
    Bytes content;
    if (name.size() >= 2) {
        SubIds subs = {name[0] * 40 + name[1]};
        subs.insert(subs.end(), name.begin() + 2, name.end());
        for (uint32_t sub : subs) {
            Bytes base128;
            do {
                base128.insert(base128.begin(), static_cast<uint8_t>(sub & 0x7F));
                sub >>= 7;
            } while (sub != 0);
            for (std::size_t i = 0; i + 1 < base128.size(); ++i) {
                base128[i] |= 0x80;
            }
            content.insert(content.end(), base128.begin(), base128.end());
        }
    }
    return tlv(0x06, content);
}

Bytes value(const ScriptedVariable& v) {
    switch (v.type) {
        case 0x02:
            return integer(v.integer);
        case 0x04:
            return tlv(0x04, Bytes(v.text.begin(), v.text.end()));
        default:
            return tlv(v.type, {});
    }
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

// --- BER reading -------------------------------------------------------------------

struct Reader {
    const uint8_t* p;
    const uint8_t* end;

    // The content of the next element if it has `tag`; advances past it.
    std::optional<Reader> element(uint8_t tag) {
        if (end - p < 2 || p[0] != tag) {
            return std::nullopt;
        }
        std::size_t length = p[1];
        const uint8_t* content = p + 2;
        if (length & 0x80) {
            const std::size_t bytes = length & 0x7F;
            if (bytes == 0 || bytes > 2 || end - content < static_cast<long>(bytes)) {
                return std::nullopt;
            }
            length = 0;
            for (std::size_t i = 0; i < bytes; ++i) {
                length = (length << 8) | content[i];
            }
            content += bytes;
        }
        if (end - content < static_cast<long>(length)) {
            return std::nullopt;
        }
        p = content + length;
        return Reader{content, content + length};
    }
    std::optional<uint8_t> peekTag() const {
        return p < end ? std::optional<uint8_t>(*p) : std::nullopt;
    }
};

std::optional<long> readInteger(Reader& r) {
    auto e = r.element(0x02);
    if (!e || e->p == e->end) {
        return std::nullopt;
    }
    long v = static_cast<int8_t>(*e->p);
    for (const uint8_t* q = e->p + 1; q < e->end; ++q) {
        v = (v << 8) | *q;
    }
    return v;
}

std::optional<SubIds> readObjectId(Reader& r) {
    auto e = r.element(0x06);
    if (!e || e->p == e->end) {
        return std::nullopt;
    }
    SubIds subs;
    uint32_t sub = 0;
    for (const uint8_t* q = e->p; q < e->end; ++q) {
        sub = (sub << 7) | (*q & 0x7F);
        if (!(*q & 0x80)) {
            subs.push_back(sub);
            sub = 0;
        }
    }
    SubIds name = {subs[0] / 40, subs[0] % 40};
    name.insert(name.end(), subs.begin() + 1, subs.end());
    return name;
}

struct Decoded {
    std::string community;
    long requestId;
    ScriptedRequest request;
};

std::optional<Decoded> decode(const uint8_t* data, std::size_t size) {
    Reader packet{data, data + size};
    auto message = packet.element(0x30);
    if (!message || !readInteger(*message)) {
        return std::nullopt;
    }
    auto community = message->element(0x04);
    auto tag = message->peekTag();
    if (!community || !tag) {
        return std::nullopt;
    }
    auto pdu = message->element(*tag);
    if (!pdu) {
        return std::nullopt;
    }
    auto requestId = readInteger(*pdu);
    if (!requestId || !readInteger(*pdu) || !readInteger(*pdu)) {
        return std::nullopt;
    }
    auto list = pdu->element(0x30);
    auto first = list ? list->element(0x30) : std::nullopt;
    auto name = first ? readObjectId(*first) : std::nullopt;
    if (!name) {
        return std::nullopt;
    }
    return Decoded{std::string(community->p, community->end), *requestId,
                   ScriptedRequest{*tag, *name, 0}};
}

Bytes encodeResponse(const Decoded& request, const ScriptedReply& reply) {
    Bytes bindings;
    for (const ScriptedVariable& v : reply.variables) {
        const Bytes binding = tlv(0x30, concat({objectId(v.name), value(v)}));
        bindings.insert(bindings.end(), binding.begin(), binding.end());
    }
    const Bytes pdu =
        tlv(0xA2, concat({integer(request.requestId), integer(reply.errorStatus),
                          integer(reply.errorStatus != 0 ? 1 : 0), tlv(0x30, bindings)}));
    return tlv(0x30,
               concat({integer(0),
                       tlv(0x04, Bytes(request.community.begin(), request.community.end())), pdu}));
}

}  // namespace

SubIds tableValueName(uint32_t column, uint32_t row) {
    return {1, 3, 6, 1, 4, 1, 47193, 1, 1, 1, 1, 6, 13, 1, 1, column, 1, row};
}

ScriptedResponder::ScriptedResponder(const std::string& address, int port, Script script)
    : address_(address), port_(port), script_(std::move(script)) {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, address.c_str(), &local.sin_addr);
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        if (fd >= 0) {
            close(fd);
        }
        return;
    }
    socket_ = fd;
    thread_ = std::thread([this] { serve(); });
}

ScriptedResponder::~ScriptedResponder() {
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    if (socket_ >= 0) {
        close(socket_);
    }
}

std::string ScriptedResponder::peer() const {
    return address_ + ":" + std::to_string(port_);
}

std::vector<ScriptedRequest> ScriptedResponder::requests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

void ScriptedResponder::serve() {
    uint8_t buffer[65536];
    while (!stop_) {
        pollfd p{socket_, POLLIN, 0};
        if (poll(&p, 1, 20) <= 0) {
            continue;
        }
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t n = recvfrom(socket_, buffer, sizeof buffer, 0,
                                   reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (n <= 0) {
            continue;
        }
        std::optional<Decoded> decoded = decode(buffer, static_cast<std::size_t>(n));
        if (!decoded) {
            continue;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            decoded->request.number = static_cast<int>(requests_.size()) + 1;
            requests_.push_back(decoded->request);
        }
        const ScriptedReply reply = script_(decoded->request);
        if (reply.silent) {
            continue;
        }
        const Bytes answer = encodeResponse(*decoded, reply);
        sendto(socket_, answer.data(), answer.size(), 0, reinterpret_cast<sockaddr*>(&from),
               fromLength);
    }
}

}  // namespace t48::testing
