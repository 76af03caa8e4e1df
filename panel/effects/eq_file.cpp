#include "panel/effects/eq_file.h"

#include "framework/handles.h"

namespace effects {
namespace {

FileProblem ProblemOf(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH: return FileProblem::kMissing;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return FileProblem::kInUse;
        case ERROR_ACCESS_DENIED: return FileProblem::kDenied;
        default: return FileProblem::kUnreadable;
    }
}

}  // namespace

EqFileImport ImportEqualizerFile(const std::wstring& path) {
    EqFileImport result;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        result.file = FileProblem::kFolder;
        return result;
    }
    CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        result.code = ::GetLastError();
        result.file = ProblemOf(result.code);
        return result;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) {
        result.code = ::GetLastError();
        result.file = FileProblem::kUnreadable;
        return result;
    }
    if (size.QuadPart > kLargestEqualizerFile) {
        result.file = FileProblem::kTooLarge;
        return result;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &read, nullptr)) {
            result.code = ::GetLastError();
            result.file = FileProblem::kUnreadable;
            return result;
        }
        if (read == 0) break;  // shorter than it was a moment ago
        got += read;
    }
    bytes.resize(got);
    result.curve = ParseEqualizerText(bytes);
    return result;
}

std::wstring DescribeRefusal(const EqFileImport& import, bool chinese) {
    switch (import.file) {
        case FileProblem::kNone: return WideFromUtf8(DescribeEqError(import.curve.error, chinese));
        case FileProblem::kMissing: return chinese ? L"文件不存在" : L"the file does not exist";
        case FileProblem::kInUse: return chinese ? L"文件正被其他程序占用" : L"another program holds the file open";
        case FileProblem::kDenied: return chinese ? L"无权访问该文件" : L"access to the file was denied";
        case FileProblem::kFolder: return chinese ? L"这是文件夹，不是文件" : L"it is a folder, not a file";
        case FileProblem::kTooLarge:
            return chinese ? L"文件大于任何均衡器文件（16 MB）" : L"the file is larger than any equalizer file (16 MB)";
        case FileProblem::kUnreadable: break;
    }
    const std::wstring code = std::to_wstring(import.code);
    return chinese ? L"无法读取文件（系统错误 " + code + L"）" : L"the file cannot be read (system error " + code + L")";
}

std::wstring PresetNameOfFile(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/:");
    std::wstring name = path.substr(slash == std::wstring::npos ? 0 : slash + 1);
    const std::size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0) name.erase(dot);
    return name;
}

std::wstring WideFromUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

}  // namespace effects
