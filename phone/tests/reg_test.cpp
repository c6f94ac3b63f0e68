// phone reg, end to end through the emulator's command line.
#include "PhoneRunner.h"

#include <TempDevice.h>
#include <coredll_host.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>

namespace {

using phone_test::Result;
using namespace std::string_literals;

class RegCommandTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0, Phone(device_, "init").status); }

    static Result Phone(const testing_support::TempFolder& device, const std::string& args) {
        return phone_test::RunPhone(device.path(), args);
    }
    Result Phone(const std::string& args) { return Phone(device_, args); }

    std::string WriteFile(const std::string& name, const std::string& bytes) {
        return phone_test::WriteBytes(files_, name, bytes);
    }

    // Writes values the command line cannot make, through the platform.
    void WithDevice(const std::function<void()>& body) {
        ASSERT_TRUE(host::OpenDevice(device_.path()));
        body();
        host::CloseDevice();
    }

    testing_support::TempFolder device_, files_;
};

void SetRaw(HKEY root, LPCWSTR path, LPCWSTR name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, path, 0, nullptr, 0, 0, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(key);
}

TEST_F(RegCommandTest, SetGetAndDelete) {
    const std::string key = "'HKLM\\Software\\Orvane\\Lumenrest'";
    EXPECT_EQ(0, Phone("reg set " + key + " PhoneNumLen dword:0x0A").status);
    EXPECT_EQ(0, Phone("reg set " + key + " CustomText 'sz:Доставлено @'").status);
    EXPECT_EQ(0, Phone("reg set " + key + " @ sz:default").status);
    EXPECT_EQ(0, Phone("reg set " + key + "\\\\Sub Raw hex:01,ff").status);

    Result all = Phone("reg get " + key);
    ASSERT_EQ(0, all.status) << all.err;
    EXPECT_EQ(
        "HKEY_LOCAL_MACHINE\\Software\\Orvane\\Lumenrest\n"
        "    PhoneNumLen    REG_DWORD    0xa\n"
        "    CustomText    REG_SZ    Доставлено @\n"
        "    (Default)    REG_SZ    default\n"
        "\n"
        "HKEY_LOCAL_MACHINE\\Software\\Orvane\\Lumenrest\\Sub\n",
        all.out);
    Result one = Phone("reg get HKEY_LOCAL_MACHINE\\\\Software\\\\Orvane\\\\Lumenrest\\\\sub raw");
    EXPECT_EQ("    Raw    REG_BINARY    01FF\n", one.out);

    EXPECT_EQ(0, Phone("reg delete " + key + " customtext").status);
    Result gone = Phone("reg get " + key + " CustomText");
    EXPECT_EQ(1, gone.status);
    EXPECT_NE(std::string::npos, gone.err.find("no value CustomText")) << gone.err;
    EXPECT_EQ(1, Phone("reg delete " + key + " CustomText").status);

    EXPECT_EQ(0, Phone("reg delete 'HKLM\\Software\\Orvane'").status);
    EXPECT_EQ(1, Phone("reg get " + key + "\\\\Sub").status);
    EXPECT_EQ(1, Phone("reg delete HKLM").status);
}

