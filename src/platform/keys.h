#pragma once

#include <string>
#include <string_view>

// The one key vocabulary of the program: virtual-key codes (the Windows
// codes, which the headless desktop uses too), the modifier flags of
// hotkeys, and the key names that hotkey texts are written with.
namespace hf::keys {

inline constexpr int kBackspace = 0x08;
inline constexpr int kTab = 0x09;
inline constexpr int kEnter = 0x0D;
inline constexpr int kShift = 0x10;  // either Shift key
inline constexpr int kCtrl = 0x11;   // either Ctrl key
inline constexpr int kAlt = 0x12;    // either Alt key
inline constexpr int kCapsLock = 0x14;
inline constexpr int kEscape = 0x1B;
inline constexpr int kSpace = 0x20;
inline constexpr int kPageUp = 0x21;
inline constexpr int kPageDown = 0x22;
inline constexpr int kEnd = 0x23;
inline constexpr int kHome = 0x24;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kInsert = 0x2D;
inline constexpr int kDelete = 0x2E;
inline constexpr int kLeftWin = 0x5B;
inline constexpr int kRightWin = 0x5C;
inline constexpr int kNumpadDivide = 0x6F;
inline constexpr int kF1 = 0x70;
inline constexpr int kNumLock = 0x90;
inline constexpr int kLeftShift = 0xA0;
inline constexpr int kRightShift = 0xA1;
inline constexpr int kLeftCtrl = 0xA2;
inline constexpr int kRightCtrl = 0xA3;
inline constexpr int kLeftAlt = 0xA4;
inline constexpr int kRightAlt = 0xA5;
inline constexpr int kBackQuote = 0xC0;  // the "`" key

// The modifiers of a hotkey, summed: Ctrl 1, Shift 2, Alt 4.
inline constexpr unsigned kCtrlFlag = 1;
inline constexpr unsigned kShiftFlag = 2;
inline constexpr unsigned kAltFlag = 4;

// The modifier keys by side, as the system reports the keys held down.
inline constexpr int kSidedModifierKeys[] = {kLeftShift, kRightShift, kLeftCtrl, kRightCtrl,
                                             kLeftAlt,   kRightAlt,   kLeftWin,  kRightWin};

// Shift, Ctrl, Alt and the Windows keys, either side or side-less.
constexpr bool isModifierKey(int virtualKey) {
  return (virtualKey >= kShift && virtualKey <= kAlt) ||
         (virtualKey >= kLeftShift && virtualKey <= kRightAlt) || virtualKey == kLeftWin ||
         virtualKey == kRightWin;
}

// The keys whose scan codes are shared with the numeric keypad (or with the
// left-hand modifier) and told apart by the extended flag.
constexpr bool isExtendedKey(int virtualKey) {
  return (virtualKey >= kPageUp && virtualKey <= kDown) || virtualKey == kInsert ||
         virtualKey == kDelete || virtualKey == kRightCtrl || virtualKey == kRightAlt ||
         virtualKey == kLeftWin || virtualKey == kRightWin || virtualKey == kNumpadDivide ||
         virtualKey == kNumLock;
}

// The names hotkey texts use: "A" … "Z", "F1" … "F12", "Num0" … "Num9" (main
// block), "num0" … "num9" (keypad) and 29 others; GBK text. keyName gives ""
// for a key without a name (Ctrl, Shift and Alt among them); keyCode gives 0
// for an unknown name. Letters and F-keys match without case, the others exactly.
std::string keyName(int virtualKey);
int keyCode(std::string_view name);

}  // namespace hf::keys
