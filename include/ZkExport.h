/* Export decoration shared by every public header: plain C linkage, default visibility. */
#ifndef ZK_EXPORT_H
#define ZK_EXPORT_H

#include <stdint.h>

#ifdef __cplusplus
#define ZK_API extern "C" __attribute__((visibility("default")))
#else
#define ZK_API __attribute__((visibility("default")))
#endif

#endif
