#pragma once
// The global-parameter step of initialisation: the start-up maintenance of
// the sub-application's configuration and data, then the three parameters
// published into its value object:
//   "Global_cbsreader"  key "cbsreader" of section "CbsReader" in the
//                       sub-application's "UserConfig.ini" (empty when missing)
//   "Global_company"    the company's taxpayer identification number "QYSBH"
//   "Global_curkjny"    the accounting period, the month before today, yyyymm
// Each run replaces the three values in place. Value objects and folders are
// asked of the host at every call.
#include "host/AccountingPeriod.h"

#include <string>

namespace module {

inline constexpr const char kCardReaderItem[] = "Global_cbsreader";
inline constexpr const char kCompanyItem[] = "Global_company";
inline constexpr const char kPeriodItem[] = "Global_curkjny";

// Maintenance, then the three parameters. Returns the error catalogue's
// failure message, or empty. Failures other than the catalogue's (action
// merge, upgrade errors raised rather than reported, value objects) pass to
// the caller.
std::string InitModuleGlobals();

// Merges the action configuration, loads the error catalogue (its failure
// message goes into `message`) and runs the database upgrade (its failure
// text is not passed on; the upgrade logs it).
void RunStartupMaintenance(std::string& message);

// The company's "QYSBH", empty when absent.
std::string CompanyTaxId();

// "cbsreader" of section "CbsReader" in the sub-application's
// "UserConfig.ini"; empty when the file, section or key is missing.
std::string ReadCardReaderSetting();

// The period of today's local date.
host::YearMonth PreviousMonthPeriod();

} // namespace module
