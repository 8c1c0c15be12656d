#pragma once
// Names of the launcher panel's pictures, BITMAP resources of the module
// (LauncherPictures.rc).
#include "sharedrt/ui/Bitmap.h"

namespace ui::pictures {

inline constexpr const char* kBackground = "BACKGROUND";     // 447 x 322
inline constexpr const char* kOnlineCopy = "BTN_BS";         // 96 x 48, two cells
inline constexpr const char* kClearCard = "BTN_QK";          // 96 x 48, two cells
inline constexpr const char* kGetState = "BTN_BSQUERY";      // 96 x 48, two cells
inline constexpr const char* kReportStatus = "BTN_CBZT";     // 96 x 48, two cells
inline constexpr const char* kCancelCopy = "BTN_CANCELBS";   // 96 x 48, two cells
inline constexpr const char* kInvoiceQuery = "BTN_FPQUERY";  // 96 x 48, two cells
inline constexpr const char* kLink = "BTN_URL";              // 160 x 80, two cells
inline constexpr const char* kArrow = "ARROW";               // 49 x 20, both arrows
inline constexpr const char* kPeriodIcon = "PERIOD_ICON";    // 12 x 12
inline constexpr const char* kStrip = "STRIP";               // 5 px high, stretched

// The picture of that name from the module's resources. Throws rt::Error
// when the module has none of that name.
rt::ui::Bitmap Load(const char* name);

} // namespace ui::pictures
