// ondrelle-check.exe as Windows starts it: double-clicked in Explorer it gets
// a console of its own, prints in UTF-8 and keeps its window open until the
// player presses Enter, holding no file it read meanwhile; started from a
// command prompt or a script it ends at once. Under Wine a console of its own
// needs a display (xvfb-run). Nothing here waits a fixed time: the test
// reads the checker's output until its prompt, or until it ends, with a
// generous limit only for a checker that hangs. And why a file cannot be
// read, by each system error code.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "test_game.h"
#include "tool_platform.h"

namespace {

enum ConsoleKind { own_console, shared_console, no_console };

// The longest a checker may take to print or to end: far more than any
// machine needs, so that only a hung checker meets it.
const ULONGLONG kGenerousMilliseconds = 60000;

const char kPrompt[] = "\nPress Enter to close this window.";

struct CheckerRun {
    std::string output;       // stdout and stderr, CR LF folded to LF
    bool waited_for_enter;    // it printed its prompt and was still running then
    bool ended_before_enter;  // it ended with no Enter pressed
    UINT code_page;           // its console's output code page; 0 when it had none
    DWORD exit_code;
};

// Appends what the process writes to the pipe to output until output holds
// until (when given), or the pipe is closed, or the generous limit passes.
void read_pipe(HANDLE pipe, std::string* output, const std::string& until) {
    ULONGLONG deadline = GetTickCount64() + kGenerousMilliseconds;
    while (until.empty() || output->find(until) == std::string::npos) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) return;  // closed: it ended
        if (available == 0) {
            if (GetTickCount64() > deadline) return;
            Sleep(10);
            continue;
        }
        char buffer[4096];
        DWORD got = 0;
        if (!ReadFile(pipe, buffer, sizeof buffer < available ? sizeof buffer : available, &got, nullptr)) return;
        output->append(buffer, got);
    }
}

