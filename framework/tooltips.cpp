#include "framework/tooltips.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "framework/controls.h"

namespace fw {
namespace {

struct ToolTipState {
    HWND owner = nullptr;
    CToolTipCtrl tip;
    HWND tool = nullptr;  // the child whose tool the tooltip holds
};

std::vector<std::unique_ptr<ToolTipState>>& States() {
    thread_local std::vector<std::unique_ptr<ToolTipState>> states;
    return states;
}

ToolTipState* StateOf(HWND owner) {
    for (auto& state : States())
        if (state->owner == owner) return state.get();
    return nullptr;
}

bool IsMouseMessage(UINT msg) {
    return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_NCMOUSEMOVE;
}

void SetTool(ToolTipState& state, HWND child) {
    if (state.tool == child) return;
    if (state.tool) state.tip.DelTool(state.owner, reinterpret_cast<UINT_PTR>(state.tool));
    state.tool = nullptr;
    if (child && state.tip.AddTool(child)) state.tool = child;
}

}  // namespace

void EnableToolTips(HWND owner, bool enable) {
    if (!owner) return;
    if (!enable) {
        detail::ForgetToolTips(owner);
        return;
    }
    if (StateOf(owner)) return;
    auto state = std::make_unique<ToolTipState>();
    state->owner = owner;
    if (!state->tip.Create(owner, TTS_ALWAYSTIP)) return;
    state->tip.Activate(true);
    States().push_back(std::move(state));
}

HWND ToolTipWindowOf(HWND owner) {
    const ToolTipState* state = StateOf(owner);
    return state ? state->tip.m_hWnd : nullptr;
}

HWND ToolChildAt(HWND owner, POINT client) {
    POINT screen = client;
    ::ClientToScreen(owner, &screen);
    for (HWND child = ::GetWindow(owner, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child)) continue;
        const int id = ::GetDlgCtrlID(child);
        if (id == 0 || id == 0xFFFF || id == -1) continue;
        const LONG_PTR style = ::GetWindowLongPtrW(child, GWL_STYLE);
        wchar_t className[16] = {};
        ::GetClassNameW(child, className, 16);
        if (lstrcmpiW(className, L"Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX) continue;
        RECT rect{};
        ::GetWindowRect(child, &rect);
        if (::PtInRect(&rect, screen)) return child;
    }
    return nullptr;
}

void FilterToolTipMessage(const MSG* msg) {
    if (!msg || !IsMouseMessage(msg->message) || States().empty()) return;
    // The enabling window that holds the message's window.
    ToolTipState* state = nullptr;
    for (HWND window = msg->hwnd; window && !state; window = ::GetParent(window)) state = StateOf(window);
    if (!state || !state->tip.m_hWnd) return;
    POINT client = msg->pt;
    ::ScreenToClient(state->owner, &client);
    HWND child = ToolChildAt(state->owner, client);
    SetTool(*state, child);
    if (!child) return;
    // The tooltip finds a TTF_IDISHWND tool by the message's window and wants
    // the point in that window's client coordinates.
    POINT local = msg->pt;
    ::ScreenToClient(child, &local);
    MSG relayed = *msg;
    relayed.hwnd = child;
    relayed.lParam = MAKELPARAM(local.x, local.y);
    state->tip.RelayEvent(&relayed);
}

namespace detail {

void ForgetToolTips(HWND owner) {
    auto& states = States();
    if (states.empty()) return;
    auto it = std::find_if(states.begin(), states.end(), [&](const auto& s) { return s->owner == owner; });
    if (it == states.end()) return;
    // Taken out first: destroying the tooltip window comes back here for it.
    std::unique_ptr<ToolTipState> state = std::move(*it);
    states.erase(it);
}

}  // namespace detail
}  // namespace fw
