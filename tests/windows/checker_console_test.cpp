// ondrelle-check.exe as Windows starts it: double-clicked in Explorer it gets
// a console of its own, prints in UTF-8 and keeps its window open until the
// player presses Enter; started from a command prompt or a script it ends at
// once. Under Wine a console of its own needs a display (xvfb-run).
#include <gtest/gtest.h>

#include <string>

#include "test_game.h"

namespace {

enum ConsoleKind { own_console, shared_console, no_console };

struct CheckerRun {
    std::string output;  // stdout and stderr, CR LF folded to LF
    bool waited;         // still running half a second after its start
    UINT code_page;      // its console's output code page; 0 when it had none
    DWORD exit_code;
};

// Runs the built checker with arguments, its standard handles on pipes,
// presses Enter for it after half a second, and reads what it printed.
CheckerRun run_checker(ConsoleKind console, const std::wstring& arguments) {
    CheckerRun run = {"", false, 0, 0};
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE output_read, output_write, input_read, input_write;
    if (!CreatePipe(&output_read, &output_write, &inherited, 0) ||
        !CreatePipe(&input_read, &input_write, &inherited, 0))
        return run;
    SetHandleInformation(output_read, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(input_write, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input_read;
    startup.hStdOutput = output_write;
    startup.hStdError = output_write;
    std::wstring program = build_folder() + L"\\tools\\ondrelle-check.exe";
    std::wstring command = L"ondrelle-check.exe " + arguments;
    DWORD flags = console == own_console ? CREATE_NEW_CONSOLE : console == no_console ? DETACHED_PROCESS : 0;
    PROCESS_INFORMATION process;
    bool started = CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, TRUE, flags, nullptr, nullptr,
                                  &startup, &process) != 0;
    CloseHandle(output_write);
    CloseHandle(input_read);
    if (started) {
        run.waited = WaitForSingleObject(process.hProcess, 500) == WAIT_TIMEOUT;
        if (run.waited && console == own_console) {
            // A look at its console from outside: the code page it set.
            FreeConsole();
            if (AttachConsole(process.dwProcessId)) run.code_page = GetConsoleOutputCP();
            FreeConsole();
            if (!AttachConsole(ATTACH_PARENT_PROCESS)) AllocConsole();
        }
        DWORD written;
        WriteFile(input_write, "\n", 1, &written, nullptr);
    }
    CloseHandle(input_write);
    char buffer[4096];
    DWORD got;
    while (ReadFile(output_read, buffer, sizeof buffer, &got, nullptr) && got > 0) run.output.append(buffer, got);
    CloseHandle(output_read);
    if (started) {
        WaitForSingleObject(process.hProcess, 5000);
        GetExitCodeProcess(process.hProcess, &run.exit_code);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    std::string folded;
    for (char c : run.output)
        if (c != '\r') folded += c;
    run.output = folded;
    return run;
}

TEST(CheckerConsole, DoubleClickedItWaitsForEnterAndFromAPromptItDoesNot) {
    // A console for the test, for the checker to share as from a prompt.
    DWORD processes[1];
    if (GetConsoleProcessList(processes, 1) == 0) AllocConsole();
    const struct {
        const char* what;
        ConsoleKind console;
        bool waits;
        UINT code_page;
    } rows[] = {
        {"double-clicked: a console of its own", own_console, true, CP_UTF8},
        {"from a command prompt: the prompt's console", shared_console, false, 0},
        {"from a script: no console at all", no_console, false, 0},
    };
    const std::string version = "ondrelle-check " ONDRELLE_VERSION "\n";
    const std::string prompt = "\nPress Enter to close this window.";
    for (const auto& row : rows) {
        CheckerRun run = run_checker(row.console, L"--version");
        EXPECT_EQ(run.waited, row.waits) << row.what;
        EXPECT_EQ(run.code_page, row.code_page) << row.what << ": " << kNoDisplayForWindows;
        EXPECT_EQ(run.output, row.waits ? version + prompt : version) << row.what;
        EXPECT_EQ(run.exit_code, 0u) << row.what;
    }
    // Double-clicked where there is no settings file: the reason, then the wait.
    CheckerRun run = run_checker(own_console, L"no-such-settings.ini");
    EXPECT_TRUE(run.waited);
    EXPECT_NE(run.output.find("there is no such file."), std::string::npos) << run.output;
    EXPECT_EQ(run.output.substr(run.output.size() - prompt.size()), prompt) << run.output;
    EXPECT_EQ(run.exit_code, 1u);
}

}  // namespace
