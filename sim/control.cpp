#include "sim/control.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <span>
#include <string_view>

#include "sim/endpoint.h"

namespace qx::sim {
namespace {

using Args = std::span<const std::string>;

constexpr Millis kDefaultReplugAway{1000};
constexpr int kDefaultCount = 1;
constexpr size_t kDumpBytesPerLine = 16;

// ---- Argument parsing -----------------------------------------------------------------------

// Decimal, or hexadecimal with 0x.
std::optional<unsigned long> ParseNumber(std::string_view text, unsigned long max) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    unsigned long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value > max) {
        return std::nullopt;
    }
    return value;
}

constexpr unsigned long kMaxCount = 1'000'000;

std::optional<int> ParseCount(Args args, size_t index) {
    if (args.size() <= index) {
        return kDefaultCount;
    }
    if (args[index] == "always") {
        return kUntilCleared;
    }
    const auto n = ParseNumber(args[index], kMaxCount);
    return n ? std::optional(static_cast<int>(*n)) : std::nullopt;
}

struct AreaName {
    std::string_view name;
    Area area;
};

constexpr std::array<AreaName, 6> kAreaNames = {{
    {"state", Area::kStateBlock},
    {"default-layout", Area::kDefaultLayout},
    {"layouts", Area::kProfileLayouts},
    {"lighting", Area::kLighting},
    {"key-light", Area::kKeyLight},
    {"macros", Area::kMacroTable},
}};

std::optional<Area> ParseArea(std::string_view text) {
    const auto* it = std::ranges::find(kAreaNames, text, &AreaName::name);
    return it == kAreaNames.end() ? std::nullopt : std::optional(it->area);
}

ControlReply Usage(std::string text) {
    return {kExitUsage, std::move(text), false};
}
ControlReply Done(std::string text = {}) {
    return {kExitOk, std::move(text), false};
}

std::string CountText(int count) {
    return count == kUntilCleared ? "every request until cleared"
                                  : "the next " + std::to_string(count) + " request(s)";
}

// ---- Commands -------------------------------------------------------------------------------
// Each handler checks its arguments; with no keyboard it stops there (a dry run).

ControlReply Status(Keyboard* k, Args) {
    return k ? Done(FormatStatus(k->Status())) : Done();
}

ControlReply PlugCmd(Keyboard* k, Args) {
    if (k) {
        k->Plug();
    }
    return Done("the keyboard is plugged in");
}

ControlReply UnplugCmd(Keyboard* k, Args) {
    if (k) {
        k->Unplug();
    }
    return Done("the keyboard is unplugged");
}

ControlReply ReplugCmd(Keyboard* k, Args args) {
    Millis away = kDefaultReplugAway;
    if (!args.empty()) {
        const auto ms = ParseMillis(args[0]);
        if (!ms || *ms == kNever) {
            return Usage("replug: '" + args[0] + "' is not a number of milliseconds");
        }
        away = *ms;
    }
    if (k) {
        k->Replug(away);
    }
    return Done("the keyboard left and comes back in " + std::to_string(away.count()) + " ms");
}

