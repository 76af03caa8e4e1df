// The texts of the effects window and the preset window, in both languages
// (the main panel's language button chooses). Chinese is shown through the
// wide-character functions, so it reads correctly under any code page.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "panel/effects/preset_names.h"
#include "panel/res/resource_ids.h"

namespace effects {

struct ToolTipText {
    UINT control;
    const wchar_t* english;
    const wchar_t* chinese;
};

// Controls of the effects window with a tooltip; the others have none.
inline constexpr ToolTipText kToolTips[] = {
    {IDC_FX_PRESET, L"Preset", L"模式设定"},
    {IDC_FX_ENVIRONMENT, L"Environmental Modedling", L"环境音效"},
    {IDC_FX_ENV_INIT, L"Environment Init", L"环境音效初始化"},
    {IDC_FX_3D, L"3D Effects Enable", L"3D 音效开启"},
};

inline constexpr wchar_t kNotSupported[] = L"Not Support";
inline constexpr wchar_t kOverwriteQuestion[] =
    L"There is already a preset saved by this name. Do you want to overwrite it?";

// Why ADD refused a name; null for a name that is fine or empty (an empty
// name is ignored without a word).
inline const wchar_t* NameProblemText(NameProblem problem, bool chinese) {
    switch (problem) {
        case NameProblem::kEquals:
            return chinese ? L"预设名称不能包含“=”。" : L"A preset name cannot contain \"=\".";
        case NameProblem::kControl:
            return chinese ? L"预设名称不能包含换行符或其他控制字符。"
                           : L"A preset name cannot contain a line break or another control character.";
        case NameProblem::kSectionStart:
            return chinese ? L"预设名称不能以“[”或“;”开头。" : L"A preset name cannot begin with \"[\" or \";\".";
        case NameProblem::kOuterSpace:
            return chinese ? L"预设名称的开头和结尾不能是空格。" : L"A preset name cannot begin or end with a space.";
        case NameProblem::kCodePage:
            return chinese ? L"预设名称中含有本系统无法保存的字符。"
                           : L"A preset name cannot hold characters that this system cannot save.";
        case NameProblem::kNone:
        case NameProblem::kEmpty: break;
    }
    return nullptr;
}

// A file dropped on the effects window that was not imported: its name and why.
inline std::wstring DropRefusedText(const std::wstring& file, const std::wstring& why, bool chinese) {
    return chinese ? L"未导入“" + file + L"”：" + why : L"\"" + file + L"\" was not imported: " + why;
}
inline const wchar_t* EmptyNameText(bool chinese) {
    return chinese ? L"预设名称不能为空。" : L"A preset name cannot be empty.";
}
inline const wchar_t* SettingsNotWrittenText(bool chinese) {
    return chinese ? L"无法写入设置文件" : L"the settings file cannot be written";
}
// A dropped file imported after moving or clamping its curve: what was done,
// one sentence each.
inline std::wstring DropFittedText(const std::wstring& name, const std::vector<std::wstring>& done, bool chinese) {
    std::wstring text = chinese ? L"已导入预设“" + name + L"”：" : L"Preset \"" + name + L"\" imported: ";
    for (std::size_t i = 0; i < done.size(); ++i) text += (i ? (chinese ? L"；" : L"; ") : L"") + done[i];
    return text + (chinese ? L"。" : L".");
}

}  // namespace effects
