// Clocks: the tick count and the calendar time.
#include <windows.h>

#include <ctime>

extern "C" DWORD WINAPI GetTickCount(void) {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<DWORD>(static_cast<uint64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000);
}

namespace {
void ToSystemTime(const tm& t, long nanoseconds, LPSYSTEMTIME st) {
    st->wYear = static_cast<WORD>(t.tm_year + 1900);
    st->wMonth = static_cast<WORD>(t.tm_mon + 1);
    st->wDayOfWeek = static_cast<WORD>(t.tm_wday);
    st->wDay = static_cast<WORD>(t.tm_mday);
    st->wHour = static_cast<WORD>(t.tm_hour);
    st->wMinute = static_cast<WORD>(t.tm_min);
    st->wSecond = static_cast<WORD>(t.tm_sec);
    st->wMilliseconds = static_cast<WORD>(nanoseconds / 1000000);
}
}  // namespace

extern "C" void WINAPI GetLocalTime(LPSYSTEMTIME lpSystemTime) {
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    tm t;
    localtime_r(&ts.tv_sec, &t);
    ToSystemTime(t, ts.tv_nsec, lpSystemTime);
}

extern "C" void WINAPI GetSystemTime(LPSYSTEMTIME lpSystemTime) {
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    tm t;
    gmtime_r(&ts.tv_sec, &t);
    ToSystemTime(t, ts.tv_nsec, lpSystemTime);
}

extern "C" BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* st, LPFILETIME ft) {
    if (!st || !ft || st->wMonth < 1 || st->wMonth > 12 || st->wDay < 1 || st->wDay > 31) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    tm t{};
    t.tm_year = st->wYear - 1900;
    t.tm_mon = st->wMonth - 1;
    t.tm_mday = st->wDay;
    t.tm_hour = st->wHour;
    t.tm_min = st->wMinute;
    t.tm_sec = st->wSecond;
    time_t seconds = timegm(&t);
    // 100-ns intervals since 1601-01-01.
    uint64_t ticks = (static_cast<uint64_t>(seconds) + 11644473600ULL) * 10000000ULL + st->wMilliseconds * 10000ULL;
    ft->dwLowDateTime = static_cast<DWORD>(ticks);
    ft->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return TRUE;
}