ControlReply EventCmd(Keyboard* k, Args args) {
    const auto code = ParseNumber(args[0], 0xFFFF);
    if (!code) {
        return Usage("event: '" + args[0] + "' is not an event code 0..0xffff");
    }
    if (k && !k->SendEvent(static_cast<uint16_t>(*code))) {
        return {kExitFailed, "event: the keyboard is away, nothing was sent", false};
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%04lx", *code);
    return Done(std::string("event ") + hex + " sent");
}

ControlReply FailCmd(Keyboard* k, Args args) {
    const auto status = ParseNumber(args[0], 0xFF);
    if (!status || (*status != kStatusRejected && *status != kStatusUnknownCommand)) {
        return Usage("fail: the status must be 0xff or 0xfe, not '" + args[0] + "'");
    }
    const auto count = ParseCount(args, 1);
    if (!count) {
        return Usage("fail: '" + args[1] + "' is not a count (a number or 'always')");
    }
    if (k) {
        k->FailRequests(static_cast<uint8_t>(*status), *count);
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02lx", *status);
    return Done(std::string("status ") + hex + " for " + CountText(*count));
}

template <void (Keyboard::*Apply)(int)>
ControlReply CountedCmd(Keyboard* k, Args args, std::string_view name, std::string_view what) {
    const auto count = ParseCount(args, 0);
    if (!count) {
        return Usage(std::string(name) + ": '" + args[0] +
                     "' is not a count (a number or 'always')");
    }
    if (k) {
        (k->*Apply)(*count);
    }
    return Done(std::string(what) + " for " + CountText(*count));
}

ControlReply SilentCmd(Keyboard* k, Args args) {
    return CountedCmd<&Keyboard::DropRequests>(k, args, "silent", "no answer");
}

ControlReply WrongCmd(Keyboard* k, Args args) {
    return CountedCmd<&Keyboard::AnswerWithOtherCommand>(k, args, "wrong",
                                                         "answers with another command byte");
}

template <void (Keyboard::*Apply)(Millis)>
ControlReply MillisCmd(Keyboard* k, Args args, std::string_view name, std::string_view what) {
    const auto ms = ParseMillis(args[0]);
    if (!ms || *ms == kNever) {
        return Usage(std::string(name) + ": '" + args[0] + "' is not a number of milliseconds");
    }
    if (k) {
        (k->*Apply)(*ms);
    }
    return Done(std::string(what) + " " + std::to_string(ms->count()) + " ms");
}

ControlReply DelayCmd(Keyboard* k, Args args) {
    return MillisCmd<&Keyboard::SetAnswerDelay>(k, args, "delay", "answers are delayed by");
}

ControlReply LatencyCmd(Keyboard* k, Args args) {
    return MillisCmd<&Keyboard::SetLatency>(k, args, "latency", "each report takes");
}

ControlReply BootReturnCmd(Keyboard* k, Args args) {
    const auto ms = ParseMillis(args[0]);
    if (!ms) {
        return Usage("boot-return: '" + args[0] + "' is neither milliseconds nor 'never'");
    }
    if (k) {
        k->SetBootReturn(*ms);
    }
    return Done(*ms == kNever ? "boot mode keeps the keyboard away until plug or reset"
                              : "boot mode lasts " + std::to_string(ms->count()) + " ms");
}

ControlReply ClearCmd(Keyboard* k, Args) {
    if (k) {
        k->ClearMisbehaviour();
    }
    return Done("the keyboard behaves again");
}

ControlReply ResetCmd(Keyboard* k, Args) {
    if (k) {
        k->Reset();
    }
    return Done("factory content restored");
}

std::string HexDump(const std::vector<uint8_t>& bytes, size_t offset) {
    std::string text;
    for (size_t i = 0; i < bytes.size(); i += kDumpBytesPerLine) {
        char address[16];
        std::snprintf(address, sizeof address, "%05zu:", offset + i);
        text += address;
        for (size_t j = i; j < std::min(bytes.size(), i + kDumpBytesPerLine); ++j) {
            char byte[4];
            std::snprintf(byte, sizeof byte, " %02x", bytes[j]);
            text += byte;
        }
        text += '\n';
    }
    return text;
}

ControlReply ReadCmd(Keyboard* k, Args args) {
    const auto area = ParseArea(args[0]);
    if (!area) {
        return Usage("read: unknown area '" + args[0] +
                     "' (state, default-layout, layouts, lighting, key-light, macros)");
    }
    const size_t storage = KeyboardMemory{}.Bytes(*area).size();
    const auto offset = args.size() > 1 ? ParseNumber(args[1], storage - 1) : 0UL;
    if (!offset) {
        return Usage("read: offset '" + args[1] + "' is not within 0.." +
                     std::to_string(storage - 1));
    }
    const auto length =
        args.size() > 2 ? ParseNumber(args[2], storage - *offset) : std::optional<unsigned long>();
    if (args.size() > 2 && !length) {
        return Usage("read: length '" + args[2] + "' runs past the area's " +
                     std::to_string(storage) + " bytes");
    }
    if (!k) {
        return Done();
    }
    const size_t reachable = k->Memory().ReachableSize(*area);
    const size_t count = length ? *length : (*offset < reachable ? reachable - *offset : 0);
    return Done(HexDump(k->Read(*area, *offset, count), *offset));
}

ControlReply StopCmd(Keyboard*, Args) {
    return {kExitOk, "the emulated keyboard stops", true};
}

struct CommandEntry {
    std::string_view name;
    size_t minArgs;
    size_t maxArgs;
    std::string_view arguments;
    std::string_view help;
    ControlReply (*run)(Keyboard*, Args);
};

constexpr std::array<CommandEntry, 16> kCommands = {{
    {"status", 0, 0, "", "show presence, profile, bank, timing and pending misbehaviour", Status},
    {"unplug", 0, 0, "", "the keyboard leaves (keyboard count 0)", UnplugCmd},
    {"plug", 0, 0, "", "the keyboard comes back (also out of boot mode)", PlugCmd},
    {"replug", 0, 1, "[MS]", "leave now, come back after MS (default 1000)", ReplugCmd},
    {"event", 1, 1, "CODE", "send an event code on the consumer collection, e.g. 0x02ff", EventCmd},
    {"fail", 1, 2, "STATUS [N|always]", "refuse the next N requests (default 1) with 0xff or 0xfe",
     FailCmd},
    {"silent", 0, 1, "[N|always]", "leave the next N requests (default 1) unanswered", SilentCmd},
    {"wrong", 0, 1, "[N|always]", "answer the next N requests with another command byte", WrongCmd},
    {"delay", 1, 1, "MS", "answer every request MS later", DelayCmd},
    {"latency", 1, 1, "MS", "USB latency per report, each way", LatencyCmd},
    {"boot-return", 1, 1, "MS|never", "how long boot mode (command 0xee) keeps the keyboard away",
     BootReturnCmd},
    {"clear", 0, 0, "", "end every misbehaviour (fail, silent, wrong, delay, latency)", ClearCmd},
    {"reset", 0, 0, "", "factory content, no misbehaviour, bank 0, back if away", ResetCmd},
    {"read", 1, 3, "AREA [OFFSET [LENGTH]]",
     "show memory: state, default-layout, layouts, lighting, key-light, macros", ReadCmd},
    {"stop", 0, 0, "", "end the emulator; attached programs see the keyboard leave", StopCmd},
    {"help", 0, 0, "", "this list", nullptr},
}};

const CommandEntry* FindEntry(const std::vector<std::string>& words) {
    if (words.empty()) {
        return nullptr;
    }
    const auto* it = std::ranges::find(kCommands, words[0], &CommandEntry::name);
    return it == kCommands.end() ? nullptr : it;
}

std::optional<std::string> CheckShape(const CommandEntry* entry,
                                      const std::vector<std::string>& words) {
    if (words.empty()) {
        return "no command given (try --help)";
    }
    if (entry == nullptr) {
        return "unknown command '" + words[0] + "' (try --help)";
    }
    const size_t n = words.size() - 1;
    if (n < entry->minArgs || n > entry->maxArgs) {
        std::string usage = "usage: qx480-sim " + std::string(entry->name);
        if (!entry->arguments.empty()) {
            usage += " " + std::string(entry->arguments);
        }
        return usage;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> CheckControlWords(const std::vector<std::string>& words) {
    const CommandEntry* entry = FindEntry(words);
    if (auto problem = CheckShape(entry, words)) {
        return problem;
    }
    if (entry->run == nullptr) {
        return std::nullopt;
    }
    ControlReply dry = entry->run(nullptr, Args(words).subspan(1));
    return dry.exitCode == kExitUsage ? std::optional(dry.text) : std::nullopt;
}

ControlReply RunControl(Keyboard& keyboard, const std::vector<std::string>& words) {
    const CommandEntry* entry = FindEntry(words);
    if (auto problem = CheckShape(entry, words)) {
        return Usage(*problem);
    }
    if (entry->run == nullptr) {
        return Done(ControlCommandsHelp());
    }
    return entry->run(&keyboard, Args(words).subspan(1));
}

std::string ControlCommandsHelp() {
    std::string text;
    for (const CommandEntry& c : kCommands) {
        std::string left = "  " + std::string(c.name);
        if (!c.arguments.empty()) {
            left += " " + std::string(c.arguments);
        }
        left.resize(std::max<size_t>(left.size() + 2, 32), ' ');
        text += left + std::string(c.help) + "\n";
    }
    return text;
}

std::string FormatStatus(const KeyboardStatus& s) {
    std::string text;
    auto line = [&text](std::string_view label, const std::string& value) {
        text += std::string(label) + ": " + value + "\n";
    };
    std::string presence = s.present ? "present" : "away (unplugged)";
    if (s.inBootMode) {
        presence = s.bootReturn.count() < 0
                       ? "away (boot mode, until plug or reset)"
                       : "away (boot mode, back " + std::to_string(s.bootReturn.count()) +
                             " ms after entering it)";
    }
    line("keyboard", presence);
    line("state file", s.stateFile.empty() ? "none (memory only)" : s.stateFile.string());
    line("active profile", std::to_string(s.activeProfile));
    line("G-key bank", std::to_string(s.gKeyBank));
    line("write transaction", s.inWriteTransaction ? "open" : "closed");
    line("latency", std::to_string(s.latency.count()) + " ms per report each way");
    line("answer delay", std::to_string(s.answerDelay.count()) + " ms");
    line("boot mode lasts", s.bootReturn.count() < 0
                                ? "until plug or reset"
                                : std::to_string(s.bootReturn.count()) + " ms");
    auto pending = [](int count) { return count == 0 ? std::string("off") : CountText(count); };
    line("silent", pending(s.silentCount));
    char status[8];
    std::snprintf(status, sizeof status, "0x%02x", s.failStatus);
    line("fail", s.failCount == 0 ? "off" : std::string(status) + " for " + CountText(s.failCount));
    line("wrong command", pending(s.wrongCommandCount));
    line("programs attached", std::to_string(s.listeners));
    return text;
}

}  // namespace qx::sim
