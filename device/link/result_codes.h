// Results of every operation that talks to the keyboard. Callers decide whether to tell the user.
#pragma once

namespace qx::device {

inline constexpr int kOk = 1;            // the keyboard answered and accepted the command
inline constexpr int kNoDevice = 0;      // no keyboard on the command interface, or the wait failed
inline constexpr int kSendRefused = -1;  // the transport refused to send the packet
inline constexpr int kNoAnswer = -2;     // no answer echoing the command within three attempts
inline constexpr int kRejectedFF = -102;  // the keyboard answered status 0xFF three times
inline constexpr int kRejectedFE = -103;  // the keyboard answered status 0xFE three times
inline constexpr int kBadProfile = -201;  // a profile index outside 0..2; nothing was sent

}  // namespace qx::device