// Runs the built checker with arguments in folder (the current one when
// empty), its standard handles on pipes. A checker that prompts is looked at
// while it waits (its console's code page, and while_waiting), then Enter is
// pressed for it; one that does not must end with no Enter.
CheckerRun run_checker(ConsoleKind console, const std::wstring& arguments, const std::wstring& folder = L"",
                       const std::function<void()>& while_waiting = nullptr, const std::wstring& copy = L"") {
    CheckerRun run = {"", false, false, 0, 0};
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
    std::wstring program = copy.empty() ? build_folder() + L"\\tools\\ondrelle-check.exe" : copy;
    std::wstring command = L"ondrelle-check.exe " + arguments;
    DWORD flags = console == own_console ? CREATE_NEW_CONSOLE : console == no_console ? DETACHED_PROCESS : 0;
    PROCESS_INFORMATION process;
    bool started = CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, TRUE, flags, nullptr,
                                  folder.empty() ? nullptr : folder.c_str(), &startup, &process) != 0;
    CloseHandle(output_write);
    CloseHandle(input_read);
    if (started) {
        read_pipe(output_read, &run.output, console == own_console ? kPrompt : "");
        if (run.output.find(kPrompt) != std::string::npos) {
            // Prompted, it can only be waiting for Enter now.
            run.waited_for_enter = WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
            // A look at its console from outside: the code page it set.
            FreeConsole();
            if (AttachConsole(process.dwProcessId)) run.code_page = GetConsoleOutputCP();
            FreeConsole();
            if (!AttachConsole(ATTACH_PARENT_PROCESS)) AllocConsole();
            if (while_waiting) while_waiting();
        } else {
            run.ended_before_enter =
                WaitForSingleObject(process.hProcess, static_cast<DWORD>(kGenerousMilliseconds)) == WAIT_OBJECT_0;
        }
        DWORD written;
        WriteFile(input_write, "\n", 1, &written, nullptr);
    }
    CloseHandle(input_write);
    read_pipe(output_read, &run.output, "");
    CloseHandle(output_read);
    if (started) {
        WaitForSingleObject(process.hProcess, static_cast<DWORD>(kGenerousMilliseconds));
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
    for (const auto& row : rows) {
        CheckerRun run = run_checker(row.console, L"--version");
        EXPECT_EQ(run.waited_for_enter, row.waits) << row.what;
        EXPECT_EQ(run.ended_before_enter, !row.waits) << row.what;
        EXPECT_EQ(run.code_page, row.code_page) << row.what << ": " << kNoDisplayForWindows;
        EXPECT_EQ(run.output, row.waits ? version + kPrompt : version) << row.what;
        EXPECT_EQ(run.exit_code, 0u) << row.what;
    }
    // Double-clicked where there is no settings file: the reason, then the wait.
    CheckerRun run = run_checker(own_console, L"no-such-settings.ini");
    EXPECT_TRUE(run.waited_for_enter);
    // Its wrapped lines joined: where the error wraps depends on the path.
    std::string joined = run.output;
    for (size_t at; (at = joined.find("\n  ")) != std::string::npos;) joined.replace(at, 3, " ");
    EXPECT_NE(joined.find("there is no such file."), std::string::npos) << run.output;
    EXPECT_EQ(run.output.substr(run.output.size() - std::string(kPrompt).size()), kPrompt) << run.output;
    EXPECT_EQ(run.exit_code, 1u);

    // Double-clicked in a game's folder, a copy put there as a player puts it,
    // it keeps none of the files it read open while it waits: the player can
    // delete the copy it told them to. The folder is in the user's profile,
    // as Windows' temporary folder is.
    std::wstring game = make_game_folder(L"checked");
    std::wstring checker = game + L"\\ondrelle-check.exe";
    ASSERT_TRUE(CopyFileW((build_folder() + L"\\tools\\ondrelle-check.exe").c_str(), checker.c_str(), FALSE));
    const wchar_t* files[] = {L"RDR2.exe",     L"ScriptHookRDR2.dll", L"dinput8.dll",   L"Ondrelle.ini",
                              L"Ondrelle.log", L"ScriptHookRDR2.log", L"asiloader.log", L"Ondrelle (2).asi"};
    for (const wchar_t* file : files) ASSERT_TRUE(write_bytes(game + L"\\" + file, "MZ not a whole program\n"));
    ASSERT_TRUE(write_bytes(game + L"\\Ondrelle.ini", default_settings_bytes()));
    ASSERT_TRUE(CopyFileW((build_folder() + L"\\Ondrelle.asi").c_str(), (game + L"\\Ondrelle.asi").c_str(), FALSE));
    std::vector<std::wstring> held;
    run = run_checker(
        own_console, L"", game,
        [&] {
            for (const wchar_t* file : files) {
                if (!DeleteFileW((game + L"\\" + file).c_str())) held.push_back(file);
            }
            if (!DeleteFileW((game + L"\\Ondrelle.asi").c_str())) held.push_back(L"Ondrelle.asi");
        },
        checker);
    EXPECT_TRUE(run.waited_for_enter);
    EXPECT_NE(run.output.find("== In short"), std::string::npos) << run.output;
    for (const std::wstring& file : held)
        ADD_FAILURE() << "still held open while it waits: " << tool_utf8_from_wide(file.c_str());

    // Beside itself it left the report: the screen's text, the user's profile
    // folder taken out; the line saying where it is stands just above the
    // prompt.
    std::string report = read_bytes(game + L"\\ondrelle-check-report.txt");
    std::string folded;
    for (char c : report)
        if (c != '\r') folded += c;
    size_t report_line = run.output.find("\nReport: ");
    ASSERT_NE(report_line, std::string::npos) << run.output;
    std::string last = std::string("ask for help.\n") + kPrompt;
    EXPECT_EQ(run.output.compare(run.output.size() - last.size(), last.size(), last), 0) << run.output;
    std::string screen = run.output.substr(0, report_line);
    std::string profile = tool_environment("USERPROFILE");
    ASSERT_NE(screen.find(profile), std::string::npos) << "the game folder is in the profile: " << screen;
    for (size_t at; (at = screen.find(profile)) != std::string::npos;) screen.replace(at, profile.size(), "<user>");
    EXPECT_EQ(folded, screen);
    EXPECT_EQ(folded.find(profile), std::string::npos);
    remove_folder(game);
}

// Why a file cannot be read, by each error code Windows gives for a failed
// look at it; Wine gives only some of them, so they are asked for here.
TEST(CheckerReading, EachSystemErrorGivesTheReasonAPlayerReads) {
    const struct {
        DWORD error;
        UnreadableReason reason;
    } rows[] = {
        {ERROR_FILE_NOT_FOUND, unreadable_missing},       {ERROR_PATH_NOT_FOUND, unreadable_missing},
        {ERROR_INVALID_NAME, unreadable_missing},         {ERROR_BAD_PATHNAME, unreadable_missing},
        {ERROR_FILENAME_EXCED_RANGE, unreadable_missing}, {ERROR_DIRECTORY, unreadable_missing},
        {ERROR_ACCESS_DENIED, unreadable_denied},         {ERROR_SHARING_VIOLATION, unreadable_denied},
        {ERROR_LOCK_VIOLATION, unreadable_denied},
    };
    for (const auto& row : rows) EXPECT_EQ(tool_unreadable_reason_of(row.error), row.reason) << "error " << row.error;
    // Through the system: a file that is not there is one.
    EXPECT_EQ(tool_why_unreadable("no-such-folder\\no-such-file.ini"), unreadable_missing);
}

}  // namespace
