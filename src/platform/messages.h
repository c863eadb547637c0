#pragma once
// Window-system numbers that the logic interprets: messages, keys, styles,
// flags. They are the values the system defines; the logic never sees the
// system's own headers.

#include <cstdint>

namespace msg {
constexpr uint32_t kCreate = 0x0001;
constexpr uint32_t kDestroy = 0x0002;
constexpr uint32_t kPaint = 0x000F;
constexpr uint32_t kClose = 0x0010;
constexpr uint32_t kSetFocus = 0x0007;
constexpr uint32_t kKillFocus = 0x0008;
constexpr uint32_t kShowWindow = 0x0018;
constexpr uint32_t kKeyDown = 0x0100;
constexpr uint32_t kKeyUp = 0x0101;
constexpr uint32_t kCommand = 0x0111;
constexpr uint32_t kTimer = 0x0113;
constexpr uint32_t kMouseMove = 0x0200;
constexpr uint32_t kLeftButtonDown = 0x0201;
constexpr uint32_t kLeftButtonUp = 0x0202;
constexpr uint32_t kLeftButtonDoubleClick = 0x0203;
constexpr uint32_t kMouseLeave = 0x02A3;
constexpr uint32_t kGetObject = 0x003D;
constexpr uint32_t kUser = 0x0400;
// The program's own: press button `first` (posted by the accessible object).
constexpr uint32_t kPressButton = 0x8001;
}  // namespace msg

// Accessibility: the object id of a window's client area, roles, states and
// events as the system numbers them.
namespace accessible {
constexpr int32_t kClientObject = -4;
constexpr int32_t kSelf = 0;  // the child id of the object itself
constexpr uint32_t kRoleClient = 0x0A;
constexpr uint32_t kRoleStaticText = 0x29;
constexpr uint32_t kRolePushButton = 0x2B;
constexpr uint32_t kStateFocused = 0x00000004;
constexpr uint32_t kStateHotTracked = 0x00000080;
constexpr uint32_t kStateFocusable = 0x00100000;
constexpr uint32_t kEventFocus = 0x8005;
constexpr uint32_t kEventStateChange = 0x800A;
constexpr uint32_t kEventNameChange = 0x800C;
}  // namespace accessible

namespace key {
constexpr uint32_t kTab = 0x09;
constexpr uint32_t kReturn = 0x0D;
constexpr uint32_t kEscape = 0x1B;
constexpr uint32_t kSpace = 0x20;
constexpr uint32_t kLeft = 0x25;
constexpr uint32_t kUp = 0x26;
constexpr uint32_t kRight = 0x27;
constexpr uint32_t kDown = 0x28;
}  // namespace key

// The drop-down list's notification of a new choice, in the high 16 bits of
// a command message's first parameter.
constexpr uint32_t kListSelectionChanged = 1;

namespace style {
constexpr uint32_t kPopup = 0x80000000u;
constexpr uint32_t kUnattended = 0x20CA0000u;  // minimised, caption, system menu, minimise box
constexpr uint32_t kExtended = 0x00010100u;    // control parent, window edge
constexpr uint32_t kLanguageList = 0x50010003u;  // child, visible, tab stop, drop-down list
}  // namespace style

namespace show {
constexpr int kShow = 5;
constexpr int kMinimize = 6;
}  // namespace show

namespace box {
constexpr uint32_t kOk = 0x00;
constexpr uint32_t kIconError = 0x10;
constexpr uint32_t kIconWarning = 0x30;
constexpr uint32_t kSystemModal = 0x1000;
}  // namespace box