TEST_F(RegCommandTest, ExportThenImportReproducesTheRegistryByteForByte) {
    const WCHAR hello[] = TEXT("Hello");
    const WCHAR multi[] = TEXT("один\0two\0");
    const BYTE odd[] = {0x41, 0x00, 0x42};
    std::vector<BYTE> big(300);
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<BYTE>(i * 7);
    WithDevice([&] {
        const WCHAR* key = TEXT("Software\\Orvane\\Lumenrest");
        SetRaw(HKEY_LOCAL_MACHINE, key, TEXT("CustomText"), REG_SZ, hello, 10);  // as the settings program stores it
        SetRaw(HKEY_LOCAL_MACHINE, key, TEXT("ExcludeProfile"), REG_SZ, nullptr, 0);
        SetRaw(HKEY_LOCAL_MACHINE, key, TEXT("Terminated"), REG_SZ, hello, sizeof hello);
        SetRaw(HKEY_LOCAL_MACHINE, key, TEXT("Odd"), REG_SZ, odd, sizeof odd);
        SetRaw(HKEY_LOCAL_MACHINE, key, TEXT("Short dword"), REG_DWORD, "\x01\x02", 2);
        SetRaw(HKEY_LOCAL_MACHINE, key, TEXT("Quote\"and\\slash"), REG_MULTI_SZ, multi, sizeof multi);
        SetRaw(HKEY_LOCAL_MACHINE, key, TEXT("Big"), REG_BINARY, big.data(), static_cast<DWORD>(big.size()));
        SetRaw(HKEY_LOCAL_MACHINE, key, TEXT("Type 42"), 42, "x", 1);
        SetRaw(HKEY_CURRENT_USER, TEXT("ControlPanel\\Profiles\\Собрание"), TEXT("Name"), REG_SZ, TEXT("Собрание"), 18);
        SetRaw(HKEY_CLASSES_ROOT, TEXT("\\CLSID\\{79FEEFFE-10DE-4b52-B17C-2E5E1CA66B0D}\\InprocServer32"), nullptr,
               REG_SZ, TEXT("Lumenrest.dll"), 28);
    });
    Result first = Phone("reg export");
    ASSERT_EQ(0, first.status) << first.err;
    EXPECT_NE(std::string::npos, first.out.find("\"CustomText\"=hex(1):48,00,65,00,6c,00,6c,00,6f,00\n"));
    EXPECT_NE(std::string::npos, first.out.find("\"Terminated\"=\"Hello\"\n"));
    EXPECT_NE(std::string::npos,
              first.out.find("[HKEY_CURRENT_USER\\ControlPanel\\Profiles\\Собрание]\n\"Name\"=\"Собрание\"\n"));

    testing_support::TempFolder copy;
    ASSERT_EQ(0, Phone(copy, "init").status);
    std::string file = WriteFile("all.reg", first.out);
    Result imported = Phone(copy, "reg import '" + file + "'");
    ASSERT_EQ(0, imported.status) << imported.err;
    Result second = Phone(copy, "reg export");
    EXPECT_EQ(first.out, second.out);

    ASSERT_TRUE(host::OpenDevice(copy.path()));
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("Software\\Orvane\\Lumenrest"), 0, 0, &key));
    WCHAR text[8] = {};
    DWORD type = 0, size = sizeof text;
    ASSERT_EQ(ERROR_SUCCESS,
              RegQueryValueExW(key, TEXT("CustomText"), nullptr, &type, reinterpret_cast<BYTE*>(text), &size));
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_EQ(10u, size);
    EXPECT_EQ(0, std::memcmp(text, hello, 10));
    size = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, TEXT("ExcludeProfile"), nullptr, &type, nullptr, &size));
    EXPECT_EQ(0u, size);
    RegCloseKey(key);
    host::CloseDevice();
}

TEST_F(RegCommandTest, ImportTakesTheCommonFormsOfTheFormat) {
    std::string text =
        "Windows Registry Editor Version 5.00\r\n"
        "\r\n"
        "; profiles as a backup left them\r\n"
        "[-HKEY_CURRENT_USER\\ControlPanel\\Profiles\\Automatic]\r\n"
        "[HKCU\\ControlPanel\\Profiles]\r\n"
        "\"ActiveProfile\"=-\r\n"
        "[HKLM\\Software\\Orvane\\Lumenrest]\r\n"
        "\"CustomText\"=\"Доставлено \\\"@\\\"\"\r\n"
        "\"Data\"=hex:01,02,\\\r\n"
        "  03,04\r\n"
        "@=dword:ffffffff\r\n";
    // UTF-16LE with its byte order mark, as the platform's editor saves.
    std::u16string wide = host::FromUtf8(text);
    std::string bytes = "\xFF\xFE";
    for (char16_t c : wide) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    Result r = Phone("reg import '" + WriteFile("wide.reg", bytes) + "'");
    ASSERT_EQ(0, r.status) << r.err;

    EXPECT_EQ(1, Phone("reg get 'HKCU\\ControlPanel\\Profiles\\Automatic'").status);
    EXPECT_EQ(1, Phone("reg get 'HKCU\\ControlPanel\\Profiles' ActiveProfile").status);
    Result values = Phone("reg get 'HKLM\\Software\\Orvane\\Lumenrest'");
    EXPECT_EQ(
        "HKEY_LOCAL_MACHINE\\Software\\Orvane\\Lumenrest\n"
        "    CustomText    REG_SZ    Доставлено \"@\"\n"
        "    Data    REG_BINARY    01020304\n"
        "    (Default)    REG_DWORD    0xffffffff\n",
        values.out);

    // UTF-8 with a BOM and plain line feeds.
    r = Phone("reg import '" +
              WriteFile("bom.reg",
                        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n\n"
                        "[HKLM\\System\\State]\n\"Lock\"=dword:1\n") +
              "'");
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_EQ("    Lock    REG_DWORD    0x1\n", Phone("reg get 'HKLM\\System\\State' Lock").out);
}

