#include "RegKey.h"

#include "Cli.h"

namespace phone {

namespace {

// Another process may add longer names or data between our calls; a few
// retries with fresh sizes settle it.
constexpr int kAttempts = 5;

[[noreturn]] void Fail(const char* what, const std::string& fullName, LONG rc) {
    throw CommandError(std::string("cannot read the ") + what + " of " + fullName + " (error " + std::to_string(rc) +
                       ")");
}

}  // namespace

RegKey& RegKey::operator=(RegKey&& other) noexcept {
    if (this != &other) {
        Close();
        key_ = other.key_;
        other.key_ = nullptr;
    }
    return *this;
}

void RegKey::Close() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
}

std::vector<RegValue> ReadValues(HKEY key, const std::string& fullName) {
    std::vector<RegValue> values;
    DWORD maxName = 0, maxData = 0;
    auto askSizes = [&] {
        LONG rc = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName,
                                   &maxData, nullptr, nullptr);
        if (rc != ERROR_SUCCESS) Fail("values", fullName, rc);
    };
    askSizes();
    // One pair of buffers for all the values, so that one long value does
    // not cost its length for every other one.
    std::u16string name;
    std::vector<uint8_t> data;
    for (DWORD index = 0;; ++index) {
        RegValue value;
        LONG rc;
        for (int attempt = 0;; ++attempt) {
            // One byte more than needed, so that the data buffer is never
            // absent (a call without one would only tell the size).
            if (name.size() < maxName + 1) name.resize(maxName + 1);
            if (data.size() < maxData + 1) data.resize(maxData + 1);
            DWORD chars = maxName + 1, size = maxData + 1;
            rc = RegEnumValueW(key, index, name.data(), &chars, nullptr, &value.type, data.data(), &size);
            if (rc == ERROR_SUCCESS) {
                value.name.assign(name.data(), chars);
                value.data.assign(data.begin(), data.begin() + size);
                break;
            }
            if (rc != ERROR_MORE_DATA || attempt == kAttempts) break;
            askSizes();
        }
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) Fail("values", fullName, rc);
        values.push_back(std::move(value));
    }
    return values;
}

std::vector<std::u16string> SubkeyNames(HKEY key, const std::string& fullName) {
    std::vector<std::u16string> names;
    // Key names are at most 255 characters.
    WCHAR name[256];
    for (DWORD index = 0;; ++index) {
        DWORD chars = 256;
        LONG rc = RegEnumKeyExW(key, index, name, &chars, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) Fail("subkeys", fullName, rc);
        names.emplace_back(name, chars);
    }
    return names;
}

}  // namespace phone
