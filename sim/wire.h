// The frames that travel between the emulated keyboard's server (qx480-sim serve) and the
// programs attached to it over its Unix socket.
//
// A frame is a 32-bit little-endian payload length, then the payload: one type byte and the
// type's fields. Frames larger than kMaxFramePayload end the connection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qx::sim::wire {

inline constexpr size_t kHeaderSize = 4;
inline constexpr size_t kMaxFramePayload = 1 << 20;
inline constexpr uint16_t kProtocolVersion = 1;

enum class FrameType : uint8_t {
    kHello = 1,         // client: u16 protocol version, trace file path (may be empty)
    kWelcome = 2,       // server: u8 keyboard present
    kRefused = 3,       // server: why the client cannot attach (text); the server then hangs up
    kWrite = 4,         // client: u8 collection, the output report
    kWriteResult = 5,   // server: i32 the keyboard's result for the last kWrite
    kReport = 6,        // server: u8 collection, an input report
    kPresence = 7,      // server: u8 keyboard present (it left or came back)
    kControl = 8,       // control client: the command's words, each ended by a zero byte
    kControlReply = 9,  // server: i32 exit code, text
    kLog = 10,          // server: a message for the attached program's standard error
};

struct Frame {
    FrameType type{};
    std::vector<uint8_t> body;  // the payload after the type byte
};

std::vector<uint8_t> Encode(FrameType type, std::span<const uint8_t> body);
std::vector<uint8_t> EncodeText(FrameType type, std::string_view text);
std::vector<uint8_t> EncodeInt(FrameType type, int32_t value, std::string_view text = {});
std::vector<uint8_t> EncodeByte(FrameType type, uint8_t value, std::span<const uint8_t> rest = {});
std::vector<uint8_t> EncodeWords(FrameType type, const std::vector<std::string>& words);

// Readers of a frame's body; nothing when the body is too short or malformed.
std::optional<int32_t> IntOf(const Frame& frame);
std::string TextAfterInt(const Frame& frame);
std::string TextOf(const Frame& frame);
std::optional<std::vector<std::string>> WordsOf(const Frame& frame);

// Collects bytes from a stream and cuts them into frames.
class FrameReader {
  public:
    void Feed(std::span<const uint8_t> bytes);
    // The next whole frame, or nothing until more bytes arrive. After a malformed frame
    // (oversized or empty) it returns nothing for good and Failed() is true.
    std::optional<Frame> Next();
    bool Failed() const { return failed_; }

  private:
    std::vector<uint8_t> buffer_;
    size_t consumed_ = 0;
    bool failed_ = false;
};

}  // namespace qx::sim::wire
