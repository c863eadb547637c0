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
constexpr uint32_t kEraseBackground = 0x0014;
constexpr uint32_t kKeyDown = 0x0100;
constexpr uint32_t kCommand = 0x0111;
constexpr uint32_t kUser = 0x0400;
}  // namespace msg

namespace key {
constexpr uint32_t kTab = 0x09;
constexpr uint32_t kEscape = 0x1B;
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
