#include "sim/wire.h"

#include <algorithm>

namespace qx::sim::wire {
namespace {

constexpr size_t kIntSize = 4;

void PutLe32(std::vector<uint8_t>& out, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

uint32_t GetLe32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
           static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

std::span<const uint8_t> AsBytes(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

}  // namespace

std::vector<uint8_t> Encode(FrameType type, std::span<const uint8_t> body) {
    std::vector<uint8_t> out;
    out.reserve(kHeaderSize + 1 + body.size());
    PutLe32(out, static_cast<uint32_t>(1 + body.size()));
    out.push_back(static_cast<uint8_t>(type));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::vector<uint8_t> EncodeText(FrameType type, std::string_view text) {
    return Encode(type, AsBytes(text));
}

std::vector<uint8_t> EncodeInt(FrameType type, int32_t value, std::string_view text) {
    std::vector<uint8_t> body;
    PutLe32(body, static_cast<uint32_t>(value));
    body.insert(body.end(), text.begin(), text.end());
    return Encode(type, body);
}

std::vector<uint8_t> EncodeByte(FrameType type, uint8_t value, std::span<const uint8_t> rest) {
    std::vector<uint8_t> body{value};
    body.insert(body.end(), rest.begin(), rest.end());
    return Encode(type, body);
}

std::vector<uint8_t> EncodeWords(FrameType type, const std::vector<std::string>& words) {
    std::vector<uint8_t> body;
    for (const std::string& w : words) {
        body.insert(body.end(), w.begin(), w.end());
        body.push_back(0);
    }
    return Encode(type, body);
}

std::optional<int32_t> IntOf(const Frame& frame) {
    if (frame.body.size() < kIntSize) {
        return std::nullopt;
    }
    return static_cast<int32_t>(GetLe32(frame.body.data()));
}

std::string TextAfterInt(const Frame& frame) {
    if (frame.body.size() < kIntSize) {
        return {};
    }
    return {frame.body.begin() + kIntSize, frame.body.end()};
}

std::string TextOf(const Frame& frame) {
    return {frame.body.begin(), frame.body.end()};
}

std::optional<std::vector<std::string>> WordsOf(const Frame& frame) {
    if (!frame.body.empty() && frame.body.back() != 0) {
        return std::nullopt;
    }
    std::vector<std::string> words;
    auto begin = frame.body.begin();
    while (begin != frame.body.end()) {
        auto end = std::find(begin, frame.body.end(), uint8_t{0});
        words.emplace_back(begin, end);
        begin = end + 1;
    }
    return words;
}

void FrameReader::Feed(std::span<const uint8_t> bytes) {
    if (failed_) {
        return;
    }
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<ptrdiff_t>(consumed_));
    consumed_ = 0;
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

std::optional<Frame> FrameReader::Next() {
    if (failed_) {
        return std::nullopt;
    }
    const size_t available = buffer_.size() - consumed_;
    if (available < kHeaderSize) {
        return std::nullopt;
    }
    const uint8_t* at = buffer_.data() + consumed_;
    const uint32_t length = GetLe32(at);
    if (length == 0 || length > kMaxFramePayload) {
        failed_ = true;
        return std::nullopt;
    }
    if (available - kHeaderSize < length) {
        return std::nullopt;
    }
    Frame frame;
    frame.type = static_cast<FrameType>(at[kHeaderSize]);
    frame.body.assign(at + kHeaderSize + 1, at + kHeaderSize + length);
    consumed_ += kHeaderSize + length;
    if (consumed_ == buffer_.size()) {
        buffer_.clear();
        consumed_ = 0;
    }
    return frame;
}

}  // namespace qx::sim::wire
