// What the platform's registry does, as the system and the emulator rely on.
#include <TempDevice.h>
#include <coredll_host.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

HKEY Create(HKEY parent, LPCWSTR path, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(parent, path, 0, nullptr, 0, 0, nullptr, &key, disposition));
    return key;
}

LONG SetBytes(HKEY key, LPCWSTR name, DWORD type, const void* data, DWORD size) {
    return RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
}

LONG SetDword(HKEY key, LPCWSTR name, DWORD value) { return SetBytes(key, name, REG_DWORD, &value, sizeof value); }

DWORD SizeOf(HKEY key, LPCWSTR name) {
    DWORD size = 0xDEAD;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size));
    return size;
}

class RegistryTest : public ::testing::Test {
protected:
    testing_support::TempDevice device_;
};

TEST_F(RegistryTest, StringsComeBackWithExactlyTheBytesStored) {
    HKEY key = Create(HKEY_LOCAL_MACHINE, TEXT("Software\\Orvane\\Lumenrest"));
    const WCHAR text[] = TEXT("Hello");
    ASSERT_EQ(ERROR_SUCCESS, SetBytes(key, TEXT("Bare"), REG_SZ, text, 10));
    ASSERT_EQ(ERROR_SUCCESS, SetBytes(key, TEXT("Terminated"), REG_SZ, text, 12));
    ASSERT_EQ(ERROR_SUCCESS, SetBytes(key, TEXT("Empty"), REG_SZ, nullptr, 0));
    EXPECT_EQ(10u, SizeOf(key, TEXT("Bare")));
    EXPECT_EQ(12u, SizeOf(key, TEXT("Terminated")));
    EXPECT_EQ(0u, SizeOf(key, TEXT("Empty")));

    // No terminator is added to a value stored without one.
    WCHAR buffer[8];
    std::memset(buffer, 0xAA, sizeof buffer);
    DWORD type = 0, size = sizeof buffer;
    ASSERT_EQ(ERROR_SUCCESS,
              RegQueryValueExW(key, TEXT("Bare"), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size));
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_EQ(10u, size);
    EXPECT_EQ(0, std::memcmp(buffer, text, 10));
    EXPECT_EQ(0xAAAA, buffer[5]);

    size = sizeof buffer;
    ASSERT_EQ(ERROR_SUCCESS,
              RegQueryValueExW(key, TEXT("Terminated"), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size));
    EXPECT_EQ(12u, size);
    EXPECT_EQ(0, buffer[5]);

    // A 4-byte query of a longer value leaves the preset variable alone and
    // tells the size needed.
    DWORD preset = 7;
    size = sizeof preset;
    EXPECT_EQ(ERROR_MORE_DATA,
              RegQueryValueExW(key, TEXT("Bare"), nullptr, &type, reinterpret_cast<BYTE*>(&preset), &size));
    EXPECT_EQ(7u, preset);
    EXPECT_EQ(10u, size);

    // Any 4-byte value reads as a DWORD, whatever its type.
    ASSERT_EQ(ERROR_SUCCESS, SetBytes(key, TEXT("Flag"), REG_BINARY, "\x01\x00\x00\x00", 4));
    size = sizeof preset;
    ASSERT_EQ(ERROR_SUCCESS,
              RegQueryValueExW(key, TEXT("Flag"), nullptr, &type, reinterpret_cast<BYTE*>(&preset), &size));
    EXPECT_EQ(1u, preset);
    EXPECT_EQ(DWORD(REG_BINARY), type);

    size = sizeof preset;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegQueryValueExW(key, TEXT("Missing"), nullptr, nullptr, reinterpret_cast<BYTE*>(&preset), &size));
    EXPECT_EQ(1u, preset);
    EXPECT_EQ(ERROR_INVALID_PARAMETER,
              RegQueryValueExW(key, TEXT("Bare"), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), nullptr));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, SetBytes(key, TEXT("X"), REG_BINARY, nullptr, 4));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(key));
}

