#pragma once
// The launcher panel's fixed data and its small rules, free of any window:
// which host function each trigger starts, which individuation keys each
// button reads, how the period and the version are shown, where the single
// arrow goes and how high the bottom panel is.
#include <array>
#include <string>
#include <string_view>

namespace ui {

// Function code suffixes, appended to the current sub-application code.
inline constexpr std::string_view kSuffixPanelShown = "004-00-01";
inline constexpr std::string_view kSuffixOnlineCopy = "004-00-03";
inline constexpr std::string_view kSuffixClearCard = "004-00-04";
inline constexpr std::string_view kSuffixGetState = "004-00-05";
inline constexpr std::string_view kSuffixInvoiceQuery = "003-01";
inline constexpr std::string_view kSuffixReportStatus = "002-01";
inline constexpr std::string_view kSuffixCancelCopy = "004-00-06";
inline constexpr std::string_view kSuffixChangePeriod = "005-01";

// One of the six function buttons: its individuation keys and the caption
// shown when the installation configures none.
struct ButtonKeys {
    std::string_view captionKey;
    std::string_view defaultCaption;
    std::string_view pictureKey;
    std::string_view hintKey;
    std::string_view functionSuffix;
};

inline constexpr ButtonKeys kOnlineCopyKeys{"Caption_BS", "网上抄税", "Image_BS", "Hint_BS", kSuffixOnlineCopy};
inline constexpr ButtonKeys kClearCardKeys{"Caption_QK", "清  卡", "Image_QK", "Hint_QK", kSuffixClearCard};
inline constexpr ButtonKeys kGetStateKeys{"Caption_BSQuery", "获取状态", "Image_BSQuery", "Hint_BSQuery",
                                          kSuffixGetState};
inline constexpr ButtonKeys kReportStatusKeys{"Caption_CBZT", "抄报状态", "Image_CBZT", "Hint_CBZT",
                                              kSuffixReportStatus};
inline constexpr ButtonKeys kCancelCopyKeys{"Caption_CancelBS", "取消抄税", "Image_CancelBS", "Hint_CancelBS",
                                            kSuffixCancelCopy};
inline constexpr ButtonKeys kInvoiceQueryKeys{"Caption_FPQUery", "发票查询", "Image_FPQUery", "Hint_FPQUery",
                                              kSuffixInvoiceQuery};

// The link button's keys; its caption defaults to empty.
inline constexpr std::string_view kLinkTitleKey = "ThirdUrlTitle";
inline constexpr std::string_view kLinkAddressKey = "ThirdUrl";
inline constexpr std::string_view kLinkPictureKey = "ThirdUrlImage";
inline constexpr std::string_view kLinkHintKey = "ThirdUrlHint";

// The function code of a trigger: the sub-application code immediately
// followed by the suffix.
std::string FunctionCode(std::string_view subAppCode, std::string_view suffix);

// "2007年03月" for "200703": the first four characters, 年, the two from
// the fifth on, 月. Missing characters are simply missing; nothing is checked.
std::string FormatPeriod(std::string_view period);

// "版本：" and the version, cut to 56 bytes at most (at a whole GBK
// character).
std::string VersionCaption(std::string_view version);

// The left edge that centres one arrow between the first and the last top
// button, the quotient truncated toward zero.
int SingleArrowLeft(int firstButtonLeft, int lastButtonLeft, int lastButtonWidth, int arrowWidth);

// The bottom panel's height for a form of outer height `formHeight`, both
// in pixels of a screen of `pixelsPerInch` (the rule's lengths are the
// design's, at 96, scaled and rounded).
int BottomPanelHeight(int formHeight, int pixelsPerInch = 96);

} // namespace ui
