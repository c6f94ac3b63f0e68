// The module loader and COM activation.
#include <TempDevice.h>
#include <coredll_host.h>
#include <screen_host.h>
#include <gtest/gtest.h>
#include <objbase.h>

namespace {

DEFINE_GUID(CLSID_Probe, 0x6F0B5C2E, 0x9A51, 0x4C1E, 0x8E, 0x2B, 0x3B, 0x7D, 0x2B, 0x6A, 0x1C, 0x01);
DEFINE_GUID(CLSID_Nobody, 0x11111111, 0x2222, 0x3333, 0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55);

DWORD ProbeCount(LPCWSTR name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("LoaderProbe"), 0, 0, &key) != ERROR_SUCCESS) return 0;
    DWORD value = 0, size = sizeof value;
    RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return value;
}

void RegisterProbeClass(LPCWSTR module) {
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CLASSES_ROOT, TEXT("\\CLSID\\{6f0b5c2e-9a51-4c1e-8e2b-3b7d2b6a1c01}\\InprocServer32"), 0,
                        nullptr, 0, 0, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(module),
                   static_cast<DWORD>((wcslen(module) + 1) * sizeof(WCHAR)));
    RegCloseKey(key);
}

DWORD ReadDword(LPCWSTR subkey, LPCWSTR name) {
    HKEY key = nullptr;
    DWORD value = 0xFFFFFFFF, size = sizeof value;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey, 0, 0, &key) != ERROR_SUCCESS) return value;
    RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return value;
}

std::u16string ReadText(HKEY root, LPCWSTR subkey, LPCWSTR name) {
    HKEY key = nullptr;
    WCHAR text[256] = {};
    DWORD size = sizeof text - sizeof(WCHAR);
    if (RegOpenKeyExW(root, subkey, 0, 0, &key) != ERROR_SUCCESS) return u"<no key>";
    RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    return text;
}

class Modules : public ::testing::Test {
protected:
    testing_support::TempDevice device;
};

TEST_F(Modules, EntryIsCalledOnceAtFirstLoadAndAtLastFree) {
    HMODULE a = LoadLibraryW(TEXT("LoaderProbe.dll"));
    ASSERT_NE(a, nullptr);
    HMODULE b = LoadLibraryW(TEXT("\\Windows\\LOADERPROBE.DLL"));  // names compare without case, paths are dropped
    EXPECT_EQ(a, b);
    EXPECT_EQ(GetModuleHandleW(TEXT("loaderprobe.dll")), a);
    EXPECT_EQ(ProbeCount(TEXT("Attach")), 1u);

    auto probe = reinterpret_cast<int (*)()>(GetProcAddressW(a, TEXT("ProbeValue")));
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe(), 42);

    EXPECT_TRUE(FreeLibrary(b));
    EXPECT_EQ(ProbeCount(TEXT("Detach")), 0u);
    EXPECT_TRUE(FreeLibrary(a));
    EXPECT_EQ(ProbeCount(TEXT("Detach")), 1u);
    EXPECT_EQ(GetModuleHandleW(TEXT("LoaderProbe.dll")), nullptr);
    EXPECT_FALSE(FreeLibrary(a));  // a stale handle
    EXPECT_EQ(GetProcAddressW(a, TEXT("ProbeValue")), nullptr);

    HMODULE again = LoadLibraryW(TEXT("LoaderProbe"));  // ".dll" is implied
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(ProbeCount(TEXT("Attach")), 2u);
    FreeLibrary(again);
}

