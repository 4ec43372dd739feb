// Any bytes as the stream on the emulated keyboard's socket. The first byte sets the size of the
// pieces the rest arrives in, as reads from a socket cut it anywhere. The frames cut from it
// are the same whatever the pieces, each encodes back to the bytes it came from, and every
// reader of a body (including the control command check) takes what it is given.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "sim/control.h"
#include "sim/wire.h"

namespace {

using qx::sim::wire::Frame;
using qx::sim::wire::FrameReader;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void ReadBody(const Frame& frame) {
    namespace wire = qx::sim::wire;
    const std::optional<int32_t> number = wire::IntOf(frame);
    Check(number.has_value() == (frame.body.size() >= 4));
    Check(wire::TextAfterInt(frame).size() == (number ? frame.body.size() - 4 : 0));
    Check(wire::TextOf(frame).size() == frame.body.size());
    if (const auto words = wire::WordsOf(frame)) {
        Check(wire::EncodeWords(frame.type, *words) == wire::Encode(frame.type, frame.body));
        if (!words->empty()) {
            (void)qx::sim::CheckControlWords(*words);
        }
    }
}

// The frames of `stream` fed in pieces of `piece` bytes, and whether the reader failed.
std::vector<Frame> Cut(std::span<const uint8_t> stream, size_t piece, bool& failed) {
    FrameReader reader;
    std::vector<Frame> frames;
    for (size_t at = 0; at < stream.size(); at += piece) {
        reader.Feed(stream.subspan(at, std::min(piece, stream.size() - at)));
        while (auto frame = reader.Next()) {
            frames.push_back(std::move(*frame));
        }
    }
    failed = reader.Failed();
    return frames;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    namespace wire = qx::sim::wire;
    if (size == 0) {
        return 0;
    }
    const size_t piece = data[0] == 0 ? 1 : data[0];
    const std::span<const uint8_t> stream(data + 1, size - 1);
    bool failed = false;
    const std::vector<Frame> frames = Cut(stream, piece, failed);
    bool failedWhole = false;
    const std::vector<Frame> whole = Cut(stream, stream.empty() ? 1 : stream.size(), failedWhole);
    Check(failed == failedWhole && frames.size() == whole.size());
    size_t offset = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        Check(frames[i].type == whole[i].type && frames[i].body == whole[i].body);
        const std::vector<uint8_t> encoded = wire::Encode(frames[i].type, frames[i].body);
        Check(encoded.size() <= stream.size() - offset);
        Check(std::equal(encoded.begin(), encoded.end(), stream.begin() + offset));
        offset += encoded.size();
        ReadBody(frames[i]);
    }
    return 0;
}
