// Language identifiers, as the phone's SDK defines them.
#pragma once

#define MAKELANGID(p, s)    ((((WORD)(s)) << 10) | (WORD)(p))
#define PRIMARYLANGID(lgid) ((WORD)(lgid)&0x3ff)
#define SUBLANGID(lgid)     ((WORD)(lgid) >> 10)
#define LANG_NEUTRAL        0x00
#define LANG_ENGLISH        0x09
#define LANG_RUSSIAN        0x19
#define SUBLANG_NEUTRAL     0x00
#define SUBLANG_DEFAULT     0x01
