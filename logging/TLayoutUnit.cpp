#include "TLayoutUnit.h"

int PackedTimeStamp(const SYSTEMTIME& ATime) {
    if (ATime.wYear < 1980 || ATime.wYear > 2107) return 0;
    unsigned int packed = (unsigned int)(ATime.wYear - 1980) << 25 | (unsigned int)ATime.wMonth << 21 |
                          (unsigned int)ATime.wDay << 16 | (unsigned int)ATime.wHour << 11 |
                          (unsigned int)ATime.wMinute << 5 | (unsigned int)(ATime.wSecond / 2);
    return (int)packed;  // written as a signed number: years from 2044 on come out negative
}