TEST_F(RegistryTest, DefaultValueIsTheUnnamedOne) {
    HKEY key = Create(HKEY_CLASSES_ROOT, TEXT("CLSID\\{79FEEFFE-10DE-4b52-B17C-2E5E1CA66B0D}\\InprocServer32"));
    const WCHAR module[] = TEXT("Lumenrest.dll");
    ASSERT_EQ(ERROR_SUCCESS, SetBytes(key, nullptr, REG_SZ, module, sizeof module));
    EXPECT_EQ(sizeof module, SizeOf(key, TEXT("")));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueW(key, TEXT("")));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExW(key, nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueW(key, nullptr));
    RegCloseKey(key);
}

TEST_F(RegistryTest, NamesCompareWithoutCaseAndKeepTheirSpelling) {
    DWORD disposition = 0;
    HKEY key = Create(HKEY_CURRENT_USER, TEXT("ControlPanel\\Profiles\\Встреча"), &disposition);
    EXPECT_EQ(DWORD(REG_CREATED_NEW_KEY), disposition);
    ASSERT_EQ(ERROR_SUCCESS, SetDword(key, TEXT("ShowDR"), 1));
    ASSERT_EQ(ERROR_SUCCESS, SetDword(key, TEXT("SHOWDR"), 2));  // the same value
    RegCloseKey(key);

    HKEY again = Create(HKEY_CURRENT_USER, TEXT("controlpanel\\PROFILES\\ВСТРЕЧА"), &disposition);
    EXPECT_EQ(DWORD(REG_OPENED_EXISTING_KEY), disposition);
    DWORD value = 0, size = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS,
              RegQueryValueExW(again, TEXT("showdr"), nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size));
    EXPECT_EQ(2u, value);
    WCHAR name[32];
    DWORD chars = 32;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumValueW(again, 0, name, &chars, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(std::u16string(TEXT("ShowDR")), std::u16string(name, chars));
    RegCloseKey(again);

    HKEY profiles = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("CONTROLPANEL\\profiles"), 0, 0, &profiles));
    chars = 32;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumKeyExW(profiles, 0, name, &chars, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(std::u16string(TEXT("Встреча")), std::u16string(name, chars));
    RegCloseKey(profiles);
}

TEST_F(RegistryTest, PathsMayStartWithABackslashAndAnEmptyPathReopensTheKey) {
    HKEY clsid = Create(HKEY_CLASSES_ROOT, TEXT("\\CLSID\\{79FEEFFE-10DE-4b52-B17C-2E5E1CA66B0D}"));
    HKEY opened = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExW(HKEY_CLASSES_ROOT, TEXT("CLSID\\{79FEEFFE-10DE-4B52-B17C-2E5E1CA66B0D}"), 0, 0, &opened));
    EXPECT_NE(clsid, opened);

    HKEY same = nullptr, same2 = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(opened, nullptr, 0, 0, &same));
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(opened, TEXT(""), 0, 0, &same2));
    ASSERT_EQ(ERROR_SUCCESS, SetDword(same, TEXT("Seen"), 5));
    EXPECT_EQ(4u, SizeOf(clsid, TEXT("Seen")));
    EXPECT_EQ(4u, SizeOf(same2, TEXT("Seen")));

    HKEY missing = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExW(HKEY_CLASSES_ROOT, TEXT("CLSID\\Nothing"), 0, 0, &missing));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegOpenKeyExW(HKEY_CLASSES_ROOT, TEXT("CLSID\\\\Double"), 0, 0, &missing));
    std::u16string tooLong(256, u'k');
    EXPECT_EQ(ERROR_INVALID_PARAMETER,
              RegCreateKeyExW(HKEY_CLASSES_ROOT, tooLong.c_str(), 0, nullptr, 0, 0, nullptr, &missing, nullptr));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegOpenKeyExW(HKEY_CLASSES_ROOT, TEXT("CLSID"), 0, 0, nullptr));
    for (HKEY k : {clsid, opened, same, same2}) EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(k));
}

