// Enumerating and deleting large registry trees: a walk in index order
// sees exactly what random access at that index sees, whatever is written
// in between, and a tree of any depth or width goes whole.
#include <TempDevice.h>
#include <coredll_host.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

HKEY Create(HKEY parent, const std::u16string& path) {
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(parent, path.c_str(), 0, nullptr, 0, 0, nullptr, &key, nullptr));
    return key;
}

std::u16string Name(const char* prefix, int n) {
    std::string text = prefix + std::to_string(n);
    return std::u16string(text.begin(), text.end());
}

void SetDword(HKEY key, const std::u16string& name, DWORD value) {
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value));
}

// What RegEnumValueW gives at index: the name, or "" for ERROR_NO_MORE_ITEMS.
std::u16string ValueAt(HKEY key, DWORD index) {
    WCHAR name[64];
    DWORD chars = 64;
    LONG rc = RegEnumValueW(key, index, name, &chars, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) return u"";
    EXPECT_EQ(rc, ERROR_SUCCESS);
    return std::u16string(name, chars);
}

std::u16string SubkeyAt(HKEY key, DWORD index) {
    WCHAR name[64];
    DWORD chars = 64;
    LONG rc = RegEnumKeyExW(key, index, name, &chars, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) return u"";
    EXPECT_EQ(rc, ERROR_SUCCESS);
    return std::u16string(name, chars);
}

// The same index asked through a handle that has enumerated nothing yet.
template <class At>
std::u16string Fresh(const std::u16string& path, DWORD index, At at) {
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, 0, &key));
    std::u16string name = at(key, index);
    RegCloseKey(key);
    return name;
}

class RegistryEnumeration : public ::testing::Test {
protected:
    testing_support::TempDevice device_;
};

TEST_F(RegistryEnumeration, AWalkStaysExactAcrossInterleavedWritesAndDeletes) {
    HKEY key = Create(HKEY_CURRENT_USER, u"Walk");
    for (int i = 0; i < 40; ++i) {
        SetDword(key, Name("v", i), i);
        RegCloseKey(Create(key, Name("k", i)));
    }
    // Another handle of the same key writes as the walk goes: deletes before
    // and after the walk's place, adds at the end, rewrites in place.
    HKEY other = Create(HKEY_CURRENT_USER, u"Walk");
    int added = 0;
    for (DWORD index = 0;; ++index) {
        std::u16string value = ValueAt(key, index);
        std::u16string subkey = SubkeyAt(key, index);
        EXPECT_EQ(value, Fresh(u"Walk", index, ValueAt)) << index;
        EXPECT_EQ(subkey, Fresh(u"Walk", index, SubkeyAt)) << index;
        // Asked again, the same index gives the same entry.
        EXPECT_EQ(ValueAt(key, index), value);
        EXPECT_EQ(SubkeyAt(key, index), subkey);
        if (value.empty() && subkey.empty()) break;
        switch (index % 4) {
            case 0:
                RegDeleteValueW(other, Name("v", index / 2).c_str());
                RegDeleteKeyW(other, Name("k", index / 2).c_str());
                break;
            case 1:
                SetDword(other, Name("new", added), 0);
                RegCloseKey(Create(other, Name("new", added++)));
                break;
            case 2:
                SetDword(other, Name("v", 39), 7);
                break;
            case 3:
                if (index + 3 < 40) {
                    RegDeleteValueW(other, Name("v", index + 3).c_str());
                    RegDeleteKeyW(other, Name("k", index + 3).c_str());
                }
                break;
        }
    }
    // Random access, backwards, still holds.
    EXPECT_EQ(ValueAt(key, 0), Fresh(u"Walk", 0, ValueAt));
    EXPECT_EQ(SubkeyAt(key, 5), Fresh(u"Walk", 5, SubkeyAt));
    EXPECT_EQ(ValueAt(key, 3), Fresh(u"Walk", 3, ValueAt));
    RegCloseKey(other);
    RegCloseKey(key);
}

TEST_F(RegistryEnumeration, AWalkOfTheWholeKeySeesEveryEntryOnceInOrder) {
    HKEY key = Create(HKEY_CURRENT_USER, u"Wide");
    ASSERT_TRUE(host::BeginRegistryBatch());
    constexpr int kCount = 5000;
    for (int i = 0; i < kCount; ++i) {
        SetDword(key, Name("v", i), i);
        RegCloseKey(Create(key, Name("k", i)));
    }
    ASSERT_TRUE(host::CommitRegistryBatch());
    for (int i = 0; i < kCount; ++i) {
        ASSERT_EQ(ValueAt(key, i), Name("v", i));
        ASSERT_EQ(SubkeyAt(key, i), Name("k", i));
    }
    EXPECT_EQ(ValueAt(key, kCount), u"");
    EXPECT_EQ(SubkeyAt(key, kCount), u"");
    DWORD subkeys = 0, values = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                              nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(subkeys, static_cast<DWORD>(kCount));
    EXPECT_EQ(values, static_cast<DWORD>(kCount));
    RegCloseKey(key);
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_CURRENT_USER, u"Wide"));
}

TEST_F(RegistryEnumeration, AKeyHundredThousandLevelsDeepIsDeletedWhole) {
    constexpr int kDepth = 100000;
    ASSERT_TRUE(host::BeginRegistryBatch());
    HKEY key = Create(HKEY_CURRENT_USER, u"Deep");
    for (int level = 0; level < kDepth; ++level) {
        HKEY child = Create(key, u"d");
        RegCloseKey(key);
        key = child;
    }
    SetDword(key, u"bottom", 1);
    RegCloseKey(key);
    ASSERT_TRUE(host::CommitRegistryBatch());

    HKEY deep = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, u"Deep", 0, 0, &deep));
    DWORD subkeys = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyW(deep, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                                              nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(subkeys, 1u);
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_CURRENT_USER, u"Deep"));
    // The handle of the deleted key is stale; nothing of the tree is left.
    WCHAR name[8];
    DWORD chars = 8;
    EXPECT_EQ(ERROR_KEY_DELETED, RegEnumKeyExW(deep, 0, name, &chars, nullptr, nullptr, nullptr, nullptr));
    RegCloseKey(deep);
    HKEY gone = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExW(HKEY_CURRENT_USER, u"Deep", 0, 0, &gone));
    EXPECT_EQ(SubkeyAt(HKEY_CURRENT_USER, 0), u"");
}

}  // namespace
