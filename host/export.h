// Marks the plug-in's exported functions: the host finds them by name.
#pragma once

#if defined(_WIN32)
#define QA_EXPORT __declspec(dllexport)
#else
#define QA_EXPORT __attribute__((visibility("default")))
#endif
