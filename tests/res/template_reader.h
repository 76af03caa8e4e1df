// Reads an extended dialog template from the program's resources as the
// resource compiler wrote it, so the tests can compare the raw items.
#ifndef ORVANE_TESTS_RES_TEMPLATE_READER_H
#define ORVANE_TESTS_RES_TEMPLATE_READER_H

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace restest {

struct RawItem {
    DWORD style = 0, exStyle = 0;
    int x = 0, y = 0, w = 0, h = 0;
    int id = 0;
    std::wstring cls;       // class name, or "#<atom>" for a predefined class ordinal
    std::wstring text;      // caption, or "#<n>" for an ordinal (a picture's resource ID)
};

struct RawTemplate {
    DWORD style = 0, exStyle = 0;
    int w = 0, h = 0;
    int pointSize = 0;
    std::wstring face;
    std::vector<RawItem> items;
};

class CTemplateCursor {
public:
    CTemplateCursor(const BYTE* data, size_t size) : m_data(data), m_size(size) {}
    bool Ok() const { return m_ok; }
    template <typename T> T Read() {
        T v{};
        if (m_pos + sizeof v > m_size) {
            m_ok = false;
            return v;
        }
        std::memcpy(&v, m_data + m_pos, sizeof v);
        m_pos += sizeof v;
        return v;
    }
    std::wstring String() {
        std::wstring s;
        for (wchar_t c = static_cast<wchar_t>(Read<WORD>()); m_ok && c; c = static_cast<wchar_t>(Read<WORD>())) s += c;
        return s;
    }
    std::wstring StringOrOrdinal() {
        const WORD first = Read<WORD>();
        if (first == 0xFFFF) return L"#" + std::to_wstring(Read<WORD>());
        if (first == 0) return L"";
        return static_cast<wchar_t>(first) + String();
    }
    void Align(size_t n) { m_pos = (m_pos + n - 1) / n * n; }
    void Skip(size_t n) { m_pos += n; }

private:
    const BYTE* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_ok = true;
};

inline std::optional<RawTemplate> ReadTemplate(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    if (!res) return std::nullopt;
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, res)));
    CTemplateCursor in(data, SizeofResource(module, res));
    RawTemplate t;
    if (in.Read<WORD>() != 1 || in.Read<WORD>() != 0xFFFF) return std::nullopt;  // DLGTEMPLATEEX only
    in.Read<DWORD>();  // help ID
    t.exStyle = in.Read<DWORD>();
    t.style = in.Read<DWORD>();
    const WORD count = in.Read<WORD>();
    in.Read<short>();
    in.Read<short>();
    t.w = in.Read<short>();
    t.h = in.Read<short>();
    in.StringOrOrdinal();  // menu
    in.StringOrOrdinal();  // class
    in.String();           // title
    if (t.style & DS_SETFONT) {
        t.pointSize = in.Read<WORD>();
        in.Read<WORD>();
        in.Read<BYTE>();
        in.Read<BYTE>();
        t.face = in.String();
    }
    for (WORD i = 0; i < count && in.Ok(); ++i) {
        in.Align(4);
        RawItem item;
        in.Read<DWORD>();  // help ID
        item.exStyle = in.Read<DWORD>();
        item.style = in.Read<DWORD>();
        item.x = in.Read<short>();
        item.y = in.Read<short>();
        item.w = in.Read<short>();
        item.h = in.Read<short>();
        item.id = static_cast<int>(in.Read<DWORD>());
        item.cls = in.StringOrOrdinal();
        item.text = in.StringOrOrdinal();
        in.Skip(in.Read<WORD>());
        t.items.push_back(item);
    }
    if (!in.Ok()) return std::nullopt;
    return t;
}

}  // namespace restest

#endif
