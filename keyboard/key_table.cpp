// The rows of the key table, one line per defined key in table-index order. Empty rows are
// filled in below. Picker keys carry their HID Keyboard/Keypad usage as device code; the mouse
// rows 0xF1..0xF5; the system keys 0x81..0x83; the multimedia and function pseudo-keys the
// keyboard's consumer indexes 0xC0..0xD5.
#include "keyboard/key_table.h"

#include <algorithm>

namespace qx::keyboard {
namespace {

// A key outside the picker: picker number 0x8000 + n.
constexpr uint16_t Outside(uint16_t n) {
    return kOutsidePicker + n;
}

// clang-format off
constexpr std::array<KeyRow, kDefinedKeyRows> kDefinedRows{{
//   code   VK    picker       English name     2nd VK device language key
    {0x001, 0x1B, 37,          "Esc",           0x1B, 0x29, "IDS_KEYBOARD_ESC"},
    {0x002, 0x31, 26,          "1",             0x31, 0x1E, "IDS_KEYBOARD_1"},
    {0x003, 0x32, 27,          "2",             0x32, 0x1F, "IDS_KEYBOARD_2"},
    {0x004, 0x33, 28,          "3",             0x33, 0x20, "IDS_KEYBOARD_3"},
    {0x005, 0x34, 29,          "4",             0x34, 0x21, "IDS_KEYBOARD_4"},
    {0x006, 0x35, 30,          "5",             0x35, 0x22, "IDS_KEYBOARD_5"},
    {0x007, 0x36, 31,          "6",             0x36, 0x23, "IDS_KEYBOARD_6"},
    {0x008, 0x37, 32,          "7",             0x37, 0x24, "IDS_KEYBOARD_7"},
    {0x009, 0x38, 33,          "8",             0x38, 0x25, "IDS_KEYBOARD_8"},
    {0x00A, 0x39, 34,          "9",             0x39, 0x26, "IDS_KEYBOARD_9"},
    {0x00B, 0x30, 35,          "0",             0x30, 0x27, "IDS_KEYBOARD_0"},
    {0x00C, 0xBD, 41,          "-",             0xBD, 0x2D, "IDS_KEYBOARD_MINUS"},
    {0x00D, 0xBB, 42,          "=",             0xBB, 0x2E, "IDS_KEYBOARD_EQU"},
    {0x00E, 0x08, 38,          "Backspace",     0x08, 0x2A, "IDS_KEYBOARD_BS"},
    {0x00F, 0x09, 39,          "Tab",           0x09, 0x2B, "IDS_KEYBOARD_TAB"},
    {0x010, 0x51, 16,          "Q",             0x51, 0x14, "IDS_KEYBOARD_Q"},
    {0x011, 0x57, 22,          "W",             0x57, 0x1A, "IDS_KEYBOARD_W"},
    {0x012, 0x45, 4,           "E",             0x45, 0x08, "IDS_KEYBOARD_E"},
    {0x013, 0x52, 17,          "R",             0x52, 0x15, "IDS_KEYBOARD_R"},
    {0x014, 0x54, 19,          "T",             0x54, 0x17, "IDS_KEYBOARD_T"},
    {0x015, 0x59, 24,          "Y",             0x59, 0x1C, "IDS_KEYBOARD_Y"},
    {0x016, 0x55, 20,          "U",             0x55, 0x18, "IDS_KEYBOARD_U"},
    {0x017, 0x49, 8,           "I",             0x49, 0x0C, "IDS_KEYBOARD_I"},
    {0x018, 0x4F, 14,          "O",             0x4F, 0x12, "IDS_KEYBOARD_O"},
    {0x019, 0x50, 15,          "P",             0x50, 0x13, "IDS_KEYBOARD_P"},
    {0x01A, 0xDB, 43,          "[",             0xDB, 0x2F, "IDS_KEYBOARD_SB1"},
    {0x01B, 0xDD, 44,          "]",             0xDD, 0x30, "IDS_KEYBOARD_SB2"},
    {0x01C, 0x0D, 36,          "Enter",         0x0D, 0x28, "IDS_KEYBOARD_ENTER"},
    {0x01D, 0xA2, 98,          "Left Ctrl",     0xA2, 0xE0, "IDS_KEYBOARD_LCTRL"},
    {0x01E, 0x41, 0,           "A",             0x41, 0x04, "IDS_KEYBOARD_A"},
    {0x01F, 0x53, 18,          "S",             0x53, 0x16, "IDS_KEYBOARD_S"},
    {0x020, 0x44, 3,           "D",             0x44, 0x07, "IDS_KEYBOARD_D"},
    {0x021, 0x46, 5,           "F",             0x46, 0x09, "IDS_KEYBOARD_F"},
    {0x022, 0x47, 6,           "G",             0x47, 0x0A, "IDS_KEYBOARD_G"},
    {0x023, 0x48, 7,           "H",             0x48, 0x0B, "IDS_KEYBOARD_H"},
    {0x024, 0x4A, 9,           "J",             0x4A, 0x0D, "IDS_KEYBOARD_J"},
    {0x025, 0x4B, 10,          "K",             0x4B, 0x0E, "IDS_KEYBOARD_K"},
    {0x026, 0x4C, 11,          "L",             0x4C, 0x0F, "IDS_KEYBOARD_L"},
    {0x027, 0xBA, 46,          ";",             0xBA, 0x33, "IDS_KEYBOARD_SEM"},
    {0x028, 0xDE, 47,          "'",             0xDE, 0x34, "IDS_KEYBOARD_QUOT"},
    {0x029, 0xC0, 48,          "`",             0xC0, 0x35, "IDS_KEYBOARD_AID1"},
    {0x02A, 0xA0, 99,          "Left Shift",    0xA0, 0xE1, "IDS_KEYBOARD_LSHIFT"},
    {0x02B, 0xDC, 45,          "\\",            0xDC, 0x31, "IDS_KEYBOARD_AV"},
    {0x02C, 0x5A, 25,          "Z",             0x5A, 0x1D, "IDS_KEYBOARD_Z"},
    {0x02D, 0x58, 23,          "X",             0x58, 0x1B, "IDS_KEYBOARD_X"},
    {0x02E, 0x43, 2,           "C",             0x43, 0x06, "IDS_KEYBOARD_C"},
    {0x02F, 0x56, 21,          "V",             0x56, 0x19, "IDS_KEYBOARD_V"},
    {0x030, 0x42, 1,           "B",             0x42, 0x05, "IDS_KEYBOARD_B"},
    {0x031, 0x4E, 13,          "N",             0x4E, 0x11, "IDS_KEYBOARD_N"},
    {0x032, 0x4D, 12,          "M",             0x4D, 0x10, "IDS_KEYBOARD_M"},
    {0x033, 0xBC, 49,          ",",             0xBC, 0x36, "IDS_KEYBOARD_COMMA"},
    {0x034, 0xBE, 50,          ".",             0xBE, 0x37, "IDS_KEYBOARD_PER"},
    {0x035, 0xBF, 51,          "/",             0xBF, 0x38, "IDS_KEYBOARD_VIR"},
    {0x036, 0xA1, 103,         "Right Shift",   0xA1, 0xE5, "IDS_KEYBOARD_RSHIFT"},
    {0x037, 0x6A, 81,          "Num *",         0x6A, 0x55, "IDS_KEYBOARD_S_AST"},
    {0x038, 0xA4, 100,         "Left Alt",      0xA4, 0xE2, "IDS_KEYBOARD_LALT"},
    {0x039, 0x20, 40,          "Space",         0x20, 0x2C, "IDS_KEYBOARD_SPACE"},
    {0x03A, 0x14, 78,          "Caps Lock",     0x14, 0x39, "IDS_KEYBOARD_CAPS"},
    {0x03B, 0x70, 52,          "F1",            0x70, 0x3A, "IDS_KEYBOARD_F1"},
    {0x03C, 0x71, 53,          "F2",            0x71, 0x3B, "IDS_KEYBOARD_F2"},
    {0x03D, 0x72, 54,          "F3",            0x72, 0x3C, "IDS_KEYBOARD_F3"},
    {0x03E, 0x73, 55,          "F4",            0x73, 0x3D, "IDS_KEYBOARD_F4"},
    {0x03F, 0x74, 56,          "F5",            0x74, 0x3E, "IDS_KEYBOARD_F5"},
    {0x040, 0x75, 57,          "F6",            0x75, 0x3F, "IDS_KEYBOARD_F6"},
    {0x041, 0x76, 58,          "F7",            0x76, 0x40, "IDS_KEYBOARD_F7"},
    {0x042, 0x77, 59,          "F8",            0x77, 0x41, "IDS_KEYBOARD_F8"},
    {0x043, 0x78, 60,          "F9",            0x78, 0x42, "IDS_KEYBOARD_F9"},
    {0x044, 0x79, 61,          "F10",           0x79, 0x43, "IDS_KEYBOARD_F10"},
    {0x045, 0x13, 65,          "Pause",         0x13, 0x48, "IDS_KEYBOARD_PAUSE"},
    {0x046, 0x91, 77,          "Scroll Lock",   0x91, 0x47, "IDS_KEYBOARD_SCROLL"},
    {0x047, 0x67, 91,          "Num 7",         0x24, 0x5F, "IDS_KEYBOARD_S_7"},
    {0x048, 0x68, 92,          "Num 8",         0x26, 0x60, "IDS_KEYBOARD_S_8"},
    {0x049, 0x69, 93,          "Num 9",         0x21, 0x61, "IDS_KEYBOARD_S_9"},
    {0x04A, 0x6D, 82,          "Num -",         0x6D, 0x56, "IDS_KEYBOARD_S_MINUS"},
    {0x04B, 0x64, 88,          "Num 4",         0x25, 0x5C, "IDS_KEYBOARD_S_4"},
    {0x04C, 0x65, 89,          "Num 5",         0x0C, 0x5D, "IDS_KEYBOARD_S_5"},
    {0x04D, 0x66, 90,          "Num 6",         0x27, 0x5E, "IDS_KEYBOARD_S_6"},
    {0x04E, 0x6B, 83,          "Num +",         0x6B, 0x57, "IDS_KEYBOARD_S_PLUS"},
    {0x04F, 0x61, 85,          "Num 1",         0x23, 0x59, "IDS_KEYBOARD_S_1"},
    {0x050, 0x62, 86,          "Num 2",         0x28, 0x5A, "IDS_KEYBOARD_S_2"},
    {0x051, 0x63, 87,          "Num 3",         0x22, 0x5B, "IDS_KEYBOARD_S_3"},
    {0x052, 0x60, 94,          "Num 0",         0x2D, 0x62, "IDS_KEYBOARD_S_0"},
    {0x053, 0x6E, 95,          "Num .",         0x2E, 0x63, "IDS_KEYBOARD_S_DEL"},
    {0x054, 0x2C, Outside(18), "Sys Req",       0x2C, 0x00, "IDS_KEYBOARD_SYSREQ"},
    {0x056, 0xE2, 96,          "K45",           0xE2, 0x64, "IDS_KEYBOARD_K45"},
    {0x057, 0x7A, 62,          "F11",           0x7A, 0x44, "IDS_KEYBOARD_F11"},
    {0x058, 0x7B, 63,          "F12",           0x7B, 0x45, "IDS_KEYBOARD_F12"},
    {0x064, 0x7C, Outside(45), "F13",           0x7C, 0x00, ""},
    {0x070, 0xFF, Outside(24), "ROMA (133)",    0xFF, 0x88, "IDS_KEYBOARD_ROMA"},
    {0x071, 0xE9, Outside(25), "KL",            0xE9, 0x91, "IDS_KEYBOARD_KL"},
    {0x072, 0xFF, Outside(26), "KR",            0xFF, 0x90, "IDS_KEYBOARD_KR"},
    {0x073, 0xC1, Outside(20), "K56",           0xC1, 0x87, "IDS_KEYBOARD_K56"},
    {0x079, 0xFF, Outside(23), "CHG (132)",     0xFF, 0x8A, "IDS_KEYBOARD_CHG"},
    {0x07B, 0xEB, Outside(22), "N-CHG (131)",   0xEB, 0x8B, "IDS_KEYBOARD_N_CHG"},
    {0x07D, 0xFF, Outside(19), "K14",           0xFF, 0x89, "IDS_KEYBOARD_K14"},
    {0x07E, 0xC2, Outside(21), "K107",          0xC2, 0x85, "IDS_KEYBOARD_K107"},
    {0x110, 0xB1, Outside(33), "Prev Track",    0xB1, 0xD0, "MEDIA_PREV_TRACK_4"},
    {0x119, 0xB0, Outside(34), "Next Track",    0xB0, 0xD1, "MEDIA_Next_TRACK_5"},
    {0x11C, 0x0D, 84,          "Num Enter",     0x0D, 0x58, "IDS_KEYBOARD_S_ENTER"},
    {0x11D, 0xA3, 102,         "Right Ctrl",    0xA3, 0xE4, "IDS_KEYBOARD_RCTRL"},
    {0x120, 0xAD, Outside(37), "Mute",          0xAD, 0xCD, "MEDIA_MUTE_8"},
    {0x121, 0xB7, Outside(28), "Calc",          0xB7, 0xC4, "MEDIA_CALC_17"},
    {0x122, 0xB3, Outside(31), "Play/Pause",    0xB3, 0xCE, "MEDIA_PALY_PAUSE_2"},
    {0x124, 0xB2, Outside(32), "Stop Play",     0xB2, 0xCF, "MEDIA_STOP_PALY_3"},
    {0x12E, 0xAE, Outside(36), "V-",            0xAE, 0xC1, "MEDIA_V_LOW_6"},
    {0x130, 0xAF, Outside(35), "V+",            0xAF, 0xC0, "MEDIA_V_ADD_7"},
    {0x132, 0xAC, Outside(38), "WWW Home",      0xAC, 0xC7, "MEDIA_WWW_HOME_9"},
    {0x135, 0x6F, 80,          "Num /",         0x6F, 0x54, "IDS_KEYBOARD_S_VIR"},
    {0x136, 0xA1, 103,         "Right Shift",   0xA1, 0xE5, "IDS_KEYBOARD_RSHIFT"},
    {0x137, 0x2C, 64,          "Print Screen",  0x2C, 0x46, "IDS_KEYBOARD_PRINT"},
    {0x138, 0xA5, 104,         "Right Alt",     0xA5, 0xE6, "IDS_KEYBOARD_RALT"},
    {0x145, 0x90, 79,          "Num Lock",      0x90, 0x53, "IDS_KEYBOARD_NUM"},
    {0x146, 0x03, 66,          "Break",         0x03, 0x48, "IDS_KEYBOARD_BREAK"},
    {0x147, 0x24, 69,          "Home",          0x24, 0x4A, "IDS_KEYBOARD_HOME"},
    {0x148, 0x26, 73,          "↑",             0x26, 0x52, "IDS_KEYBOARD_UP"},
    {0x149, 0x21, 71,          "Page Up",       0x21, 0x4B, "IDS_KEYBOARD_PAGE_UP"},
    {0x14B, 0x25, 75,          "←",             0x25, 0x50, "IDS_KEYBOARD_LEFT"},
    {0x14D, 0x27, 76,          "→",             0x27, 0x4F, "IDS_KEYBOARD_RIGHT"},
    {0x14F, 0x23, 70,          "End",           0x23, 0x4D, "IDS_KEYBOARD_END"},
    {0x150, 0x28, 74,          "↓",             0x28, 0x51, "IDS_KEYBOARD_DOWN"},
    {0x151, 0x22, 72,          "Page Down",     0x22, 0x4E, "IDS_KEYBOARD_PAGE_DOWN"},
    {0x152, 0x2D, 67,          "Insert",        0x2D, 0x49, "IDS_KEYBOARD_INSERT"},
    {0x153, 0x2E, 68,          "Delete",        0x2E, 0x4C, "IDS_KEYBOARD_DELETE"},
    {0x15B, 0x5B, 101,         "Left Win",      0x5B, 0xE3, "IDS_KEYBOARD_LWIN"},
    {0x15C, 0x5C, 105,         "Right Win",     0x5C, 0xE7, "IDS_KEYBOARD_RWIN"},
    {0x15D, 0x5D, 97,          "App",           0x5D, 0x65, "IDS_KEYBOARD_APP"},
    {0x15E, 0xFF, Outside(1),  "Power",         0xFF, 0x81, "IDS_KEYBOARD_POWER"},
    {0x15F, 0x5F, Outside(2),  "Sleep",         0x5F, 0x82, "IDS_KEYBOARD_SLEEP"},
    {0x161, 0xD1, 109,         "Roll Up",       0xD1, 0xF4, "IDS_KEYBOARD_ROLL_UP"},
    {0x162, 0xD2, 110,         "Roll Down",     0xD2, 0xF5, "IDS_KEYBOARD_ROLL_DOWN"},
    {0x163, 0xFF, Outside(3),  "Wake",          0xFF, 0x83, "IDS_KEYBOARD_WAKE"},
    {0x165, 0xAA, Outside(44), "WWW Search",    0xAA, 0xC6, "MEDIA_WWW_SEARCH_15"},
    {0x166, 0xAB, Outside(43), "WWW Favorite",  0xAB, 0xCC, "MEDIA_WWW_FAVORITE_14"},
    {0x167, 0xA8, Outside(39), "WWW Refresh",   0xA8, 0xCB, "MEDIA_WWW_REFRESH_10"},
    {0x168, 0xA9, Outside(40), "WWW Stop",      0xA9, 0xCA, "MEDIA_WWW_STOP_11"},
    {0x169, 0xA7, Outside(42), "WWW Forward",   0xA7, 0xC9, "MEDIA_WWW_FORWARD_13"},
    {0x16A, 0xA6, Outside(41), "WWW Back",      0xA6, 0xC8, "MEDIA_WWW_BACK_12"},
    {0x16B, 0xB6, Outside(27), "My PC",         0xB6, 0xC5, "MEDIA_MY_PC_16"},
    {0x16C, 0xB4, Outside(29), "Mail",          0xB4, 0xC3, "MEDIA_MAIL_18"},
    {0x16D, 0xB5, Outside(30), "Media Player",  0xB5, 0xC2, "MEDIA_PALYER_1"},
    {0x16E, 0x88, Outside(5),  "Pan Left",      0x88, 0x00, "IDS_KEYBOARD_MOU_PANLEFT"},
    {0x16F, 0x89, Outside(6),  "Pan Right",     0x89, 0x00, "IDS_KEYBOARD_MOU_PANRIGHT"},
    {0x170, 0x8A, Outside(4),  "Double Click",  0x8A, 0x00, "IDS_KEYBOARD_MOU_DBCLICK"},
    {0x171, 0x01, 106,         "Left Button",   0x01, 0xF1, "IDS_KEYBOARD_MOU_LEFT"},
    {0x172, 0x02, 107,         "Right Button",  0x02, 0xF2, "IDS_KEYBOARD_MOU_RIGHT"},
    {0x173, 0x04, 108,         "Middle Button", 0x04, 0xF3, "IDS_KEYBOARD_MOU_MIDDLE"},
    {0x174, 0x8B, Outside(7),  "Zoom-",         0x8B, 0xD2, "IDS_KEYBOARD_FUNC_ZOOMOUT"},
    {0x175, 0x8C, Outside(8),  "Zoom+",         0x8C, 0xD3, "IDS_KEYBOARD_FUNC_ZOOMIN"},
    {0x176, 0x97, Outside(9),  "Copy",          0x97, 0x00, "IDS_KEYBOARD_FUNC_COPY"},
    {0x177, 0x98, Outside(10), "Cut",           0x98, 0x00, "IDS_KEYBOARD_FUNC_CUT"},
    {0x178, 0x99, Outside(11), "Paste",         0x99, 0x00, "IDS_KEYBOARD_FUNC_PASTE"},
    {0x179, 0x9A, Outside(12), "Minimize",      0x9A, 0x00, "IDS_KEYBOARD_FUNC_MINI"},
    {0x17A, 0x9B, Outside(13), "Maximize",      0x9B, 0x00, "IDS_KEYBOARD_FUNC_MAXI"},
    {0x17B, 0x9C, Outside(14), "Word",          0x9C, 0xD4, "IDS_KEYBOARD_FUNC_WORD"},
    {0x17C, 0x9D, Outside(15), "Excel",         0x9D, 0xD5, "IDS_KEYBOARD_FUNC_EXCEL"},
    {0x17D, 0x9E, Outside(16), "PowerPoint",    0x9E, 0x00, "IDS_KEYBOARD_FUNC_POWERPOINT"},
    {0x17E, 0x9F, Outside(17), "Calendar",      0x9F, 0x00, "IDS_KEYBOARD_FUNC_CALENDAR"},
}};
// clang-format on

constexpr bool RowsAscendByIndex() {
    for (std::size_t i = 1; i < kDefinedRows.size(); ++i) {
        if (KeyIndexOfCode(kDefinedRows[i - 1].keyCode) >=
            KeyIndexOfCode(kDefinedRows[i].keyCode)) {
            return false;
        }
    }
    return std::all_of(kDefinedRows.begin(), kDefinedRows.end(), [](const KeyRow& row) {
        return KeyIndexOfCode(row.keyCode) < kKeyTableRows && row.IsDefined();
    });
}
static_assert(RowsAscendByIndex(),
              "key rows must be unique, in table-index order, inside the table");

constexpr std::array<KeyRow, kKeyTableRows> BuildTable() {
    std::array<KeyRow, kKeyTableRows> table{};
    for (const KeyRow& row : kDefinedRows) {
        table[static_cast<std::size_t>(KeyIndexOfCode(row.keyCode))] = row;
    }
    return table;
}

constexpr std::array<KeyRow, kKeyTableRows> kTable = BuildTable();
constexpr KeyRow kEmptyRow{};

}  // namespace

std::span<const KeyRow, kKeyTableRows> KeyTable() {
    return kTable;
}

const KeyRow& KeyRowOfIndex(int index) {
    if (index < 0 || index >= kKeyTableRows) {
        return kEmptyRow;
    }
    return kTable[static_cast<std::size_t>(index)];
}

const KeyRow& KeyRowOfCode(KeyCode code) {
    return KeyRowOfIndex(KeyIndexOfCode(code));
}

}  // namespace qx::keyboard