TEST_F(RegCommandTest, BadInputIsOneClearLineAndChangesNothing) {
    std::string before = Phone("reg export").out;
    const char* const kBadFiles[][2] = {
        {"[HKLM\\Software\\A]\n\"Good\"=dword:1\n\"Bad\"=hex:01,zz\n", ":5: "},
        {"[HKLM\\Software\\A]\n\"Good\"=dword:1\n[HKEY_NOWHERE\\X]\n", ":5: "},
        {"[HKLM\\Software\\A]\n\"Unclosed=\"x\"\n", ":4: "},
        {"[HKLM\\Software\\A]\n\"N\"=dword:123456789\n", ":4: "},
        {"[HKLM\\Software\\A\n", ":3: "},
        {"\"Orphan\"=dword:1\n", ":3: "},
    };
    for (const auto& bad : kBadFiles) {
        std::string file = WriteFile("bad.reg", std::string("Windows Registry Editor Version 5.00\n\n") + bad[0]);
        Result r = Phone("reg import '" + file + "'");
        EXPECT_EQ(1, r.status) << bad[0];
        EXPECT_NE(std::string::npos, r.err.find("bad.reg" + std::string(bad[1]))) << r.err;
        EXPECT_EQ(1, std::count(r.err.begin(), r.err.end(), '\n')) << r.err;
    }
    Result notReg = Phone("reg import '" + WriteFile("notes.txt", "just some text\n") + "'");
    EXPECT_EQ(1, notReg.status);
    EXPECT_NE(std::string::npos, notReg.err.find("notes.txt:1: ")) << notReg.err;
    EXPECT_EQ(before, Phone("reg export").out);

    Result missing = Phone("reg import '" + files_.path() + "/missing.reg'");
    EXPECT_EQ(1, missing.status);
    EXPECT_NE(std::string::npos, missing.err.find("missing.reg")) << missing.err;

    Result unknownRoot = Phone("reg get 'HKEY_SOMEWHERE\\Software'");
    EXPECT_EQ(2, unknownRoot.status);
    EXPECT_NE(std::string::npos, unknownRoot.err.find("unknown root key")) << unknownRoot.err;
    EXPECT_EQ(2, Phone("reg set HKLM\\\\X V dword:twelve").status);
    EXPECT_EQ(2, Phone("reg set HKLM\\\\X V").status);
    EXPECT_EQ(2, Phone("reg rename HKLM\\\\X").status);
    EXPECT_EQ(1, Phone("reg export 'HKLM\\No\\Such\\Key'").status);
}

