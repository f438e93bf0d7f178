// The one export macro of the library: the DLL exports the foundation classes on Windows, the
// shared library gives them default visibility natively.
#pragma once

#if defined(_WIN32)
#if defined(CT_BUILDING_LIBRARY)
#define CT_EXPORT __declspec(dllexport)
#else
#define CT_EXPORT __declspec(dllimport)
#endif
#else
#define CT_EXPORT __attribute__((visibility("default")))
#endif
