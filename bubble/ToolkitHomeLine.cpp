#include "ToolkitHomeLine.h"

#include "RegistryReaders.h"

LONG HomeLineOf(LPCWSTR text, int length) {
    // At most length - 3 steps, never reading past the end; "91," counts
    // anywhere, and the character right after a counted line feed is never
    // counted as one itself.
    LONG count = 0;
    int at = 0;
    for (int step = 0; step < length - 3 && at < length; ++step) {
        if (text[at] == TEXT('\n')) {
            ++count;
            ++at;
        }
        if (at + 3 <= length && text[at] == TEXT('9') && text[at + 1] == TEXT('1') && text[at + 2] == TEXT(',')) break;
        ++at;
    }
    return count;
}

LONG ToolkitHomeLine() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("Software\\e-Natives\\SmartToolkit"), 0, 0, &key) != ERROR_SUCCESS)
        return 0;
    WString text = ReadRegString(key, TEXT("hotkey"));
    LONG count = HomeLineOf(text.Text(), text.Length());
    RegCloseKey(key);
    return count;
}
