// Subcommands of the keyboard's lighting: "lighting" (show or change the current profile's
// lighting) and "rate" (the USB report rate, kept in the same lighting record). Each change is
// written at once, in a write transaction of its own, exactly as the driver's lighting panel
// writes it.
//
// The lighting panel writes the per-key layer only while its switch is on, because the layer
// list is only shown then. The command line has no panel switch: "lighting layer N" is an
// explicit request, so it always writes the layer byte.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <ostream>
#include <string>

#include "device/connection/current_profile.h"
#include "device/link/result_codes.h"
#include "keyboard/key_buttons.h"
#include "keyboard/key_table.h"
#include "lang/language.h"
#include "lighting/key_light_page.h"
#include "lighting/lighting_model.h"
#include "lighting/mode_capabilities.h"
#include "tools/qx480ctl/key_arguments.h"
#include "tools/qx480ctl/keyboard_link.h"
#include "tools/qx480ctl/subcommand.h"

namespace qx::ctl {
namespace {

using lighting::LightingModel;

enum class Action { kShow, kMode, kBrightness, kSpeed, kDirection, kLayer, kKey, kAll, kReset };

struct ActionSyntax {
    std::string_view name;
    Action action;
    std::size_t arguments;  // after the action's name
    std::string_view usage;
};

constexpr ActionSyntax kActions[] = {
    {"mode", Action::kMode, 1, "lighting mode TYPE"},
    {"brightness", Action::kBrightness, 1, "lighting brightness 0..4"},
    {"speed", Action::kSpeed, 1, "lighting speed 0..4"},
    {"direction", Action::kDirection, 1, "lighting direction first|second"},
    {"layer", Action::kLayer, 1, "lighting layer 0..9"},
    {"key", Action::kKey, 2, "lighting key NAME on|off"},
    {"all", Action::kAll, 1, "lighting all on|off"},
    {"reset", Action::kReset, 0, "lighting reset"},
};

// A key of the keyboard view by its name: the lighting index and how to call it.
struct KeyTarget {
    std::string name;
    int led = 0;
};

struct Request {
    Action action = Action::kShow;
    int value = 0;
    bool on = false;
    KeyTarget key;
};

// ---- Parsing (before the keyboard is opened: a bad argument never reaches it) -------------

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::ranges::transform(lower, lower.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool OnOrOff(const std::string& text) {
    const std::string word = Lower(text);
    if (word != "on" && word != "off") {
        throw UsageError{"expected on or off, not '" + text + "'"};
    }
    return word == "on";
}

int ModeTypeOf(const std::string& text) {
    const auto type = DecimalOf(text);
    if (!type || *type > lighting::kPerKeyModeType ||
        !lighting::IsDefinedModeType(static_cast<int>(*type))) {
        throw UsageError{"the mode is a lighting mode type (1..28 or 254), not '" + text + "'"};
    }
    return static_cast<int>(*type);
}

uint8_t DirectionOf(const std::string& text) {
    const std::string word = Lower(text);
    if (word == "first") {
        return lighting::kDirectionFirst;
    }
    if (word == "second") {
        return lighting::kDirectionSecond;
    }
    throw UsageError{"the direction is first or second, not '" + text + "'"};
}

// The key buttons by their short name ("ENTER"), English name ("Enter") or key code ("0x1C"),
// and Fn.
KeyTarget KeyOf(const std::string& text) {
    const ViewKey key = ViewKeyOf(text);
    return {key.name, key.lightingIndex};
}

const ActionSyntax& ActionOf(const std::string& name) {
    const auto* found = std::ranges::find_if(
        kActions, [&](const ActionSyntax& syntax) { return syntax.name == name; });
    if (found == std::end(kActions)) {
        throw UsageError{"unknown lighting setting '" + name + "'"};
    }
    return *found;
}

Request ParseRequest(std::span<const std::string> args) {
    Request request;
    if (args.empty()) {
        return request;
    }
    const ActionSyntax& syntax = ActionOf(args[0]);
    if (args.size() != syntax.arguments + 1) {
        throw UsageError{"usage: qx480ctl " + std::string(syntax.usage)};
    }
    request.action = syntax.action;
    switch (syntax.action) {
        case Action::kMode:
            request.value = ModeTypeOf(args[1]);
            break;
        case Action::kBrightness:
            request.value = NumberIn(args[1], 0, lighting::kMaxSliderPosition, "the brightness");
            break;
        case Action::kSpeed:
            request.value = NumberIn(args[1], 0, lighting::kMaxSliderPosition, "the speed");
            break;
        case Action::kDirection:
            request.value = DirectionOf(args[1]);
            break;
        case Action::kLayer:
            request.value = NumberIn(args[1], 0, lighting::kLayerCount - 1, "the layer");
            break;
        case Action::kKey:
            request.key = KeyOf(args[1]);
            request.on = OnOrOff(args[2]);
            break;
        case Action::kAll:
            request.on = OnOrOff(args[1]);
            break;
        case Action::kShow:
        case Action::kReset:
            break;
    }
    return request;
}

// ---- Showing ----------------------------------------------------------------------------

std::string DirectionName(int modeType, uint8_t direction) {
    const bool first = direction != lighting::kDirectionSecond;
    const auto capabilities = lighting::CapabilitiesOfMode(modeType);
    const auto pair = capabilities ? capabilities->direction : lighting::DirectionPair::kNone;
    std::string name = first ? "first" : "second";
    switch (pair) {
        case lighting::DirectionPair::kLeftRight:
            return name + (first ? " (left)" : " (right)");
        case lighting::DirectionPair::kSpreadConverge:
            return name + (first ? " (spread)" : " (converge)");
        case lighting::DirectionPair::kUpDown:
            return name + (first ? " (up)" : " (down)");
        case lighting::DirectionPair::kNone:
            break;
    }
    return name;
}

void ShowLighting(std::ostream& out, const LightingModel& model) {
    const lighting::WorkingValues& values = model.Values();
    out << "profile: " << model.LightingProfile() << '\n'
        << "mode: " << values.modeType << ' ' << lang::ModeText(values.modeType) << '\n'
        << "brightness: " << values.brightness << '\n'
        << "speed: " << values.speed << '\n'
        << "direction: " << DirectionName(values.modeType, values.direction) << '\n'
        << "layer: " << values.layer << '\n'
        << "report rate: " << values.reportRate << '\n'
        << "tool: " << (values.tool == lighting::kToolErase ? "erase" : "paint") << '\n';
}

// ---- Changing ---------------------------------------------------------------------------

int Refused(CommandContext& context, const std::string& why) {
    context.Err() << "qx480ctl: " << why << '\n';
    return kExitFailed;
}

int SelectMode(CommandContext& context, LightingModel& model, int type) {
    const int index = model.ModeIndexOfType(type);
    if (index == lighting::kNoMode) {
        return Refused(context,
                       "the keyboard does not offer lighting mode " + std::to_string(type));
    }
    model.SelectMode(index);
    context.Out() << "mode: " << type << ' ' << lang::ModeText(type) << '\n';
    return kExitOk;
}

int SetKey(CommandContext& context, LightingModel& model, const KeyTarget& key, bool on) {
    if (model.SelectedModeType() != lighting::kPerKeyModeType) {
        return Refused(context, "keys are lit one by one only in the per-key mode (lighting mode " +
                                    std::to_string(lighting::kPerKeyModeType) + ")");
    }
    if (!lighting::HasLedPosition(key.led)) {
        return Refused(context, "the key " + key.name + " has no light of its own");
    }
    model.SetKeyLight(key.led, on);
    context.Out() << "key " << key.name << ": " << (on ? "on" : "off") << " in layer "
                  << model.Values().layer << '\n';
    return kExitOk;
}

int SetAll(CommandContext& context, LightingModel& model, bool on) {
    if (!model.PerKeySupported()) {
        return Refused(context, "the keyboard has no per-key lighting");
    }
    model.SetLayerAll(on);
    context.Out() << "layer " << model.Values().layer << ": all keys " << (on ? "on" : "off")
                  << '\n';
    return kExitOk;
}

int WriteLayer(CommandContext& context, LightingModel& model, int layer) {
    const std::array<uint8_t, 1> byte{static_cast<uint8_t>(layer)};
    model.WriteLightingBytes(lighting::field::kLayer, byte);
    context.Out() << "layer: " << layer << '\n';
    return kExitOk;
}

int Change(CommandContext& context, LightingModel& model, const Request& request) {
    std::ostream& out = context.Out();
    switch (request.action) {
        case Action::kMode:
            return SelectMode(context, model, request.value);
        case Action::kBrightness:
            model.SetBrightness(request.value);
            out << "brightness: " << request.value << '\n';
            return kExitOk;
        case Action::kSpeed:
            model.SetSpeed(lighting::PositionOfSpeed(request.value));
            out << "speed: " << request.value << '\n';
            return kExitOk;
        case Action::kDirection:
            model.SetDirection(static_cast<uint8_t>(request.value));
            out << "direction: "
                << DirectionName(model.Values().modeType, static_cast<uint8_t>(request.value))
                << '\n';
            return kExitOk;
        case Action::kLayer:
            return WriteLayer(context, model, request.value);
        case Action::kKey:
            return SetKey(context, model, request.key, request.on);
        case Action::kAll:
            return SetAll(context, model, request.on);
        case Action::kReset:
            model.ResetLighting();
            out << "lighting: reset\n";
            return kExitOk;
        case Action::kShow:
            ShowLighting(out, model);
            return kExitOk;
    }
    return kExitFailed;
}

// ---- Running ----------------------------------------------------------------------------

// Opens the keyboard, reads the lighting of its current profile and runs `change` on it. A
// write the keyboard did not take is reported (the driver's panel stays silent about it).
template <typename Change>
int WithLighting(CommandContext& context, Change change) {
    KeyboardLink* keyboard = context.Keyboard();
    if (keyboard == nullptr) {
        return kExitNoKeyboard;
    }
    const int profile = device::GetCurrentProfile();
    if (profile < 0) {
        return Refused(context, "the current profile cannot be read");
    }
    lighting::NullLightingView view;
    LightingModel model(keyboard->Commands(), view);
    model.SetLightingProfile(profile);
    if (model.ReadLightingState() != lighting::kReadOk) {
        return Refused(context, "the keyboard's lighting cannot be read");
    }
    model.ClearWriteResult();
    const int result = change(model);
    if (result == kExitOk && model.WriteResult() != device::kOk) {
        return Refused(context, "the keyboard did not take the change (" +
                                    std::to_string(model.WriteResult()) + ")");
    }
    return result;
}

int Lighting(CommandContext& context) {
    const Request request = ParseRequest(context.Args());
    return WithLighting(context,
                        [&](LightingModel& model) { return Change(context, model, request); });
}

int Rate(CommandContext& context) {
    const bool setting = !context.Args().empty();
    const int rate =
        setting ? NumberIn(context.Arg(0), 0, lighting::kMaxReportRate, "the report rate") : 0;
    return WithLighting(context, [&](LightingModel& model) {
        if (setting) {
            model.SetReportRate(rate);
        }
        context.Out() << "report rate: " << model.Values().reportRate << '\n';
        return kExitOk;
    });
}

constexpr Subcommand kCommands[] = {
    {"lighting", "[SETTING VALUE]",
     "show the current profile's lighting, or change it: mode TYPE, brightness 0..4, "
     "speed 0..4, direction first|second, layer 0..9, key NAME on|off, all on|off, reset",
     "lighting key ENTER on", 0, 3, &Lighting},
    {"rate", "[N]", "show the USB report rate, or set it to N (0..3)", "rate 3", 0, 1, &Rate},
};

}  // namespace

std::span<const Subcommand> LightingCommands() {
    return kCommands;
}

}  // namespace qx::ctl