TEST_F(RegistryTest, DeletingAKeyTakesItsSubtreeAndStalesItsHandles) {
    HKEY deep = Create(HKEY_LOCAL_MACHINE, TEXT("Software\\A\\B\\C"));
    ASSERT_EQ(ERROR_SUCCESS, SetDword(deep, TEXT("V"), 1));
    HKEY a = Create(HKEY_LOCAL_MACHINE, TEXT("Software\\A"));
    HKEY sibling = Create(HKEY_LOCAL_MACHINE, TEXT("Software\\Keep"));

    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_LOCAL_MACHINE, TEXT("Software\\A")));
    HKEY probe = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("Software\\A\\B\\C"), 0, 0, &probe));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteKeyW(HKEY_LOCAL_MACHINE, TEXT("Software\\A")));
    EXPECT_EQ(ERROR_SUCCESS, SetDword(sibling, TEXT("Still"), 1));

    // Handles of the deleted keys fail from now on, but still close.
    DWORD size = 0;
    EXPECT_EQ(ERROR_KEY_DELETED, RegQueryValueExW(deep, TEXT("V"), nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_KEY_DELETED, SetDword(deep, TEXT("V"), 2));
    EXPECT_EQ(ERROR_KEY_DELETED, RegCreateKeyExW(a, TEXT("New"), 0, nullptr, 0, 0, nullptr, &probe, nullptr));
    EXPECT_EQ(ERROR_KEY_DELETED, RegQueryInfoKeyW(a, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                  nullptr, nullptr, nullptr, nullptr));
    // Recreating the key does not bring the old handle back.
    HKEY recreated = Create(HKEY_LOCAL_MACHINE, TEXT("Software\\A"));
    WCHAR name[8];
    DWORD chars = 8;
    EXPECT_EQ(ERROR_KEY_DELETED, RegEnumKeyExW(a, 0, name, &chars, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(a));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(a));
    EXPECT_EQ(ERROR_INVALID_HANDLE, SetDword(a, TEXT("V"), 1));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(reinterpret_cast<HKEY>(0x1234)));
    EXPECT_EQ(ERROR_INVALID_HANDLE, SetDword(nullptr, TEXT("V"), 1));

    // The roots themselves cannot go.
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyW(HKEY_LOCAL_MACHINE, TEXT("")));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegDeleteKeyW(HKEY_LOCAL_MACHINE, nullptr));
    for (HKEY k : {deep, sibling, recreated}) RegCloseKey(k);
}

TEST_F(RegistryTest, EnumerationFollowsCreationOrderAndInfoCountsCharacters) {
    HKEY profiles = Create(HKEY_CURRENT_USER, TEXT("ControlPanel\\Profiles"));
    for (LPCWSTR name : {TEXT("Normal"), TEXT("Silent"), TEXT("Automatic")}) RegCloseKey(Create(profiles, name));
    const WCHAR active[] = TEXT("Normal");
    ASSERT_EQ(ERROR_SUCCESS, SetBytes(profiles, TEXT("ActiveProfile"), REG_SZ, active, sizeof active));
    ASSERT_EQ(ERROR_SUCCESS, SetDword(profiles, TEXT("Z"), 3));
    ASSERT_EQ(ERROR_SUCCESS, SetBytes(profiles, TEXT("ActiveProfile"), REG_SZ, active, 12));  // rewritten in place

    DWORD subkeys = 0, maxSubkey = 0, values = 0, maxValueName = 0, maxData = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryInfoKeyW(profiles, nullptr, nullptr, nullptr, &subkeys, &maxSubkey, nullptr,
                                              &values, &maxValueName, &maxData, nullptr, nullptr));
    EXPECT_EQ(3u, subkeys);
    EXPECT_EQ(9u, maxSubkey);  // "Automatic"
    EXPECT_EQ(2u, values);
    EXPECT_EQ(13u, maxValueName);  // "ActiveProfile"
    EXPECT_EQ(12u, maxData);

    std::vector<std::u16string> names;
    WCHAR name[260];
    DWORD chars = 260;
    for (DWORD i = 0; RegEnumKeyExW(profiles, i, name, &chars, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, chars = 260)
        names.emplace_back(name, chars);
    EXPECT_EQ((std::vector<std::u16string>{TEXT("Normal"), TEXT("Silent"), TEXT("Automatic")}), names);
    chars = 260;
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumKeyExW(profiles, 3, name, &chars, nullptr, nullptr, nullptr, nullptr));
    chars = 6;  // "Normal" needs 7 with its NUL
    EXPECT_EQ(ERROR_MORE_DATA, RegEnumKeyExW(profiles, 0, name, &chars, nullptr, nullptr, nullptr, nullptr));

    DWORD type = 0, size = 4;
    BYTE data[16];
    chars = 260;
    ASSERT_EQ(ERROR_MORE_DATA, RegEnumValueW(profiles, 0, name, &chars, nullptr, &type, data, &size));
    EXPECT_EQ(12u, size);
    EXPECT_EQ(DWORD(REG_SZ), type);
    chars = 260;
    size = sizeof data;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumValueW(profiles, 1, name, &chars, nullptr, &type, data, &size));
    EXPECT_EQ(std::u16string(TEXT("Z")), std::u16string(name, chars));
    EXPECT_EQ(4u, size);
    chars = 260;
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumValueW(profiles, 2, name, &chars, nullptr, nullptr, nullptr, nullptr));
    RegCloseKey(profiles);
}