TEST_F(RegCommandTest, NamesNoRegLineCanHoldAreRefusedButStillReached) {
    std::string before = Phone("reg export").out;
    Result r = Phone("reg set 'HKLM\\Software\\Line\nFeed' V dword:1");
    EXPECT_EQ(2, r.status);
    EXPECT_NE(std::string::npos, r.err.find("the key name Line\\nFeed holds a line feed")) << r.err;
    r = Phone("reg set 'HKLM\\Software\\A' 'Carriage\rReturn' dword:1");
    EXPECT_EQ(2, r.status);
    EXPECT_NE(std::string::npos, r.err.find("the value name Carriage\\rReturn holds a carriage return")) << r.err;

    const std::string header = "Windows Registry Editor Version 5.00\n\n";
    auto wide = [](const std::u16string& text) {
        std::string bytes = "\xFF\xFE";
        for (char16_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        return bytes;
    };
    const std::pair<std::string, std::string> kBadFiles[] = {
        {header + "[HKLM\\Software\\A]\n\"Good\"=dword:1\n\"Cut\0Here\"=dword:2\n"s,
         ":5: the value name Cut\\0Here holds a NUL character"},
        {header + "[HKLM\\Software\\Cut\0Here]\n"s, ":3: the key name Cut\\0Here holds a NUL character"},
        {header + "[HKLM\\Software\\Carriage\rReturn]\n", ":3: the key name Carriage\\rReturn holds a carriage return"},
        {wide(u"Windows Registry Editor Version 5.00\n\n[HKLM\\Software\\A]\n\"Half\xD800\"=dword:1\n"),
         ":4: the value name Half\xEF\xBF\xBD holds half of a surrogate pair (U+D800)"},
        {wide(u"Windows Registry Editor Version 5.00\n\n[HKLM\\Software\\\xDC00Half]\n"),
         ":3: the key name \xEF\xBF\xBDHalf holds half of a surrogate pair (U+DC00)"},
    };
    for (const auto& [bytes, where] : kBadFiles) {
        r = Phone("reg import '" + WriteFile("bad.reg", bytes) + "'");
        EXPECT_EQ(1, r.status) << where;
        EXPECT_NE(std::string::npos, r.err.find("bad.reg" + where)) << r.err;
        EXPECT_EQ(1, std::count(r.err.begin(), r.err.end(), '\n')) << r.err;
    }
    EXPECT_EQ(before, Phone("reg export").out);

    // Names an older build let in: export names what is wrong, get and delete reach them.
    const DWORD one = 1;
    WithDevice([&] {
        SetRaw(HKEY_LOCAL_MACHINE, u"Software\\Bad\xD800\\Child", u"V", REG_DWORD, &one, 4);
        SetRaw(HKEY_LOCAL_MACHINE, u"\xDC00Top", u"V", REG_DWORD, &one, 4);
        SetRaw(HKEY_LOCAL_MACHINE, u"Software\\Values", u"Line\nFeed", REG_DWORD, &one, 4);
        SetRaw(HKEY_LOCAL_MACHINE, u"Software\\Line\nFeed", u"V", REG_DWORD, &one, 4);
    });
    r = Phone("reg export");
    EXPECT_EQ(1, r.status);
    EXPECT_NE(std::string::npos, r.err.find("holds half of a surrogate pair (U+D800), which a .reg line cannot hold "
                                            "(phone reg delete removes it)"))
        << r.err;
    r = Phone(
        "reg get 'HKLM\\\xED\xB0\x80"
        "Top'");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_NE(std::string::npos, r.out.find("    V    REG_DWORD    0x1\n")) << r.out;
    EXPECT_EQ(0, Phone("reg delete 'HKLM\\\xED\xB0\x80"
                       "Top'")
                     .status);
    EXPECT_EQ(0, Phone("reg delete 'HKLM\\Software\\Bad\xED\xA0\x80'").status);
    EXPECT_EQ(0, Phone("reg delete 'HKLM\\Software\\Values' 'Line\nFeed'").status);
    EXPECT_EQ(0, Phone("reg delete 'HKLM\\Software\\Line\nFeed'").status);
    EXPECT_EQ(1, Phone("reg get 'HKLM\\Software\\Bad\xED\xA0\x80\\Child'").status);
    r = Phone("reg export");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_NE(std::string::npos, r.out.find("[HKEY_LOCAL_MACHINE\\Software\\Values]\n\n")) << r.out;
}

TEST_F(RegCommandTest, FaultsAreNamedWhereTheyAreAndWhatTheyAre) {
    std::string before = Phone("reg export").out;
    const std::string header = "Windows Registry Editor Version 5.00\n\n";
    auto utf16 = [](const std::string& text, bool bigEndian) {
        std::string bytes;
        for (char c : text) bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
        return bytes;
    };
    const std::pair<std::string, std::string> kBad[] = {
        // A bad byte on the third line of a continued value.
        {header + "[HKLM\\Software\\A]\n\"Data\"=hex:01,02,\\\n  03,04,\\\n  05,zz,06\n",
         ":6: bad byte \"zz\" in hex data"},
        {header + "[HKLM\\Software\\A]\n\"Data\"=hex:01,02,\\\n  0g\n", ":5: bad byte \"0g\" in hex data"},
        {header + "[HKLM\\Software\\A]\n\"Data\"=hex(7):qq,\\\n  03\n", ":4: bad byte \"qq\" in hex data"},
        {"\xFE\xFF" + utf16(header, true),
         ":1: the file is UTF-16 big-endian text; save it as UTF-16 little-endian or UTF-8"},
        {utf16(header, false), ":1: the file is UTF-16 little-endian text without a byte order mark"},
        {utf16(header, true), ":1: the file is UTF-16 big-endian text without a byte order mark"},
    };
    for (const auto& [bytes, where] : kBad) {
        Result r = Phone("reg import '" + WriteFile("bad.reg", bytes) + "'");
        EXPECT_EQ(1, r.status) << where;
        EXPECT_NE(std::string::npos, r.err.find("bad.reg" + where)) << r.err;
    }
    EXPECT_EQ(before, Phone("reg export").out);

    // A setting stored with another type than the settings record reads.
    const std::string key = "'HKLM\\Software\\Orvane\\Lumenrest'";
    ASSERT_EQ(0, Phone("reg set " + key + " PhoneNumLen sz:7").status);
    ASSERT_EQ(0, Phone("reg set " + key + " CustomText dword:1").status);
    ASSERT_EQ(0, Phone("reg set " + key + " ShowNumber dword:0").status);
    EXPECT_EQ("    PhoneNumLen    REG_SZ    7    (the setting wants REG_DWORD)\n",
              Phone("reg get " + key + " phonenumlen").out);
    Result all = Phone("reg get " + key);
    EXPECT_NE(std::string::npos, all.out.find("    CustomText    REG_DWORD    0x1    (the setting wants REG_SZ)\n"))
        << all.out;
    EXPECT_NE(std::string::npos, all.out.find("    ShowNumber    REG_DWORD    0x0\n")) << all.out;
    // Elsewhere a name is only a name.
    ASSERT_EQ(0, Phone("reg set 'HKLM\\Software\\Other' PhoneNumLen sz:7").status);
    EXPECT_EQ("    PhoneNumLen    REG_SZ    7\n", Phone("reg get 'HKLM\\Software\\Other' PhoneNumLen").out);
}

// A chain of keys named "k" below HKLM\Deep, levels deep counted from the root.
void MakeChain(int levels) {
    ASSERT_TRUE(host::BeginRegistryBatch());
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Deep", 0, nullptr, 0, 0, nullptr, &key, nullptr));
    for (int level = 2; level <= levels; ++level) {
        HKEY child = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(key, u"k", 0, nullptr, 0, 0, nullptr, &child, nullptr));
        RegCloseKey(key);
        key = child;
    }
    const DWORD one = 1;
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, u"Bottom", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4));
    RegCloseKey(key);
    ASSERT_TRUE(host::CommitRegistryBatch());
}

