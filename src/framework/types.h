// The small value types every unit of the framework shares: colours, shift
// states, mouse buttons, modal results and the text forms they take in form
// descriptions.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace pendo {

// 0x00BBGGRR; a value with the high byte 0x80 names a system colour.
using tcolor = std::int32_t;
constexpr tcolor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clNavy = 0x800000,
                 clRed = 0x0000FF, clBlue = 0xFF0000, clWhite = 0xFFFFFF, clSilver = 0xC0C0C0,
                 clGray = 0x808080, clYellow = 0x00FFFF, clLime = 0x00FF00;
constexpr tcolor clSystemColor = static_cast<tcolor>(0x80000000u);
constexpr tcolor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr tcolor clWindow = clSystemColor | COLOR_WINDOW;
constexpr tcolor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr tcolor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr tcolor clNone = 0x1FFFFFFF;

// The RGB value a colour stands for now (system colours looked up).
COLORREF ColorToRGB(tcolor color);
// "clBlue", "clBtnFace", decimal, or "$00FF0000"; throws on anything else.
tcolor ParseColor(const std::string& text);

enum tshiftflag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using tshiftstate = unsigned;
// The keyboard's shift keys as they are now.
tshiftstate KeyboardShiftState();
// Shift keys and mouse buttons from a mouse message's wParam.
tshiftstate MouseShiftState(WPARAM wp);

enum class tmousebutton { mbLeft, mbRight, mbMiddle };

enum class tcloseaction { caNone, caHide, caFree, caMinimize };

using tmodalresult = int;
constexpr tmodalresult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrYes = IDYES, mrNo = IDNO;

// A menu shortcut: virtual key in the low word, shift flags above it.
using tshortcut = unsigned;
constexpr tshortcut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
// "Ctrl+R", "Shift+F10", "Esc"; throws on an unknown key name.
tshortcut ParseShortCut(const std::string& text);
std::string ShortCutToText(tshortcut shortcut);
tshortcut ShortCut(WORD key, tshiftstate shift);

// Form-description values.
bool ParseBool(const std::string& text);
int ParseInt(const std::string& text);
// The parts of a list written "a,b,c"; nothing for an empty text, and a
// trailing comma ends the list.
std::vector<std::string> SplitSet(const std::string& text);
// A set of flags written by name, "fsBold,fsItalic"; empty parts are skipped,
// an unknown name throws (naming what it is, say "font style").
unsigned ParseFlags(const std::string& text, std::initializer_list<std::pair<const char*, unsigned>> names,
                    const char* what);

}  // namespace pendo
