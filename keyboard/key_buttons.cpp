#include "keyboard/key_buttons.h"

#include <algorithm>

namespace qx::keyboard {
namespace {

// clang-format off
constexpr std::array<KeyButton, kKeyButtonCount> kKeyButtons{{
//  control name        code   LED      position
    {1058, "A",         0x01E,  11},  // 0
    {1075, "B",         0x030,  52},  // 1
    {1073, "C",         0x02E,  36},  // 2
    {1060, "D",         0x020,  27},  // 3
    {1046, "E",         0x012,  26},  // 4
    {1061, "F",         0x021,  35},  // 5
    {1062, "G",         0x022,  43},  // 6
    {1063, "H",         0x023,  51},  // 7
    {1051, "I",         0x017,  66},  // 8
    {1064, "J",         0x024,  59},  // 9
    {1065, "K",         0x025,  67},  // 10
    {1066, "L",         0x026,  75},  // 11
    {1077, "M",         0x032,  68},  // 12
    {1076, "N",         0x031,  60},  // 13
    {1052, "O",         0x018,  74},  // 14
    {1053, "P",         0x019,  82},  // 15
    {1044, "Q",         0x010,  10},  // 16
    {1047, "R",         0x013,  34},  // 17
    {1059, "S",         0x01F,  19},  // 18
    {1048, "T",         0x014,  42},  // 19
    {1050, "U",         0x016,  58},  // 20
    {1074, "V",         0x02F,  44},  // 21
    {1045, "W",         0x011,  18},  // 22
    {1072, "X",         0x02D,  28},  // 23
    {1049, "Y",         0x015,  50},  // 24
    {1071, "Z",         0x02C,  20},  // 25
    {1030, "1",         0x002,   9},  // 26
    {1031, "2",         0x003,  17},  // 27
    {1032, "3",         0x004,  25},  // 28
    {1033, "4",         0x005,  33},  // 29
    {1034, "5",         0x006,  41},  // 30
    {1035, "6",         0x007,  49},  // 31
    {1036, "7",         0x008,  57},  // 32
    {1037, "8",         0x009,  65},  // 33
    {1038, "9",         0x00A,  73},  // 34
    {1039, "0",         0x00B,  81},  // 35
    {1070, "ENTER",     0x01C, 107},  // 36
    {1022, "ESC",       0x001,   0},  // 37
    {1043, "BS",        0x00E, 105},  // 38
    {1056, "TAB",       0x00F,   2},  // 39
    {1090, "SPACE",     0x039,  29},  // 40
    {1040, "MINUS",     0x00C,  89},  // 41
    {1041, "EQU",       0x00D,  97},  // 42
    {1054, "SB1",       0x01A,  90},  // 43
    {1055, "SB2",       0x01B,  98},  // 44
    {1042, "AV",        0x02B,  99},  // 45
    {1067, "SEM",       0x027,  83},  // 46
    {1068, "QUOT",      0x028,  91},  // 47
    {1029, "AID1",      0x029,   1},  // 48
    {1078, "COMMA",     0x033,  76},  // 49
    {1079, "PER",       0x034,  84},  // 50
    {1080, "VIR",       0x035,  92},  // 51
    {1010, "F1",        0x03B,   8},  // 52
    {1011, "F2",        0x03C,  16},  // 53
    {1012, "F3",        0x03D,  24},  // 54
    {1013, "F4",        0x03E,  32},  // 55
    {1014, "F5",        0x03F,  40},  // 56
    {1015, "F6",        0x040,  48},  // 57
    {1023, "F7",        0x041,  56},  // 58
    {1024, "F8",        0x042,  64},  // 59
    {1025, "F9",        0x043,  72},  // 60
    {1026, "F10",       0x044,  80},  // 61
    {1027, "F11",       0x057,  88},  // 62
    {1028, "F12",       0x058,  96},  // 63
    {1091, "PRINT",     0x137, 104},  // 64
    {1093, "PAUSE",     0x045, 120},  // 65
    {1094, "INSERT",    0x152, 113},  // 66
    {1097, "DELETE",    0x153, 114},  // 67
    {1095, "HOME",      0x147, 121},  // 68
    {1098, "END",       0x14F, 122},  // 69
    {1096, "PAGE_UP",   0x149, 129},  // 70
    {1099, "PAGE_DOWN", 0x151, 130},  // 71
    {1103, "UP",        0x148, 108},  // 72
    {1101, "DOWN",      0x150,  77},  // 73
    {1100, "LEFT",      0x14B,  69},  // 74
    {1102, "RIGHT",     0x14D,  85},  // 75
    {1092, "SCROLL",    0x046, 112},  // 76
    {1069, "CAPS",      0x03A,   3},  // 77
    {1088, "APP",       0x15D,  53},  // 78
    {1083, "LCTRL",     0x01D,   5},  // 79
    {1089, "RCTRL",     0x11D,  61},  // 80
    {1082, "LSHIFT",    0x02A,   4},  // 81
    {1081, "RSHIFT",    0x036, 100},  // 82
    {1085, "LALT",      0x038,  21},  // 83
    {1086, "RALT",      0x138,  37},  // 84
    {1084, "LWIN",      0x15B,  13},  // 85
    {1087, "RWIN",      0x15C, 255},  // 86
    {1115, "S_1",       0x04F, 109},  // 87
    {1116, "S_2",       0x050, 117},  // 88
    {1117, "S_3",       0x051, 125},  // 89
    {1112, "S_4",       0x04B, 116},  // 90
    {1113, "S_5",       0x04C, 124},  // 91
    {1114, "S_6",       0x04D, 132},  // 92
    {1108, "S_7",       0x047, 115},  // 93
    {1109, "S_8",       0x048, 123},  // 94
    {1110, "S_9",       0x049, 131},  // 95
    {1120, "S_0",       0x052,  93},  // 96
    {1104, "NUM",       0x145, 138},  // 97
    {1118, "S_ENTER",   0x11C, 133},  // 98
    {1119, "S_DEL",     0x053, 101},  // 99
    {1105, "S_VIR",     0x135, 137},  // 100
    {1106, "S_AST",     0x037, 139},  // 101
    {1107, "S_MINUS",   0x04A, 140},  // 102
    {1111, "S_PLUS",    0x04E, 141},  // 103
    {1211, "K45",       0x056,  12},  // 104
    {1200, "K56",       0x073, 255},  // 105
    {1199, "K107",      0x07E, 255},  // 106
}};
// clang-format on

}  // namespace

const std::array<KeyButton, kKeyButtonCount>& KeyButtons() {
    return kKeyButtons;
}

std::optional<KeyButton> KeyButtonOfId(int controlId) {
    const auto* it =
        std::find_if(kKeyButtons.begin(), kKeyButtons.end(),
                     [controlId](const KeyButton& b) { return b.controlId == controlId; });
    if (it == kKeyButtons.end()) {
        return std::nullopt;
    }
    return *it;
}

uint8_t LightingIndexOfButton(int controlId) {
    if (controlId == kFnButtonId) {
        return kFnLightingIndex;
    }
    const auto button = KeyButtonOfId(controlId);
    return button ? button->lightingIndex : 0;
}

std::optional<int> GKeyButtonPosition(int controlId) {
    const auto* it = std::find(kGKeyButtonIds.begin(), kGKeyButtonIds.end(), controlId);
    if (it == kGKeyButtonIds.end()) {
        return std::nullopt;
    }
    return static_cast<int>(it - kGKeyButtonIds.begin());
}

}  // namespace qx::keyboard