TEST_F(RegCommandTest, TreesAsDeepAsTheRegistryAllowsAndDeeper) {
    // 512 levels: exported, and imported again into another device.
    WithDevice([] { MakeChain(512); });
    Result deepest = Phone("reg export 'HKLM\\Deep'");
    ASSERT_EQ(0, deepest.status) << deepest.err;
    EXPECT_EQ(512, std::count(deepest.out.begin(), deepest.out.end(), '['));
    testing_support::TempFolder copy;
    ASSERT_EQ(0, Phone(copy, "init").status);
    Result imported = Phone(copy, "reg import '" + WriteFile("deep.reg", deepest.out) + "'");
    ASSERT_EQ(0, imported.status) << imported.err;
    EXPECT_EQ(deepest.out, Phone(copy, "reg export 'HKLM\\Deep'").out);

    // One level more is refused by import, which changes nothing.
    std::string before = Phone(copy, "reg export").out;
    std::string deeper = "Windows Registry Editor Version 5.00\n\n[HKLM\\Other]\n\"V\"=dword:1\n[HKLM";
    for (int level = 0; level < 513; ++level) deeper += "\\k";
    deeper += "]\n";
    Result refused = Phone(copy, "reg import '" + WriteFile("deeper.reg", deeper) + "'");
    EXPECT_EQ(1, refused.status);
    EXPECT_NE(std::string::npos, refused.err.find("deeper.reg:5: the key is more than 512 levels deep")) << refused.err;
    EXPECT_EQ(before, Phone(copy, "reg export").out);

    // 100,000 levels, as a program may make them: export stops with a clear
    // line instead of running out of stack, and delete reaches the tree.
    WithDevice([] {
        ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"Deep"));
        MakeChain(100000);
    });
    Result tooDeep = Phone("reg export 'HKLM\\Deep'");
    EXPECT_EQ(1, tooDeep.status);
    EXPECT_TRUE(tooDeep.out.empty());
    EXPECT_NE(
        std::string::npos,
        tooDeep.err.find("cannot export the keys below HKEY_LOCAL_MACHINE\\Deep\\...\\k (512 levels): the registry "
                         "allows 512 levels"))
        << tooDeep.err;
    EXPECT_EQ(1, Phone("reg export").status);
    EXPECT_EQ(0, Phone("reg delete 'HKLM\\Deep'").status);
    EXPECT_EQ(0, Phone("reg export").status);
}

}  // namespace