TEST_F(Modules, FailuresReturnNullWithTheLastErrorSet) {
    SetLastError(0);
    EXPECT_EQ(LoadLibraryW(TEXT("NoSuchModule.dll")), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

    EXPECT_EQ(LoadLibraryW(TEXT("FailingInit.dll")), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
    EXPECT_EQ(GetModuleHandleW(TEXT("FailingInit.dll")), nullptr);

    HMODULE module = LoadLibraryW(TEXT("LoaderProbe.dll"));
    ASSERT_NE(module, nullptr);
    SetLastError(0);
    EXPECT_EQ(GetProcAddressW(module, TEXT("NoSuchEntry")), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    // Only the exported names are visible.
    EXPECT_EQ(GetProcAddressW(module, TEXT("_ZN12_GLOBAL__N_15CountEPKDs")), nullptr);
    FreeLibrary(module);
}

TEST_F(Modules, AModulesFileNameLoadsTheSameModuleAgain) {
    HMODULE module = LoadLibraryW(TEXT("LoaderProbe.dll"));
    ASSERT_NE(module, nullptr);
    WCHAR name[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(module, name, MAX_PATH);
    EXPECT_EQ(std::u16string(name, length), u"\\Windows\\LoaderProbe.dll");
    // Loading the module by that name takes a reference on the same module:
    // one FreeLibrary later it is still loaded.
    EXPECT_EQ(LoadLibraryW(name), module);
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(GetModuleHandleW(TEXT("LoaderProbe.dll")), module);
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(GetModuleHandleW(TEXT("LoaderProbe.dll")), nullptr);

    // Cut to the buffer, always terminated; the program is an .exe.
    WCHAR small[5];
    EXPECT_EQ(GetModuleFileNameW(GetModuleHandleW(TEXT("coredll.dll")), small, 5), 4u);
    EXPECT_EQ(std::u16string(small), u"\\Win");
    length = GetModuleFileNameW(nullptr, name, MAX_PATH);
    ASSERT_GT(length, 4u);
    EXPECT_EQ(std::u16string(name + length - 4), u".exe");
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(0x7777), name, MAX_PATH), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(Modules, TheKernelIsAlwaysLoaded) {
    HMODULE core = LoadLibraryW(TEXT("coredll.dll"));
    ASSERT_NE(core, nullptr);
    EXPECT_EQ(GetModuleHandleW(TEXT("COREDLL.DLL")), core);
    EXPECT_NE(GetProcAddressW(core, TEXT("LoadLibraryW")), nullptr);
    EXPECT_TRUE(FreeLibrary(core));
    EXPECT_TRUE(FreeLibrary(core));  // never unloaded
    EXPECT_NE(GetModuleHandleW(nullptr), nullptr);
}

TEST_F(Modules, CoCreateInstanceGoesThroughTheRegistryAndTheLoader) {
    IUnknown* object = nullptr;
    EXPECT_EQ(
        CoCreateInstance(CLSID_Probe, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&object)),
        CO_E_NOTINITIALIZED);
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
    CoUninitialize();

    EXPECT_EQ(
        CoCreateInstance(CLSID_Probe, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&object)),
        REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);

    RegisterProbeClass(TEXT("Missing.dll"));
    EXPECT_EQ(
        CoCreateInstance(CLSID_Probe, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&object)),
        CO_E_DLLNOTFOUND);

    RegisterProbeClass(TEXT("LoaderProbe.dll"));
    ASSERT_EQ(
        CoCreateInstance(CLSID_Probe, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&object)),
        S_OK);
    ASSERT_NE(object, nullptr);
    IUnknown* outer = object;
    IUnknown* aggregated = nullptr;
    EXPECT_EQ(
        CoCreateInstance(CLSID_Probe, outer, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&aggregated)),
        CLASS_E_NOAGGREGATION);
    EXPECT_EQ(CoCreateInstance(CLSID_Nobody, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&aggregated)),
              REGDB_E_CLASSNOTREG);

    // The server stays while its object lives, and goes once it allows.
    CoFreeUnusedLibraries();
    EXPECT_NE(GetModuleHandleW(TEXT("LoaderProbe.dll")), nullptr);
    object->Release();
    CoFreeUnusedLibraries();
    EXPECT_EQ(GetModuleHandleW(TEXT("LoaderProbe.dll")), nullptr);
    EXPECT_EQ(ProbeCount(TEXT("Detach")), 1u);

    host::FailCall("CoCreateInstance", 1, E_OUTOFMEMORY);
    EXPECT_EQ(
        CoCreateInstance(CLSID_Probe, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&object)),
        E_OUTOFMEMORY);
    EXPECT_EQ(object, nullptr);
    CoUninitialize();
}