TEST_F(RegistryTest, ClassesAreKeptForTheKeyAskedFor) {
    WCHAR cls[] = TEXT("Widget");
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("Comm\\Port"), 0, cls, 0, 0, nullptr, &key, nullptr));
    WCHAR out[16];
    DWORD chars = 3;
    EXPECT_EQ(ERROR_MORE_DATA, RegQueryInfoKeyW(key, out, &chars, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                nullptr, nullptr, nullptr));
    EXPECT_EQ(6u, chars);
    HKEY comm = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("Comm"), 0, 0, &comm));
    WCHAR name[16];
    DWORD nameChars = 16;
    chars = 16;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumKeyExW(comm, 0, name, &nameChars, nullptr, out, &chars, nullptr));
    EXPECT_EQ(std::u16string(TEXT("Widget")), std::u16string(out, chars));
    chars = 16;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryInfoKeyW(comm, out, &chars, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                              nullptr, nullptr, nullptr));
    EXPECT_EQ(0u, chars);
    RegCloseKey(comm);
    RegCloseKey(key);
}

TEST_F(RegistryTest, BatchIsAllOrNothing) {
    ASSERT_TRUE(host::BeginRegistryBatch());
    HKEY key = Create(HKEY_LOCAL_MACHINE, TEXT("System\\State"));
    ASSERT_EQ(ERROR_SUCCESS, SetDword(key, TEXT("Lock"), 1));
    RegCloseKey(key);
    host::RollbackRegistryBatch();
    HKEY probe = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("System"), 0, 0, &probe));

    // A call that finds nothing inside a batch does not spoil it.
    ASSERT_TRUE(host::BeginRegistryBatch());
    key = Create(HKEY_LOCAL_MACHINE, TEXT("System\\State"));
    ASSERT_EQ(ERROR_SUCCESS, SetDword(key, TEXT("Lock"), 0));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueW(key, TEXT("Missing")));
    RegCloseKey(key);
    ASSERT_TRUE(host::CommitRegistryBatch());
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("System\\State"), 0, 0, &probe));
    EXPECT_EQ(4u, SizeOf(probe, TEXT("Lock")));
    RegCloseKey(probe);
    EXPECT_FALSE(host::CommitRegistryBatch());
}

