// FormatMessageW with the system's message table, as a settings program
// uses it to show why a call failed.
#include <coredll_host.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DWORD kSystemFlags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                               FORMAT_MESSAGE_IGNORE_INSERTS;

// The system text of a code, through an allocated buffer; "" when none.
std::u16string SystemText(DWORD code, DWORD flags = kSystemFlags) {
    LPWSTR text = reinterpret_cast<LPWSTR>(1);  // must be replaced either way
    DWORD n = FormatMessageW(flags, nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    if (n == 0) {
        EXPECT_EQ(text, nullptr);
        return u"";
    }
    std::u16string result(text);
    EXPECT_EQ(n, result.size());
    EXPECT_EQ(LocalFree(text), nullptr);
    return result;
}

TEST(SystemMessages, AllocatedTextsOfErrorCodesAndHresults) {
    EXPECT_EQ(SystemText(ERROR_SUCCESS), u"The operation completed successfully.\r\n");
    EXPECT_EQ(SystemText(ERROR_FILE_NOT_FOUND), u"The system cannot find the file specified.\r\n");
    EXPECT_EQ(SystemText(ERROR_MOD_NOT_FOUND), u"The specified module could not be found.\r\n");
    EXPECT_EQ(SystemText(ERROR_CLASS_ALREADY_EXISTS), u"Class already exists.\r\n");
    EXPECT_EQ(SystemText(ERROR_INVALID_WINDOW_HANDLE), u"Invalid window handle.\r\n");
    EXPECT_EQ(SystemText(E_FAIL), u"Unspecified error\r\n");
    EXPECT_EQ(SystemText(E_NOINTERFACE), u"No such interface supported\r\n");
    EXPECT_EQ(SystemText(REGDB_E_CLASSNOTREG), u"Class not registered\r\n");
    // A Win32 error wrapped in an HRESULT has the Win32 text.
    EXPECT_EQ(SystemText(E_INVALIDARG), u"The parameter is incorrect.\r\n");
    EXPECT_EQ(SystemText(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)), SystemText(ERROR_ACCESS_DENIED));
    EXPECT_EQ(SystemText(E_OUTOFMEMORY), SystemText(ERROR_OUTOFMEMORY));
}

TEST(SystemMessages, EveryCodeOfTheSdkHasAText) {
    const DWORD codes[] = {
        ERROR_SUCCESS,
        ERROR_INVALID_FUNCTION,
        ERROR_FILE_NOT_FOUND,
        ERROR_PATH_NOT_FOUND,
        ERROR_ACCESS_DENIED,
        ERROR_INVALID_HANDLE,
        ERROR_NOT_ENOUGH_MEMORY,
        ERROR_BAD_FORMAT,
        ERROR_INVALID_DATA,
        ERROR_OUTOFMEMORY,
        ERROR_NOT_SUPPORTED,
        ERROR_FILE_EXISTS,
        ERROR_INVALID_PARAMETER,
        ERROR_CALL_NOT_IMPLEMENTED,
        ERROR_INSUFFICIENT_BUFFER,
        ERROR_INVALID_NAME,
        ERROR_MOD_NOT_FOUND,
        ERROR_PROC_NOT_FOUND,
        ERROR_BAD_PATHNAME,
        ERROR_ALREADY_EXISTS,
        ERROR_MORE_DATA,
        WAIT_TIMEOUT_ERROR,
        ERROR_NO_MORE_ITEMS,
        ERROR_MR_MID_NOT_FOUND,
        ERROR_INVALID_ADDRESS,
        ERROR_ARITHMETIC_OVERFLOW,
        ERROR_BADDB,
        ERROR_BADKEY,
        ERROR_CANTOPEN,
        ERROR_CANTREAD,
        ERROR_CANTWRITE,
        ERROR_REGISTRY_IO_FAILED,
        ERROR_KEY_DELETED,
        ERROR_NO_UNICODE_TRANSLATION,
        ERROR_DLL_INIT_FAILED,
        ERROR_INVALID_WINDOW_HANDLE,
        ERROR_INVALID_MENU_HANDLE,
        ERROR_WINDOW_OF_OTHER_THREAD,
        ERROR_HOTKEY_ALREADY_REGISTERED,
        ERROR_CLASS_ALREADY_EXISTS,
        ERROR_CLASS_DOES_NOT_EXIST,
        ERROR_CANNOT_FIND_WND_CLASS,
        ERROR_HOTKEY_NOT_REGISTERED,
        ERROR_INVALID_THREAD_ID,
        ERROR_NO_SYSTEM_RESOURCES,
        ERROR_RESOURCE_DATA_NOT_FOUND,
        ERROR_RESOURCE_TYPE_NOT_FOUND,
        ERROR_RESOURCE_NAME_NOT_FOUND,
        ERROR_RESOURCE_LANG_NOT_FOUND,
        ERROR_INVALID_FLAGS,
        ERROR_TIMEOUT,
        static_cast<DWORD>(E_UNEXPECTED),
        static_cast<DWORD>(E_NOTIMPL),
        static_cast<DWORD>(E_NOINTERFACE),
        static_cast<DWORD>(E_POINTER),
        static_cast<DWORD>(E_ABORT),
        static_cast<DWORD>(E_FAIL),
        static_cast<DWORD>(E_ACCESSDENIED),
        static_cast<DWORD>(E_HANDLE),
        static_cast<DWORD>(E_OUTOFMEMORY),
        static_cast<DWORD>(E_INVALIDARG),
        static_cast<DWORD>(CLASS_E_NOAGGREGATION),
        static_cast<DWORD>(CLASS_E_CLASSNOTAVAILABLE),
        static_cast<DWORD>(REGDB_E_CLASSNOTREG),
        static_cast<DWORD>(REGDB_E_READREGDB),
        static_cast<DWORD>(CO_E_NOTINITIALIZED),
        static_cast<DWORD>(CO_E_DLLNOTFOUND),
        static_cast<DWORD>(CO_E_ERRORINDLL),
        static_cast<DWORD>(SELFREG_E_CLASS),
        static_cast<DWORD>(DISP_E_MEMBERNOTFOUND),
    };
    for (DWORD code : codes) {
        std::u16string text = SystemText(code);
        ASSERT_GT(text.size(), 2u) << std::hex << code;
        EXPECT_EQ(text.substr(text.size() - 2), u"\r\n") << std::hex << code;
    }
}