TEST_F(Modules, AProgramRunsItsWinMainOnAThreadOfItsOwnAndKeepsItsExitCode) {
    DWORD thread = 0;
    std::string error;
    ASSERT_TRUE(host::StartProgram(u"ProbeProgram.exe", u"one two", &error, &thread)) << error;
    EXPECT_NE(thread, GetCurrentThreadId());
    ASSERT_TRUE(host::WaitForProgram(thread, 5000));
    std::vector<host::ProgramRun> runs = host::ListPrograms();
    ASSERT_FALSE(runs.empty());
    EXPECT_EQ(runs.back().module, u"ProbeProgram.exe");
    EXPECT_FALSE(runs.back().running);
    EXPECT_EQ(runs.back().exitCode, 107u);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, u"ProbeProgram", u"CommandLine"), u"one two");
    EXPECT_EQ(ReadDword(u"ProbeProgram", u"Show"), static_cast<DWORD>(SW_SHOW));
    EXPECT_EQ(ReadDword(u"ProbeProgram", u"OwnInstance"), 1u);
    EXPECT_EQ(ReadDword(u"ProbeProgram", u"Previous"), 0u);
    EXPECT_EQ(GetModuleHandleW(u"ProbeProgram.exe"), nullptr) << "the module goes with the program";

    // While it runs it is listed as running.
    ASSERT_TRUE(host::StartProgram(u"ProbeProgram.exe", u"wait", &error, &thread)) << error;
    EXPECT_TRUE(host::ListPrograms().back().running);
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, u"ProbeProgramGo");
    SetEvent(go);
    ASSERT_TRUE(host::WaitForProgram(thread, 5000));
    CloseHandle(go);
    EXPECT_EQ(host::ListPrograms().back().exitCode, 104u);

    // A program is idle once it waits for messages, not merely once it runs;
    // one that waits for something else is not idle.
    ASSERT_TRUE(host::StartProgram(u"ProbeProgram.exe", u"window", &error, &thread)) << error;
    ASSERT_TRUE(host::WaitForProgramIdle(thread, 5000));
    EXPECT_NE(FindWindowW(nullptr, TEXT("ProbeProgram")), nullptr);
    PostThreadMessageW(thread, WM_QUIT, 0, 0);
    ASSERT_TRUE(host::WaitForProgram(thread, 5000));
    EXPECT_TRUE(host::WaitForProgramIdle(thread, 0)) << "an ended program is idle";
    ASSERT_TRUE(host::StartProgram(u"ProbeProgram.exe", u"wait", &error, &thread)) << error;
    EXPECT_FALSE(host::WaitForProgramIdle(thread, 50));
    go = CreateEventW(nullptr, TRUE, FALSE, u"ProbeProgramGo");
    SetEvent(go);
    ASSERT_TRUE(host::WaitForProgram(thread, 5000));
    CloseHandle(go);

    // What is not a program of the build is refused with a line saying why.
    EXPECT_FALSE(host::StartProgram(u"NoSuchProgram.exe", u"", &error));
    EXPECT_EQ(error, "no program NoSuchProgram.exe in this build");
    EXPECT_FALSE(host::StartProgram(u"LoaderProbe.dll", u"", &error));
    EXPECT_EQ(error, "LoaderProbe.dll is no program (it has no WinMain)");
    EXPECT_EQ(GetModuleHandleW(u"LoaderProbe.dll"), nullptr);
}

TEST(Guids, StringFormRoundTrips) {
    WCHAR text[CHARS_IN_GUID];
    EXPECT_EQ(StringFromGUID2(CLSID_Probe, text, CHARS_IN_GUID), CHARS_IN_GUID);
    EXPECT_EQ(std::u16string(text), u"{6F0B5C2E-9A51-4C1E-8E2B-3B7D2B6A1C01}");
    CLSID parsed{};
    EXPECT_EQ(CLSIDFromString(TEXT("{6f0b5c2e-9a51-4c1e-8e2b-3b7d2b6a1c01}"), &parsed), S_OK);
    EXPECT_TRUE(IsEqualGUID(parsed, CLSID_Probe));
    EXPECT_EQ(CLSIDFromString(TEXT("{6f0b5c2e-9a51-4c1e-8e2b-3b7d2b6a1c0}"), &parsed), CO_E_CLASSSTRING);
    EXPECT_EQ(StringFromGUID2(CLSID_Probe, text, 10), 0);
}

TEST(BStrs, KeepTheirLengthAndTerminator) {
    BSTR s = SysAllocString(TEXT("Dovanne"));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringLen(s), 7u);
    EXPECT_EQ(s[7], 0);
    SysFreeString(s);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);
    BSTR empty = SysAllocStringLen(nullptr, 3);
    EXPECT_EQ(SysStringLen(empty), 3u);
    SysFreeString(empty);
}

}  // namespace
