// Private window messages of the skin engine. Their numbers are an interface: between the skin
// objects, and between the skin engine and the application.
#pragma once
#include <windows.h>

namespace skin {

constexpr UINT WM_SKIN_REFRESH = 0x3401;        // to a framework form: re-apply the skin after it changed
constexpr UINT WM_SKIN_NCPAINT = 0x3502;        // repaint the whole frame
constexpr UINT WM_SKIN_ACTIVATE = 0x3503;       // posted by the manager after creating a form skin, lParam 1000
constexpr UINT WM_SKIN_ENABLE = 0x3506;         // to a skinned control: wParam > 0 switches its skin on
constexpr UINT WM_SKIN_TABCLOSE = 0x3507;       // from a skinned tab control to its form
constexpr UINT WM_SKIN_CUSTOMBUTTON = 0x3514;   // a caption button without built-in meaning was clicked
constexpr UINT WM_SKIN_BUTTONVISIBLE = 0x3515;  // asks the window whether a caption button is visible
constexpr UINT WM_SKIN_REDRAWFRAME = 0x3516;    // to the MDI client: redraw the child in wParam with its frame
constexpr UINT WM_SKIN_RESKINSCROLL = 0x3517;   // to a form: replace the skin object of the control in wParam
constexpr UINT WM_SKIN_MENUCLICK = 0x3518;      // open the menu-bar item under the screen point in lParam
constexpr UINT WM_SKIN_SKINCONTROL = 0x3519;   // to a form: skin the child window in wParam, created late
constexpr UINT WM_SKIN_QUERY = 0x3523;          // a skinned window or control answers 1
constexpr UINT WM_SKIN_PRINT = 0xBC4A;          // to a skinned edit: paint into the DC in wParam
constexpr UINT WM_SKIN_PAINTFRAME = 0xBC4B;     // to a framework form: paint the frame into the DC in wParam
constexpr UINT WM_SKIN_PING = 0xBC4D;           // to a framework form: answers kSkinSignature
constexpr UINT WM_SKIN_AFTERSKIN = 0xBC4E;      // the window has just been skinned

// lParam of the 0xBC4A..0xBC4E messages, and the answer to them.
constexpr LPARAM kSkinSignature = 0x41A2;
// lParam of WM_SKIN_ACTIVATE.
constexpr LPARAM kActivateSignature = 1000;

}  // namespace skin
