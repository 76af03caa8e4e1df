// Sample rate, S/PDIF output and tooltips on the real panel.
#include "panel_fixture.h"

namespace {

const std::vector<int> kRateIds = {1201, 1264, 1265, 1266, 1267, 1268, 1269, 1271};
const wchar_t kDeferred[] = L"This will take effect after current task is stopped!";
const wchar_t kFixed[] = L"Cannot change when S/PDIF Out fixed at 48Hz!";
const wchar_t kRateFail[] = L"Get Rate Fail !";

std::vector<std::uint8_t> Rate() { return PanelTest::Read(CorraGetSR, 2); }

struct OwnedTooltip {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwnedTooltip(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<OwnedTooltip*>(param);
    wchar_t cls[32] = {};
    ::GetClassNameW(window, cls, 32);
    if (::GetWindow(window, GW_OWNER) != search->owner || ::lstrcmpiW(cls, TOOLTIPS_CLASSW) != 0) return TRUE;
    search->found = window;
    return FALSE;
}
std::vector<std::uint8_t> Spdif() { return PanelTest::Read(CorraGetSPDIFOUT, 4); }

}  // namespace

TEST_F(PanelTest, RateWithMusicPlaying) {
    OrvaneVcSet("playing", "1");
    Open();
    // The refresh tick sees the output levels: the master meters move.
    auto playing = [&] { return Meter(1169)->m_pos != 0 || Meter(1214)->m_pos != 0; };
    for (int i = 0; i < 50 && !playing(); ++i) PumpFor(20);
    ASSERT_TRUE(playing());
    Click(1265);
    EXPECT_EQ(Rate(), (std::vector<std::uint8_t>{0, 8}));
    EXPECT_EQ(boxes, std::vector<std::wstring>{kDeferred});
}

TEST_F(PanelTest, Ac3OnlyHoldsFortyEightAndPcmReleasesIt) {
    OrvaneVcSet("sample_rate", "00 07");  // 96 kHz, PCM out
    Open();
    EXPECT_TRUE(Checked(1268) && Checked(1249));

    Click(1250);  // "AC3 Only (48KHz)"
    EXPECT_EQ(Spdif(), (std::vector<std::uint8_t>{1, 0, 1, 0}));
    EXPECT_EQ(Rate(), (std::vector<std::uint8_t>{0, 0}));
    EXPECT_TRUE(boxes.empty());
    for (int id : kRateIds) EXPECT_EQ(Enabled(id), id == 1266) << id;
    EXPECT_TRUE(Checked(1266));

    // The one rate left is written without the AC3 message; when its write
    // fails, the button says so.
    OrvaneVcSet("sample_rate", "00 07");
    Click(1266);
    EXPECT_EQ(Rate(), (std::vector<std::uint8_t>{0, 0}));
    EXPECT_TRUE(boxes.empty());
    OrvaneVcSet("sample_rate", "00 07");
    OrvaneVcSet("fault.property", "0x100D");
    Click(1266);
    EXPECT_EQ(boxes, std::vector<std::wstring>{kRateFail});
    OrvaneVcSet("fault.property", "");
    EXPECT_EQ(Rate(), (std::vector<std::uint8_t>{0, 7}));
    boxes.clear();

    Click(1249);  // "PCM Only"
    for (int id : kRateIds) EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_EQ(Rate(), (std::vector<std::uint8_t>{0, 7}));
    EXPECT_EQ(Spdif(), (std::vector<std::uint8_t>{1, 0, 2, 0}));
}

TEST_F(PanelTest, StartInAnAc3ModeWritesFortyEight) {
    OrvaneVcSet("spdif_out_word", "01 00 00 00");  // auto select: 48 kHz held
    OrvaneVcSet("sample_rate", "00 08");
    Open();
    EXPECT_TRUE(Checked(1252) && Checked(1266));
    EXPECT_EQ(Rate(), (std::vector<std::uint8_t>{0, 0}));
    for (int id : kRateIds) EXPECT_EQ(Enabled(id), id == 1266) << id;
}

TEST_F(PanelTest, RateRefusedInAnAc3ModeIsWrittenAllTheSame) {
    // Start-up in AC3 only could not write 48 kHz, so every rate stayed enabled.
    OrvaneVcSet("spdif_out_word", "01 00 01 00");
    OrvaneVcSet("fault.property", "0x100D");
    Open();
    EXPECT_EQ(startupBoxes, std::vector<std::wstring>{kRateFail});
    OrvaneVcSet("fault.property", "");
    ASSERT_TRUE(Checked(1250) && Enabled(1265));
    Click(1265);
    EXPECT_EQ(Rate(), (std::vector<std::uint8_t>{0, 8}));
    EXPECT_EQ(boxes, std::vector<std::wstring>{kFixed});
}

TEST_F(PanelTest, FailedFortyEightKeepsTheButtonsDisabled) {
    Open();
    OrvaneVcSet("fault.property", "0x100D");
    Click(1250);
    EXPECT_EQ(Spdif(), (std::vector<std::uint8_t>{1, 0, 1, 0}));
    EXPECT_EQ(boxes, std::vector<std::wstring>{kRateFail});
    for (int id : kRateIds) EXPECT_EQ(Enabled(id), id == 1266) << id;
    // 32 kHz fails silently; the others say so.
    OrvaneVcSet("fault.property", "");
    Click(1249);
    OrvaneVcSet("fault.property", "0x100D");
    boxes.clear();
    Click(1264);
    EXPECT_TRUE(boxes.empty());
    Click(1267);
    EXPECT_EQ(boxes, std::vector<std::wstring>{kRateFail});
}

TEST_F(PanelTest, SpdifOffKeepsTheModeForOn) {
    Open();
    ASSERT_TRUE(Checked(1203) && Checked(1249));
    Click(1203);
    EXPECT_EQ(Spdif(), (std::vector<std::uint8_t>{0, 0, 2, 0}));
    for (int id : {1252, 1249, 1250, 1251}) EXPECT_FALSE(Enabled(id) || Checked(id)) << id;
    Click(1203);
    EXPECT_EQ(Spdif(), (std::vector<std::uint8_t>{1, 0, 2, 0}));
    EXPECT_TRUE(Checked(1249) && Enabled(1250));
}

TEST_F(PanelTest, CardWithoutSpdifOutChangesNothing) {
    OrvaneVcSet("spdif_out", "0");
    OrvaneVcSet("spdif_out_word", "00 00 03 00");
    Open();
    EXPECT_FALSE(Checked(1203));
    const bool modesEnabled = Enabled(1252);
    Click(1203);
    EXPECT_EQ(Key("spdif_out_word"), "00 00 03 00");
    EXPECT_EQ(Enabled(1252), modesEnabled);
    EXPECT_FALSE(Checked(1251));
}

TEST_F(PanelTest, FlagWithoutACheckedRateSendsNothing) {
    OrvaneVcSet("sample_rate", "00 08");
    Open();
    ASSERT_TRUE(Checked(1265));
    Click(1201);  // the rate it sends is the one checked before the click
    EXPECT_EQ(Rate(), (std::vector<std::uint8_t>{1, 8}));
    for (int id : kRateIds) EXPECT_EQ(Checked(id), id == 1201) << id;
    // Any rate record sent now would overwrite what the card was given meanwhile.
    OrvaneVcSet("sample_rate", "01 07");
    Click(1201);
    EXPECT_EQ(Rate(), (std::vector<std::uint8_t>{1, 7}));  // above all, not switched to 48 kHz

    // A rate click reads the flag as it was before the click: set once, then clear.
    Click(1269);
    EXPECT_EQ(Rate(), (std::vector<std::uint8_t>{1, 12}));
    Click(1267);
    EXPECT_EQ(Rate(), (std::vector<std::uint8_t>{0, 11}));
}

TEST_F(PanelTest, TooltipsFollowTheLanguageButton) {
    Open();
    OwnedTooltip panelTip{dlg->m_hWnd, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindOwnedTooltip, reinterpret_cast<LPARAM>(&panelTip));
    ASSERT_NE(panelTip.found, nullptr);
    auto tip = [&](int id) -> std::wstring {
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = panelTip.found;
        info.hdr.idFrom = reinterpret_cast<UINT_PTR>(Item(id));
        info.hdr.code = TTN_NEEDTEXTW;
        info.uFlags = TTF_IDISHWND;
        if (!::SendMessageW(dlg->m_hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info))) return L"(none)";
        return info.lpszText ? info.lpszText : info.szText;
    };
    const int ids[] = {1153, 1287, 1288, 1258, 1289, 1290, 1291, 1260, 1292, 1299, 1300, 1259, 1261,
                       1262, 1263, 1182, 1205, 1202, 1203, 1204, 1249, 1250, 1251, 1252};
    std::vector<std::wstring> english;
    for (int id : ids) english.push_back(tip(id));
    EXPECT_EQ(english[0], L"Master Volume");
    EXPECT_EQ(english[11], L"Stero Mixer");
    EXPECT_EQ(english[23], L"AC3 or PCM Auto Select(48KHz)");
    EXPECT_EQ(tip(1162), L"(none)");
    Click(1279);
    for (std::size_t i = 0; i < std::size(ids); ++i) {
        const std::wstring chinese = tip(ids[i]);
        EXPECT_NE(chinese, english[i]) << ids[i];
        EXPECT_NE(chinese, L"(none)") << ids[i];
    }
    EXPECT_EQ(tip(1153), L"\u4e3b\u97f3\u91cf");
    Click(1279);
    EXPECT_EQ(tip(1153), L"Master Volume");
}
