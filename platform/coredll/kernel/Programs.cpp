// Programs of the build, started as the phone starts a program: the module
// is loaded, its WinMain runs on a thread of its own, and the module is
// freed when WinMain has returned.
#include <coredll_host.h>

#include <memory>
#include <mutex>

namespace {

typedef int(WINAPI* WinMainProc)(HINSTANCE, HINSTANCE, LPWSTR, int);

struct Program {
    std::u16string module;
    std::u16string commandLine;  // WinMain may write into it, as into its own copy
    HMODULE instance = nullptr;
    WinMainProc main = nullptr;
    HANDLE thread = nullptr;
    DWORD threadId = 0;
};

std::mutex g_programsLock;
std::vector<std::shared_ptr<Program>> g_programs;

DWORD WINAPI ProgramThread(LPVOID parameter) {
    Program* program = static_cast<Program*>(parameter);
    int result = program->main(program->instance, nullptr, program->commandLine.data(), SW_SHOW);
    // The thread's exit code is WinMain's result; the module goes with the program.
    FreeLibrary(program->instance);
    return static_cast<DWORD>(result);
}

}  // namespace

namespace host {

bool StartProgram(const std::u16string& module, const std::u16string& commandLine, std::string* error,
                  DWORD* threadId) {
    auto program = std::make_shared<Program>();
    program->module = module;
    program->commandLine = commandLine;
    program->instance = LoadLibraryW(module.c_str());
    if (!program->instance) {
        if (error) *error = "no program " + ToUtf8(module) + " in this build";
        return false;
    }
    program->main = reinterpret_cast<WinMainProc>(GetProcAddressW(program->instance, u"WinMain"));
    if (!program->main) {
        FreeLibrary(program->instance);
        if (error) *error = ToUtf8(module) + " is no program (it has no WinMain)";
        return false;
    }
    std::lock_guard<std::mutex> lock(g_programsLock);
    program->thread = CreateThread(nullptr, 0, ProgramThread, program.get(), 0, &program->threadId);
    if (!program->thread) {
        FreeLibrary(program->instance);
        if (error) *error = "cannot start " + ToUtf8(module) + ": no thread for it";
        return false;
    }
    g_programs.push_back(program);
    if (threadId) *threadId = program->threadId;
    return true;
}

std::vector<ProgramRun> ListPrograms() {
    std::lock_guard<std::mutex> lock(g_programsLock);
    std::vector<ProgramRun> runs;
    for (const auto& program : g_programs) {
        ProgramRun run;
        run.module = program->module;
        run.threadId = program->threadId;
        DWORD code = 0;
        GetExitCodeThread(program->thread, &code);
        run.running = code == STILL_ACTIVE;
        run.exitCode = run.running ? 0 : code;
        runs.push_back(run);
    }
    return runs;
}

bool WaitForProgram(DWORD threadId, DWORD timeoutMs) {
    HANDLE thread = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_programsLock);
        for (const auto& program : g_programs)
            if (program->threadId == threadId) thread = program->thread;
    }
    return thread && WaitForSingleObject(thread, timeoutMs) == WAIT_OBJECT_0;
}

void EndPrograms(DWORD timeoutMs) {
    std::vector<std::shared_ptr<Program>> programs;
    {
        std::lock_guard<std::mutex> lock(g_programsLock);
        programs = g_programs;
    }
    for (const auto& program : programs)
        if (WaitForSingleObject(program->thread, 0) == WAIT_TIMEOUT)
            PostThreadMessageW(program->threadId, WM_QUIT, 0, 0);
    const DWORD start = GetTickCount();
    for (const auto& program : programs) {
        DWORD elapsed = GetTickCount() - start;
        if (WaitForSingleObject(program->thread, elapsed < timeoutMs ? timeoutMs - elapsed : 0) == WAIT_TIMEOUT)
            TerminateThread(program->thread, 1);
    }
}

}  // namespace host
