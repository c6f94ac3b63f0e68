// An open key of the device's registry, and what the emulator reads of it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace phone {

// Closes the key when it goes.
class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(RegKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }
    RegKey& operator=(RegKey&& other) noexcept;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    HKEY get() const { return key_; }
    // For the Reg* call that opens it.
    HKEY* out() {
        Close();
        return &key_;
    }

private:
    void Close();
    HKEY key_ = nullptr;
};

struct RegValue {
    std::u16string name;  // empty for the default value
    DWORD type = REG_NONE;
    std::vector<uint8_t> data;
};

// The values and the subkey names of an open key, in the registry's order.
// A failure throws CommandError naming the key (fullName).
std::vector<RegValue> ReadValues(HKEY key, const std::string& fullName);
std::vector<std::u16string> SubkeyNames(HKEY key, const std::string& fullName);

}  // namespace phone
