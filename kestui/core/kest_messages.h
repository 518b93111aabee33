// The Kest framework's own window messages, position codes and anchors.
//
// Widgets turn raw input into these messages and send them (SendMessageW) to
// the form that owns them (GetOwnerFormWindow); unless noted, the answer is
// ignored. All numbers lie between WM_USER and WM_APP.
#pragma once

#include <windows.h>

#include <cstdint>

// hint timer -> the widget now under the mouse / the widget it has left (0, 0)
constexpr UINT WM_KEST_MOUSEENTER = 0x84D;
constexpr UINT WM_KEST_MOUSELEAVE = 0x84E;
// posted by a form to itself on WM_CLOSE (close code or 0, 0): destroy the window
constexpr UINT WM_KEST_DESTROY = 0x84F;
// posted to a form when it is activated (0, 0): realign, free flow layouts
constexpr UINT WM_KEST_ENDLAYOUT = 0x850;
// parent -> child control on its WM_CTLCOLOR* (HDC, 0): answer a brush, 0 = not handled
constexpr UINT WM_KEST_CTLCOLOR = 0x851;
// edit-menu queries to the focused control (0, 0): non-zero = possible
constexpr UINT WM_KEST_CANCOPY = 0x852;
constexpr UINT WM_KEST_CANCUT = 0x853;
// parent -> the control that sent a WM_COMMAND (its wParam, its lParam):
// non-zero = handled there, otherwise the WM_COMMAND goes on to the owner
constexpr UINT WM_KEST_COMMAND = 0x854;
constexpr UINT WM_KEST_CANDELETE = 0x855;
constexpr UINT WM_KEST_CANSELECTALL = 0x856;
// a form -> the focused control (0, 0): select everything; also the command
// id of the "select all" items of popup menus
constexpr UINT WM_KEST_SELECTALL = 0x859;
// posted by a top-level form to itself on WM_CLOSE (result, 0)
constexpr UINT WM_KEST_MODALRESULT = 0x85A;
// after a scroll-bar control scrolled (scroll-bar id, scroll-bar window)
constexpr UINT WM_KEST_SCROLL = 0x85C;
// while a form or paint box is inside WM_PAINT (0, window being painted)
constexpr UINT WM_KEST_PAINT = 0x85D;
// data requests of the grid widget (request code, request record)
constexpr UINT WM_KEST_GRIDREQUEST = 0x85E;
// every key down except Tab, before translation (virtual key, key window)
constexpr UINT WM_KEST_KEYDOWN = 0x85F;
// mouse input (widget window, mouse position in client coordinates)
constexpr UINT WM_KEST_LBUTTONDOWN = 0x860;
constexpr UINT WM_KEST_RBUTTONDOWN = 0x861;
constexpr UINT WM_KEST_MOUSEMOVE = 0x862;
constexpr UINT WM_KEST_LBUTTONUP = 0x863;
constexpr UINT WM_KEST_RBUTTONUP = 0x864;
// (WM_MOUSEWHEEL's wParam, widget window): non-zero answer = consumed
constexpr UINT WM_KEST_MOUSEWHEEL = 0x865;
// parent -> the control named in the NMHDR (WM_NOTIFY's wParam, NMHDR*):
// non-zero = handled, otherwise the WM_NOTIFY goes on to the owner
constexpr UINT WM_KEST_NOTIFY = 0x8BE;
// every key up except Tab (virtual key, key window)
constexpr UINT WM_KEST_KEYUP = 0x927;
// (widget window, position), or (widget id, widget window) just before a
// widget's popup menu opens
constexpr UINT WM_KEST_MBUTTONDOWN = 0xBD1;
constexpr UINT WM_KEST_MBUTTONUP = 0xBD2;
// after an in-place label edit of a list view ended (list view window, LVITEM*)
constexpr UINT WM_KEST_LABELEDIT = 0x1468;
// for each WM_CHAR of an edit (character, edit window): non-zero swallows it
constexpr UINT WM_KEST_CHAR = 0x14E4;
// whenever a widget receives WM_SIZE (0, widget window)
constexpr UINT WM_KEST_SIZE = 0x18D5;

// Position codes given to every widget constructor. Any value whose bits
// 0x80000000 and 0x00008000 are not both set is explicit: x | (y << 16).
constexpr uint32_t KEST_POS_FLOW = 0x80008000;    // flow layout; top level: system default
constexpr uint32_t KEST_POS_TOP = 0x80008001;     // docked at the top
constexpr uint32_t KEST_POS_LEFT = 0x80008002;    // docked at the left
constexpr uint32_t KEST_POS_RIGHT = 0x80008003;   // docked at the right
constexpr uint32_t KEST_POS_BOTTOM = 0x80008004;  // docked at the bottom
constexpr uint32_t KEST_POS_CLIENT = 0x80008005;  // fills what docking leaves
constexpr uint32_t KEST_POS_CENTER = 0x80008006;  // top level: centred on the screen

constexpr uint32_t KestPos(int x, int y) {
  return (static_cast<uint32_t>(x) & 0xFFFF) | ((static_cast<uint32_t>(y) & 0xFFFF) << 16);
}
constexpr bool IsKestSpecialPosition(uint32_t code) {
  return (code & 0x80008000u) == 0x80008000u;
}

// Anchor bits of a widget.
constexpr uint8_t KEST_ANCHOR_LEFT = 0x01;
constexpr uint8_t KEST_ANCHOR_TOP = 0x02;
constexpr uint8_t KEST_ANCHOR_RIGHT = 0x04;
constexpr uint8_t KEST_ANCHOR_BOTTOM = 0x08;
constexpr uint8_t KEST_ANCHOR_HCENTER = 0x10;
constexpr uint8_t KEST_ANCHOR_VCENTER = 0x20;

// Background colour meaning "transparent: nothing is erased".
constexpr COLORREF KEST_TRANSPARENT = 0xFFFFFFFF;

// Modifier mask of menu shortcuts (the ACCEL bits).
constexpr uint8_t KEST_MOD_SHIFT = 4;
constexpr uint8_t KEST_MOD_CTRL = 8;
constexpr uint8_t KEST_MOD_ALT = 16;

// Sent by the views of a document (scheme view, board view, block-diagram
// editor) to the main window whenever they change the document (no
// arguments).
constexpr UINT WM_SCHEME_MODIFIED = 0x4002;
// Asked of the active MDI child: can it copy its picture (and print)?
constexpr UINT WM_CAN_COPY_PICTURE = 0x1231;
