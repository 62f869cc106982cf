#include "msgbox/message_box_rules.h"

#include <cstdio>

namespace {

constexpr int kDragBand = 50;

// System results (IDOK 1, IDCANCEL 2, IDABORT 3, IDRETRY 4, IDIGNORE 5, IDYES 6, IDNO 7) of
// the buttons in the order the system places them for each style.
constexpr int kSystemButtons[6][kMessageBoxButtons] = {
    {0, 1, 0},  // OK: one button in the middle position
    {1, 2, 0},  // OK / Cancel
    {3, 4, 5},  // Abort / Retry / Ignore
    {6, 7, 2},  // Yes / No / Cancel
    {6, 7, 0},  // Yes / No
    {4, 2, 0},  // Retry / Cancel
};

constexpr unsigned kPositionResults[kMessageBoxButtons] = {6, 7, 2};

int rowOf(std::uint32_t style) {
    const int row = static_cast<int>(style & 0xF);
    return row <= 5 ? row : 0;
}

}  // namespace

MessageBoxButtonSet messageBoxButtons(std::uint32_t style) {
    MessageBoxButtonSet set;
    auto show = [&set](int index, std::optional<std::wstring_view> label) {
        set.buttons[index].visible = true;
        set.buttons[index].label = label;
    };
    switch (rowOf(style)) {
        case 1:
            show(0, L"\u786E\u5B9A");  // 确定
            show(1, L"\u53D6\u6D88");  // 取消
            show(2, std::nullopt);     // visible with the skin's own label
            break;
        case 2:
            show(0, L"\u4E2D\u6B62");  // 中止
            show(1, L"\u91CD\u8BD5");  // 重试
            show(2, L"\u5FFD\u7565");  // 忽略
            break;
        case 3:
            show(0, L"\u662F");        // 是
            show(1, L"\u5426");        // 否
            show(2, L"\u53D6\u6D88");  // 取消
            break;
        case 4:
            show(0, L"\u662F");
            show(1, L"\u5426");
            break;
        case 5:
            show(0, L"\u91CD\u8BD5");
            show(1, L"\u53D6\u6D88");
            break;
        default:
            show(1, L"\u786E\u5B9A");
            break;
    }
    return set;
}

std::optional<unsigned> messageBoxResultFor(std::wstring_view controlName) {
    if (controlName == L"closebtn") {
        return 1u;
    }
    for (int i = 0; i < kMessageBoxButtons; ++i) {
        const wchar_t name[] = {L'b', L'u', L't', L't', L'o', L'n', static_cast<wchar_t>(L'0' + i), L'\0'};
        if (controlName == name) {
            return kPositionResults[i];
        }
    }
    return std::nullopt;
}

unsigned messageBoxResultFromSystem(std::uint32_t style, int systemResult) {
    const int row = rowOf(style);
    for (int i = 0; i < kMessageBoxButtons; ++i) {
        if (kSystemButtons[row][i] != 0 && kSystemButtons[row][i] == systemResult) {
            return kPositionResults[i];
        }
    }
    // Closed without a button (Escape, the close box): as the close button.
    return 1;
}

bool inMessageBoxDragBand(int clientLeft, int clientRight, int x, int y) {
    return clientLeft < x && x < clientRight - kDragBand && y < kDragBand;
}

unsigned messageBoxDefaultResult(std::uint32_t style) {
    const MessageBoxButtonSet set = messageBoxButtons(style);
    for (int i = 0; i < kMessageBoxButtons; ++i) {
        if (set.buttons[i].visible) {
            return kPositionResults[i];
        }
    }
    return 1;  // no button: as the close button
}
