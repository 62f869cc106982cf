#pragma once
#include "common/message_presenter.h"
// The texts of the window's status line while the update runs.

inline constexpr wchar_t kStateFetchingList[] = L"下载版本文件..";
inline constexpr wchar_t kStateListFailed[] = L"下载版本文件错误...";
inline constexpr wchar_t kStateChecking[] = L"正在校验版本...";
inline constexpr wchar_t kStateCheckFailed[] = L"校验版本错误...";
inline constexpr wchar_t kStateVersionError[] = L"下载版本错误...";
inline constexpr wchar_t kStateUpToDate[] = L"已经是最新版本...";
inline constexpr wchar_t kStateUpdatingPatches[] = L"正在更新文件...";
inline constexpr wchar_t kStateApplyingPatches[] = L"应用补丁文件...";
inline constexpr wchar_t kStatePatcherFailed[] = L"应用补丁文件错误...";
inline constexpr wchar_t kStateDownloadFailed[] = L"下载文件错误...";
inline constexpr wchar_t kStateUpdatingFiles[] = L"正在检测更新文件...";
inline constexpr wchar_t kFinalUpToDate[] = L"已经是最新版本,可以启动游戏";
inline constexpr wchar_t kFinalFilesUpdated[] = L"应用补丁文件完成，可以启动游戏...";
// Shown by the window itself when it starts the run.
inline constexpr wchar_t kStateListingFiles[] = L"正在更新文件列表.....";

// The retry prompt after four failed downloads of one file.
inline constexpr wchar_t kRetryTitle[] = L"错误提示";
inline constexpr wchar_t kRetryFormat[] = L"下载文件错误,是否重新下载?\n错误代码：%d";
inline constexpr MessageButtons kRetryButtons = MessageButtons::YesNo;  // "是" / "否"
inline constexpr MessageAnswer kAnswerYes = MessageAnswer::FirstButton;
