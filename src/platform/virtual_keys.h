#pragma once

// Key codes as the demo's key table indexes them (the Win32 virtual-key
// numbering), so frame code reads the same codes on every platform.
namespace vk {
constexpr int Back = 0x08;
constexpr int Tab = 0x09;
constexpr int Return = 0x0D;
constexpr int Shift = 0x10;
constexpr int Control = 0x11;
constexpr int Menu = 0x12;  // Alt
constexpr int Pause = 0x13;
constexpr int Capital = 0x14;
constexpr int Escape = 0x1B;
constexpr int Space = 0x20;
constexpr int Prior = 0x21;
constexpr int Next = 0x22;
constexpr int End = 0x23;
constexpr int Home = 0x24;
constexpr int Left = 0x25;
constexpr int Up = 0x26;
constexpr int Right = 0x27;
constexpr int Down = 0x28;
constexpr int Insert = 0x2D;
constexpr int Delete = 0x2E;
constexpr int Digit0 = 0x30;     // '0'..'9' follow
constexpr int LetterA = 0x41;    // 'A'..'Z' follow
constexpr int Numpad0 = 0x60;    // numpad 0..9 follow
constexpr int F1 = 0x70;         // F1..F24 follow
constexpr int OemComma = 0xBC;   // ','
constexpr int OemPeriod = 0xBE;  // '.'
constexpr int OemSlash = 0xBF;   // '/' on a US layout
constexpr int Unknown = 0;
}  // namespace vk

// The virtual-key code of an SDL keycode, or vk::Unknown.
int virtualKeyFromSdlKeycode(int sdlKeycode);
