#pragma once
// Symbols of the host's component package, XPKestrel.dll.
#if defined(XPKESTREL_BUILDING)
#define XPKESTREL_API __declspec(dllexport)
#else
#define XPKESTREL_API __declspec(dllimport)
#endif
