#pragma once

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#include <sstream>
#include <vector>
#else
#include <sys/wait.h>
#endif

namespace tessaly::test {

struct RunResult {
    int status;
    std::string output;
};

#ifdef _WIN32

// Runs tessaly-cli.exe with `environment` ("NAME=value ...") added to the test's own;
// `output` holds what it printed on both streams, its line ends as LF. Arguments go
// on its command line as they are.
inline RunResult RunCli(const std::string& arguments,
                        const std::string& environment = "SOURCE_DATE_EPOCH=1700000000") {
    const auto wide = [](const std::string& utf8) {
        std::wstring text(utf8.size(), L'\0');
        text.resize(static_cast<std::size_t>(
            ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                  text.data(), static_cast<int>(text.size()))));
        return text;
    };
    // The test's environment with the given variables in place of its own: sorted, each
    // name once, as the block must be.
    std::vector<std::wstring> variables;
    std::istringstream given(environment);
    for (std::string variable; given >> variable;) {
        variables.push_back(wide(variable));
    }
    const auto nameOf = [](const std::wstring& variable) {
        return variable.substr(0, variable.find(L'=', 1));
    };
    wchar_t* inherited = ::GetEnvironmentStringsW();
    for (const wchar_t* entry = inherited; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
        const std::wstring name = nameOf(entry);
        if (std::none_of(variables.begin(), variables.end(), [&](const std::wstring& v) {
                return _wcsicmp(nameOf(v).c_str(), name.c_str()) == 0;
            })) {
            variables.emplace_back(entry);
        }
    }
    ::FreeEnvironmentStringsW(inherited);
    std::sort(variables.begin(), variables.end(),
              [&](const std::wstring& a, const std::wstring& b) {
                  return _wcsicmp(nameOf(a).c_str(), nameOf(b).c_str()) < 0;
              });
    std::wstring block;
    for (const std::wstring& variable : variables) {
        block += variable + L'\0';
    }
    block += L'\0';

    std::wstring command = wide("\"" + std::string(TESSALY_CLI_PATH) + "\" " + arguments);
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE reader = nullptr;
    HANDLE writer = nullptr;
    RunResult result{-1, ""};
    if (!::CreatePipe(&reader, &writer, &inheritable, 0)) {
        return result;
    }
    ::SetHandleInformation(reader, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = writer;
    PROCESS_INFORMATION process{};
    const bool started =
        ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE,
                         CREATE_UNICODE_ENVIRONMENT, block.data(), nullptr, &startup, &process);
    ::CloseHandle(writer);
    if (started) {
        char chunk[4096];
        DWORD got = 0;
        while (::ReadFile(reader, chunk, sizeof chunk, &got, nullptr) && got > 0) {
            result.output.append(chunk, got);
        }
        ::WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        ::GetExitCodeProcess(process.hProcess, &code);
        result.status = static_cast<int>(code);
        ::CloseHandle(process.hProcess);
        ::CloseHandle(process.hThread);
    }
    ::CloseHandle(reader);
    for (auto at = result.output.find("\r\n"); at != std::string::npos;
         at = result.output.find("\r\n", at)) {
        result.output.erase(at, 1);
    }
    return result;
}

#else

// Runs tessaly-cli through the shell; `output` holds what it printed on both streams,
// unless `stdoutTo` sends standard output elsewhere.
inline RunResult RunCli(const std::string& arguments,
                        const std::string& environment = "SOURCE_DATE_EPOCH=1700000000",
                        const std::string& stdoutTo = "") {
    const std::string command = "env " + environment + " " + std::string(TESSALY_CLI_PATH) + " " +
                                arguments + " 2>&1" + (stdoutTo.empty() ? "" : " >" + stdoutTo);
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    for (std::size_t got = 0; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, got);
    }
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

#endif

}  // namespace tessaly::test
