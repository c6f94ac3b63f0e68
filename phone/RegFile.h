// The .reg text format ("Windows Registry Editor Version 5.00"): writing
// keys and values, and reading a file into what it asks for.
#pragma once

#include "KeyPath.h"
#include "RegKey.h"

#include <string>
#include <vector>

namespace phone {

// --- Writing (UTF-8, one value a line, long hex data wrapped) -------------

// The first line and the blank line after it.
std::string RegFileHeader();
// "[HKEY_LOCAL_MACHINE\...]" and its line end.
std::string FormatKeyLine(const KeyPath& key);
// The line(s) of one value: "name"="text", dword:, hex:, hex(N):. A REG_SZ
// whose bytes the "text" form would not give back exactly (no terminator,
// an inner NUL, an odd length, a line break) is written as hex(1).
// Throws CommandError for a name no .reg line can hold (NameProblem).
std::string FormatValueLines(const RegValue& value, const KeyPath& key);

// --- Reading ----------------------------------------------------------------

struct RegFileValue {
    RegValue value;
    bool remove = false;  // "name"=-
    int line = 0;
};

struct RegFileKey {
    KeyPath path;
    bool remove = false;  // [-KEY]
    int line = 0;
    std::vector<RegFileValue> values;
};

// Parses the bytes of a .reg file: UTF-8 with or without a BOM, or UTF-16LE
// with a BOM; CRLF or LF; ';' comments; continuation lines ending in '\'.
// A malformed line throws CommandError naming fileName and the line.
std::vector<RegFileKey> ParseRegFile(const std::string& bytes, const std::string& fileName);

}  // namespace phone
