#include "ui/LauncherRules.h"

#include "sharedrt/GbkText.h"

#include <algorithm>

namespace ui {
namespace {

constexpr std::string_view kVersionPrefix = "版本：";
constexpr std::size_t kVersionCaptionLimit = 56;
constexpr int kFullBottomHeight = 135;
constexpr int kMinBottomHeight = 60;
constexpr int kMainAreaHeight = 365;
constexpr int kFullHeightFrom = 500;

} // namespace

std::string FunctionCode(std::string_view subAppCode, std::string_view suffix)
{
    std::string code(subAppCode);
    code += suffix;
    return code;
}

std::string FormatPeriod(std::string_view period)
{
    std::string text(period.substr(0, 4));
    text += "年";
    if (period.size() > 4)
        text += period.substr(4, 2);
    text += "月";
    return text;
}

std::string VersionCaption(std::string_view version)
{
    std::string caption(kVersionPrefix);
    caption += version;
    // Never half a character: a version in Chinese is cut before the one
    // that would cross the limit.
    caption.resize(rt::GbkPrefixLength(caption, kVersionCaptionLimit));
    return caption;
}

int SingleArrowLeft(int firstButtonLeft, int lastButtonLeft, int lastButtonWidth, int arrowWidth)
{
    return (lastButtonLeft + firstButtonLeft + lastButtonWidth - arrowWidth) / 2;
}

int BottomPanelHeight(int formHeight, int pixelsPerInch)
{
    // Rounded to the nearest pixel, halves up.
    auto scaled = [pixelsPerInch](int design) { return (design * pixelsPerInch + 48) / 96; };
    if (formHeight >= scaled(kFullHeightFrom))
        return scaled(kFullBottomHeight);
    return std::max(scaled(kMinBottomHeight), formHeight - scaled(kMainAreaHeight));
}

} // namespace ui
