// The English system message texts, in the platform's wording.
#include "strings/SystemMessages.h"

namespace coredll {

namespace {

struct Message {
    DWORD id;
    const WCHAR* text;
};

constexpr Message kMessages[] = {
    // Win32 error codes
    {0, u"The operation completed successfully.\r\n"},
    {1, u"Incorrect function.\r\n"},
    {2, u"The system cannot find the file specified.\r\n"},
    {3, u"The system cannot find the path specified.\r\n"},
    {4, u"The system cannot open the file.\r\n"},
    {5, u"Access is denied.\r\n"},
    {6, u"The handle is invalid.\r\n"},
    {8, u"Not enough memory resources are available to process this command.\r\n"},
    {11, u"An attempt was made to load a program with an incorrect format.\r\n"},
    {12, u"The access code is invalid.\r\n"},
    {13, u"The data is invalid.\r\n"},
    {14, u"Not enough memory resources are available to complete this operation.\r\n"},
    {18, u"There are no more files.\r\n"},
    {19, u"The media is write protected.\r\n"},
    {21, u"The device is not ready.\r\n"},
    {31, u"A device attached to the system is not functioning.\r\n"},
    {32, u"The process cannot access the file because it is being used by another process.\r\n"},
    {38, u"Reached the end of the file.\r\n"},
    {50, u"The request is not supported.\r\n"},
    {80, u"The file exists.\r\n"},
    {87, u"The parameter is incorrect.\r\n"},
    {112, u"There is not enough space on the disk.\r\n"},
    {120, u"This function is not supported on this system.\r\n"},
    {121, u"The semaphore timeout period has expired.\r\n"},
    {122, u"The data area passed to a system call is too small.\r\n"},
    {123, u"The filename, directory name, or volume label syntax is incorrect.\r\n"},
    {126, u"The specified module could not be found.\r\n"},
    {127, u"The specified procedure could not be found.\r\n"},
    {145, u"The directory is not empty.\r\n"},
    {160, u"One or more arguments are not correct.\r\n"},
    {161, u"The specified path is invalid.\r\n"},
    {170, u"The requested resource is in use.\r\n"},
    {183, u"Cannot create a file when that file already exists.\r\n"},
    {206, u"The filename or extension is too long.\r\n"},
    {234, u"More data is available.\r\n"},
    {258, u"The wait operation timed out.\r\n"},
    {259, u"No more data is available.\r\n"},
    {288, u"Attempt to release mutex not owned by caller.\r\n"},
    {298, u"Too many posts were made to a semaphore.\r\n"},
    {317, u"The system cannot find message text for message number 0x%1 in the message file for %2.\r\n"},
    {487, u"Attempt to access invalid address.\r\n"},
    {534, u"Arithmetic result exceeded 32 bits.\r\n"},
    {998, u"Invalid access to memory location.\r\n"},
    {1004, u"Invalid flags.\r\n"},
    {1009, u"The configuration registry database is corrupt.\r\n"},
    {1010, u"The configuration registry key is invalid.\r\n"},
    {1011, u"The configuration registry key could not be opened.\r\n"},
    {1012, u"The configuration registry key could not be read.\r\n"},
    {1013, u"The configuration registry key could not be written.\r\n"},
    {1016,
     u"An I/O operation initiated by the registry failed unrecoverably. The registry could not read in, "
     u"or write out, or flush, one of the files that contain the system's image of the registry.\r\n"},
    {1018, u"Illegal operation attempted on a registry key that has been marked for deletion.\r\n"},
    {1113, u"No mapping for the Unicode character exists in the target multi-byte code page.\r\n"},
    {1114, u"A dynamic link library (DLL) initialization routine failed.\r\n"},
    {1168, u"Element not found.\r\n"},
    {1223, u"The operation was canceled by the user.\r\n"},
    {1400, u"Invalid window handle.\r\n"},
    {1401, u"Invalid menu handle.\r\n"},
    {1402, u"Invalid cursor handle.\r\n"},
    {1403, u"Invalid accelerator table handle.\r\n"},
    {1404, u"Invalid hook handle.\r\n"},
    {1405, u"Invalid handle to a multiple-window position structure.\r\n"},
    {1406, u"Cannot create a top-level child window.\r\n"},
    {1407, u"Cannot find window class.\r\n"},
    {1408, u"Invalid window; it belongs to other thread.\r\n"},
    {1409, u"Hot key is already registered.\r\n"},
    {1410, u"Class already exists.\r\n"},
    {1411, u"Class does not exist.\r\n"},
    {1412, u"Class still has open windows.\r\n"},
    {1413, u"Invalid index.\r\n"},
    {1414, u"Invalid icon handle.\r\n"},
    {1419, u"Hot key is not registered.\r\n"},
    {1420, u"The window is not a valid dialog window.\r\n"},
    {1421, u"Control ID not found.\r\n"},
    {1444, u"Invalid thread identifier.\r\n"},
    {1450, u"Insufficient system resources exist to complete the requested service.\r\n"},
    {1460, u"This operation returned because the timeout period expired.\r\n"},
    {1812, u"The specified image file did not contain a resource section.\r\n"},
    {1813, u"The specified resource type cannot be found in the image file.\r\n"},
    {1814, u"The specified resource name cannot be found in the image file.\r\n"},
    {1815, u"The specified resource language ID cannot be found in the image file.\r\n"},

    // HRESULTs of the other facilities
    {0x80004001, u"Not implemented\r\n"},
    {0x80004002, u"No such interface supported\r\n"},
    {0x80004003, u"Invalid pointer\r\n"},
    {0x80004004, u"Operation aborted\r\n"},
    {0x80004005, u"Unspecified error\r\n"},
    {0x8000FFFF, u"Catastrophic failure\r\n"},
    {0x80020003, u"Member not found.\r\n"},
    {0x80040110, u"Class does not support aggregation (or class object is remote)\r\n"},
    {0x80040111, u"ClassFactory cannot supply requested class\r\n"},
    {0x80040150, u"Could not read key from registry\r\n"},
    {0x80040154, u"Class not registered\r\n"},
    {0x80040201, u"Failed to register/unregister class\r\n"},
    {0x800401F0, u"CoInitialize has not been called.\r\n"},
    {0x800401F3, u"Invalid class string\r\n"},
    {0x800401F8, u"DLL for class not found\r\n"},
    {0x800401F9, u"Error in the DLL\r\n"},
};

const WCHAR* Find(DWORD id) {
    for (const Message& m : kMessages) {
        if (m.id == id) return m.text;
    }
    return nullptr;
}

}  // namespace

const WCHAR* SystemMessageText(DWORD id) {
    if ((id & 0xFFFF0000u) == (0x80000000u | (FACILITY_WIN32 << 16))) return Find(id & 0xFFFF);
    return Find(id);
}

}  // namespace coredll
