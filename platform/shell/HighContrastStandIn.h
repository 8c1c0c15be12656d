#pragma once
// Windows' high-contrast mode for the shell's --high-contrast. Wine cannot
// switch the mode on (it always answers SPI_GETHIGHCONTRAST with the mode
// off), so the shell answers that one question for the shared runtime,
// which asks the system whenever it paints: the runtime's import of
// SystemParametersInfoA is pointed at an answer with the mode on; every
// other question goes to the system. The system colours stay those of the
// prefix.
namespace shell {

// True when the runtime now hears that high contrast is on.
bool ReportHighContrastToRuntime();

} // namespace shell
