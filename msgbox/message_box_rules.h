#pragma once
// The message box's rules, free of Windows services: which buttons a style shows with which
// labels, what each control's click returns, which background the colour skin gives, and where
// the box can be dragged.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr int kMessageBoxButtons = 3;

// One button of a set: shown or hidden, and the label it gets (none: the skin's own label).
struct MessageBoxButton {
    bool visible = false;
    std::optional<std::wstring_view> label;
};

// The buttons button0, button1, button2 for a style; only its low 4 bits count, and the
// styles 6 to 15 show the set of style 0.
struct MessageBoxButtonSet {
    MessageBoxButton buttons[kMessageBoxButtons];
};
MessageBoxButtonSet messageBoxButtons(std::uint32_t style);

// The result of a click on the named control: closebtn 1, button0 6, button1 7, button2 2;
// nothing for other names (exact comparison).
std::optional<unsigned> messageBoxResultFor(std::wstring_view controlName);

// The result of Enter when no button has the keyboard focus: that of the first button the
// style shows, the one a system box makes its default.
unsigned messageBoxDefaultResult(std::uint32_t style);

// The result of a system message box (IDOK, IDCANCEL, ...) for the same style, mapped to the
// position of the button that was pressed, as the skinned box would report it.
unsigned messageBoxResultFromSystem(std::uint32_t style, int systemResult);

// Whether a client point lies in the drag band: the top 50 pixels, except the last 50 pixels
// of the width, where the close button sits.
bool inMessageBoxDragBand(int clientLeft, int clientRight, int x, int y);