TEST(SystemMessages, UnknownCodeFails) {
    SetLastError(0);
    EXPECT_EQ(SystemText(0x0000FFFE), u"");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND));
    SetLastError(0);
    EXPECT_EQ(SystemText(0x8004FFFE), u"");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND));
}

TEST(SystemMessages, CallerBufferMustHoldTheTextAndItsNul) {
    const std::u16string expected = u"Access is denied.\r\n";
    const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    WCHAR buf[64];
    std::fill(std::begin(buf), std::end(buf), u'#');
    EXPECT_EQ(FormatMessageW(flags, nullptr, ERROR_ACCESS_DENIED, 0, buf, expected.size() + 1, nullptr),
              expected.size());
    EXPECT_EQ(std::u16string(buf), expected);

    std::fill(std::begin(buf), std::end(buf), u'#');
    SetLastError(0);
    EXPECT_EQ(FormatMessageW(flags, nullptr, ERROR_ACCESS_DENIED, 0, buf, expected.size(), nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(buf[expected.size()], u'#');

    EXPECT_EQ(FormatMessageW(flags, nullptr, ERROR_ACCESS_DENIED, 0, nullptr, 64, nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(SystemMessages, InsertsLineBreaksAndLanguage) {
    // Ignored inserts stay in the text; a text with inserts cannot be had
    // without either arguments or the flag.
    EXPECT_EQ(SystemText(ERROR_MR_MID_NOT_FOUND),
              u"The system cannot find message text for message number 0x%1 in the message file for %2.\r\n");
    SetLastError(0);
    EXPECT_EQ(SystemText(ERROR_MR_MID_NOT_FOUND, FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER), u"");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    // A text without inserts needs no flag.
    EXPECT_EQ(SystemText(ERROR_FILE_EXISTS, FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER),
              u"The file exists.\r\n");

    // The maximum width puts the text on one line.
    EXPECT_EQ(SystemText(ERROR_FILE_EXISTS, kSystemFlags | FORMAT_MESSAGE_MAX_WIDTH_MASK), u"The file exists. ");

    LPWSTR text = nullptr;
    const DWORD usEnglish = 0x0409;
    EXPECT_EQ(FormatMessageW(kSystemFlags, nullptr, ERROR_FILE_EXISTS, usEnglish, reinterpret_cast<LPWSTR>(&text), 0,
                             nullptr),
              18u);
    LocalFree(text);
}

TEST(SystemMessages, AllocationFailure) {
    host::FailCall("LocalAlloc", 1, ERROR_NOT_ENOUGH_MEMORY);
    SetLastError(0);
    EXPECT_EQ(SystemText(ERROR_FILE_NOT_FOUND), u"");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    host::ClearFaults();
    EXPECT_EQ(SystemText(ERROR_FILE_NOT_FOUND), u"The system cannot find the file specified.\r\n");
}

}  // namespace