TEST_F(RegistryTest, WithoutADeviceCallsFailQuietly) {
    HKEY key = Create(HKEY_LOCAL_MACHINE, TEXT("Software"));
    host::CloseDevice();
    HKEY probe = nullptr;
    EXPECT_EQ(ERROR_CANTOPEN, RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("Software"), 0, 0, &probe));
    EXPECT_NE(ERROR_SUCCESS, SetDword(key, TEXT("V"), 1));
    EXPECT_FALSE(host::BeginRegistryBatch());
    // A handle of an earlier device is not one of the next device's keys.
    ASSERT_TRUE(host::OpenDevice(device_.folder()));
    EXPECT_EQ(ERROR_INVALID_HANDLE, SetDword(key, TEXT("V"), 1));
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("Software"), 0, 0, &probe));
    RegCloseKey(probe);

    host::FailCall("RegQueryValueExW", 1, ERROR_ACCESS_DENIED);
    DWORD size = 0;
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegQueryValueExW(HKEY_LOCAL_MACHINE, TEXT("V"), nullptr, nullptr, nullptr, &size));
}

// One process rewrites a large value and a whole subtree over and over
// while another reads them: every read sees one complete write.
TEST(RegistryProcesses, ReadersNeverSeeHalfAWrite) {
    testing_support::TempFolder folder;
    constexpr DWORD kRounds = 200;
    constexpr DWORD kSubkeys = 10;
    auto sizeOf = [](DWORD round) { return 48 * 1024 + (round % 7) * 1000; };
    auto fill = [](DWORD round) { return static_cast<BYTE>(round * 31 + 7); };

    pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        if (!host::OpenDevice(folder.path())) _exit(10);
        std::vector<BYTE> data;
        for (DWORD round = 1; round <= kRounds; ++round) {
            data.assign(sizeOf(round), fill(round));
            std::memcpy(data.data(), &round, sizeof round);
            if (SetBytes(HKEY_LOCAL_MACHINE, TEXT("Blob"), REG_BINARY, data.data(), static_cast<DWORD>(data.size())))
                _exit(11);
            if (!host::BeginRegistryBatch()) _exit(12);
            RegDeleteKeyW(HKEY_LOCAL_MACHINE, TEXT("Tree"));
            HKEY tree = nullptr;
            if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("Tree"), 0, nullptr, 0, 0, nullptr, &tree, nullptr)) _exit(13);
            for (DWORD i = 0; i < kSubkeys; ++i) {
                WCHAR name[] = TEXT("K0");
                name[1] = static_cast<WCHAR>(u'0' + i);
                HKEY sub = nullptr;
                if (RegCreateKeyExW(tree, name, 0, nullptr, 0, 0, nullptr, &sub, nullptr)) _exit(14);
                SetDword(sub, TEXT("Round"), round);
                RegCloseKey(sub);
            }
            RegCloseKey(tree);
            if (!host::CommitRegistryBatch()) _exit(15);
        }
        _exit(0);
    }

    ASSERT_TRUE(host::OpenDevice(folder.path()));
    int status = 0, blobs = 0, trees = 0;
    std::vector<BYTE> data(64 * 1024);
    bool running = true;
    while (running) {
        running = waitpid(child, &status, WNOHANG) == 0;
        DWORD size = static_cast<DWORD>(data.size());
        if (RegQueryValueExW(HKEY_LOCAL_MACHINE, TEXT("Blob"), nullptr, nullptr, data.data(), &size) == ERROR_SUCCESS) {
            DWORD round = 0;
            std::memcpy(&round, data.data(), sizeof round);
            ASSERT_EQ(sizeOf(round), size) << "round " << round;
            for (DWORD i = sizeof round; i < size; ++i) ASSERT_EQ(fill(round), data[i]) << "round " << round;
            ++blobs;
        }
        HKEY tree = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("Tree"), 0, 0, &tree) == ERROR_SUCCESS) {
            DWORD subkeys = 0;
            LONG rc = RegQueryInfoKeyW(tree, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr);
            // The tree read is either whole or, if it went after the open, gone.
            if (rc == ERROR_SUCCESS) {
                EXPECT_EQ(kSubkeys, subkeys);
                ++trees;
            } else {
                EXPECT_EQ(ERROR_KEY_DELETED, rc);
            }
            RegCloseKey(tree);
        }
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status));
    EXPECT_GT(blobs, 0);
    EXPECT_GT(trees, 0);
}

}  // namespace
