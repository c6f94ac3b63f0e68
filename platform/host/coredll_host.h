// Host-side controls of the emulated device, for the platform's own
// libraries, the emulator and the tests. The system's code never sees this.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace host {

// --- The device ---------------------------------------------------------
// A device is a folder holding the persistent stores of one phone (the
// registry, the message store, the contact store, ...). A process works on
// one device at a time; several processes may work on the same one.

// Opens (creating the folder if needed) the device of this process. Stores
// are opened lazily by their libraries on first use. Returns false, with a
// reason in *error, when the folder cannot be made or used.
// Every process that has a device open holds it shared, so that no other
// process can make it anew under it.
bool OpenDevice(const std::string& folder, std::string* error = nullptr);
// Opens the device for this process alone, to make it anew: false, with a
// reason, while another process has it open. Until CloseDevice (or another
// OpenDevice), other processes wait to open it.
bool OpenDeviceExclusive(const std::string& folder, std::string* error = nullptr);
void CloseDevice();
bool DeviceIsOpen();
std::string DeviceFolder();
// Path of a file in the device folder.
std::string DevicePath(std::string_view file);
// Changes whenever another device is opened, so that a library holding a
// store of the previous device knows to drop it.
unsigned DeviceGeneration();

// Folder that holds the modules of the build (where coredll.so lives);
// LoadLibraryW("Name.dll") looks for Name.so there.
std::string ModuleFolder();

// Programs of the build: a module ("Name.exe" or "Name.dll", the shared
// object Name.so) that exports WinMain. StartProgram loads it and calls its
// WinMain on a thread of its own with the module's instance, no previous
// instance, the command line and SW_SHOW, as the phone starts a program;
// the thread ends when WinMain returns, and the module is freed then. False
// with *error when the module or its WinMain cannot be found or the thread
// cannot be made.
struct ProgramRun {
    std::u16string module;  // as named to StartProgram
    DWORD threadId = 0;
    bool running = false;
    DWORD exitCode = 0;  // WinMain's result once it returned
};
bool StartProgram(const std::u16string& module, const std::u16string& commandLine, std::string* error,
                  DWORD* threadId = nullptr);
// Every program started in this process, oldest first.
std::vector<ProgramRun> ListPrograms();
// Waits up to timeoutMs for the program of that thread to end; false when it
// still runs.
bool WaitForProgram(DWORD threadId, DWORD timeoutMs);
// Ends the programs still running, as the phone does when it shuts down:
// each is asked to quit (WM_QUIT to its thread), given timeoutMs, and then
// ended forcibly. The emulator calls it before it unloads the modules.
void EndPrograms(DWORD timeoutMs);

// A service thread of the platform that blocks on a wait of its own (not
// one of the platform's waits) marks itself waiting for as long, so that
// host::WaitForIdle does not take it for a thread at work. The wait is on a
// condition variable with lock, and wakes once wakes() holds (it is read
// with lock held): from then on the thread counts as about to run, so that
// what woke it (a change to deliver, say) is waited for too.
class OutsideWait {
public:
    OutsideWait(std::mutex& lock, std::function<bool()> wakes);
    ~OutsideWait();
    OutsideWait(const OutsideWait&) = delete;
    OutsideWait& operator=(const OutsideWait&) = delete;

private:
    std::function<bool()> wakes_;
};

// Calls the process-detach entry of every module still loaded, newest
// first, and unloads them: what the platform does when a process ends. The
// emulator calls it before it exits, once its own threads are stopped.
void UnloadAllModules();

// --- Text at the host's edges -------------------------------------------
std::string ToUtf8(std::u16string_view text);
std::string ToUtf8(const WCHAR* text);
// Invalid UTF-8 becomes U+FFFD; *ok (when given) tells whether all was valid.
std::u16string FromUtf8(std::string_view text, bool* ok = nullptr);

// Value of a Unicode decimal digit (class Nd) of any script, or -1.
int DigitValue(WCHAR c);

// --- Fault injection for tests ------------------------------------------
// Makes the nth call (1 = the next one) of the named platform function fail
// with the given result: an HRESULT for COM and MAPI methods
// ("IMsgStore::OpenEntry"), a Win32 error for kernel functions
// ("LocalAlloc"). count > 1 fails that many calls in a row.
void FailCall(std::string_view name, int nth, long result, int count = 1);
void ClearFaults();
// For the platform's implementations: true when this call must fail;
// *result receives the configured result.
bool ShouldFail(std::string_view name, long* result = nullptr);
// Number of calls of the named function seen since the last ClearFaults.
int CallCount(std::string_view name);
// Every fault point reached since the last ClearFaults: each named function
// with its number of calls, in name order. A sweep fails each call in turn.
std::vector<std::pair<std::string, int>> CallCounts();

// --- Registry batches -----------------------------------------------------
// Registry calls made by this thread between BeginRegistryBatch and
// CommitRegistryBatch form one transaction: other processes see all of it
// or nothing, and RollbackRegistryBatch undoes it.
bool BeginRegistryBatch();
bool CommitRegistryBatch();
void RollbackRegistryBatch();

}  // namespace host
