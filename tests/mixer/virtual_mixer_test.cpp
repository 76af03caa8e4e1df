// The virtual card's mixer model: topology, values, faults, notifications and
// how the card's levels follow it.
#include <vector>

#include "card_fixture.h"
#include "mixer.h"

using namespace vcard;

class Mixer : public CardTest {
protected:
    Mixer() : mixer(card) {
        mixer.SetNotify([this](std::uintptr_t w, std::uintptr_t h, std::uint32_t id) {
            notes.push_back({w, h, id});
        });
    }
    MixerControl Control(std::uint32_t device, std::uint32_t dest, std::uint32_t src, std::uint32_t type) {
        MixerLine line;
        EXPECT_EQ(mixer.Line(device, dest, src, line), kMixOk);
        MixerControl c;
        EXPECT_EQ(mixer.ControlByType(device, line.id, type, c), kMixOk);
        return c;
    }
    struct Note { std::uintptr_t window, handle; std::uint32_t id; };
    CVirtualMixer mixer;
    std::vector<Note> notes;
};

TEST_F(Mixer, DevicesAndTheirNames) {
    EXPECT_EQ(mixer.DeviceCount(), 2u);
    std::string name;
    ASSERT_TRUE(mixer.DeviceName(0, name));
    EXPECT_EQ(name, "Orvane Audio (WDM)");
    EXPECT_FALSE(mixer.DeviceName(2, name));
    card.Set("mixer.fault.name", "1");
    ASSERT_TRUE(mixer.DeviceName(0, name));
    EXPECT_NE(name, "Orvane Audio (WDM)");
    card.Set("mixer.fault.none", "1");
    EXPECT_EQ(mixer.DeviceCount(), 0u);
    card.Set("mixer.fault.none", "");
    card.Set("recording.absent", "1");
    EXPECT_EQ(mixer.WaveInDeviceCount(), 0u);
}

TEST_F(Mixer, LinesThePanelBinds) {
    struct Want { std::uint32_t dest, src, channels; const char* shortName; };
    const Want wants[] = {{0, kAllSources, 2, "Volume"}, {0, 0, 2, "Wave"},  {0, 1, 2, "MIDI"},
                          {0, 2, 2, "CD"},   {0, 3, 1, "Mic"},   {0, 4, 2, "Line In"},
                          {0, 6, 2, "AUX"},  {0, 10, 2, "SPDIF"}, {1, 0, 2, "Front"},
                          {1, 1, 1, "LFE"},  {1, 2, 1, "Center"}, {1, 3, 2, "Surround"},
                          {1, 4, 2, "Back"}, {2, 0, 2, "Stereo Mix"}, {2, 1, 1, "Mic"},
                          {2, 2, 2, "Line In"}, {2, 4, 2, "Video"}};
    for (const Want& w : wants) {
        MixerLine line;
        ASSERT_EQ(mixer.Line(kCardMixer, w.dest, w.src, line), kMixOk) << w.dest << "." << w.src;
        EXPECT_EQ(line.channels, w.channels) << w.shortName;
        EXPECT_EQ(line.shortName, w.shortName);
    }
    MixerLine line;
    EXPECT_EQ(mixer.Line(kCardMixer, 0, 11, line), kMixBadLine);
    EXPECT_EQ(mixer.Line(kCardMixer, 3, kAllSources, line), kMixBadLine);
}

TEST_F(Mixer, VolumeRangeAndUnits) {
    const MixerControl v = Control(kCardMixer, 0, 0, kTypeVolume);
    EXPECT_EQ(v.minimum, 0u);
    EXPECT_EQ(v.maximum, 65535u);
    EXPECT_EQ(v.steps, 192u);
    EXPECT_EQ((v.type >> 16) & 0xFF, 0x03u);  // unsigned
    EXPECT_EQ(v.flags & kControlUniform, 0u);
}

TEST_F(Mixer, ValuesPersistAndAUniformWriteSetsEveryChannel) {
    const MixerControl v = Control(kCardMixer, 0, 0, kTypeVolume);
    ASSERT_EQ(mixer.Write(kCardMixer, v.id, 2, {30000, 15000}), kMixOk);
    std::vector<std::uint32_t> values;
    ASSERT_EQ(mixer.Read(kCardMixer, v.id, 2, values), kMixOk);
    EXPECT_EQ(values, (std::vector<std::uint32_t>{30000, 15000}));
    ASSERT_EQ(mixer.Write(kCardMixer, v.id, 1, {1000}), kMixOk);
    ASSERT_EQ(mixer.Read(kCardMixer, v.id, 2, values), kMixOk);
    EXPECT_EQ(values, (std::vector<std::uint32_t>{1000, 1000}));
    ASSERT_EQ(mixer.Write(kCardMixer, v.id, 2, {70000, 0}), kMixOk);  // clamped to the maximum
    ASSERT_EQ(mixer.Read(kCardMixer, v.id, 2, values), kMixOk);
    EXPECT_EQ(values[0], 65535u);

    CVirtualCard again(m_path);
    CVirtualMixer second(again);
    ASSERT_EQ(second.Read(kCardMixer, v.id, 2, values), kMixOk);
    EXPECT_EQ(values, (std::vector<std::uint32_t>{65535, 0}));
}

// The state file is edited by hand and by tests: what it holds reaches the
// program only within each control's bounds.
TEST_F(Mixer, StoredValuesOutsideTheBoundsAreReadWithinThem) {
    const MixerControl v = Control(kCardMixer, 0, 0, kTypeVolume);
    card.Set("mixer.0.0.0.volume", "4294967296 -7");
    std::vector<std::uint32_t> values;
    ASSERT_EQ(mixer.Read(kCardMixer, v.id, 2, values), kMixOk);
    EXPECT_EQ(values, (std::vector<std::uint32_t>{65535, 0}));
    const MixerControl mute = Control(kCardMixer, 0, 0, kTypeMute);
    card.Set("mixer.0.0.0.mute", "5");
    ASSERT_EQ(mixer.Read(kCardMixer, mute.id, 1, values), kMixOk);
    EXPECT_EQ(values, (std::vector<std::uint32_t>{1}));
}

// Controls some drivers report: a volume with one value for both channels of
// a stereo line, and a multiplexer on the card mixer's recording destination.
TEST_F(Mixer, AUniformVolumeAndAListControlOnTheCardMixer) {
    card.Set("mixer.uniform_volume", "0.4");
    const MixerControl uniform = Control(kCardMixer, 0, 4, kTypeVolume);
    EXPECT_EQ(uniform.flags & kControlUniform, kControlUniform);
    ASSERT_EQ(mixer.Write(kCardMixer, uniform.id, 1, {20000}), kMixOk);
    EXPECT_EQ(card.Get("mixer.0.0.4.volume"), "20000");
    EXPECT_EQ(Control(kCardMixer, 0, 2, kTypeVolume).flags & kControlUniform, 0u);

    MixerLine record;
    ASSERT_EQ(mixer.Line(kCardMixer, 2, kAllSources, record), kMixOk);
    MixerControl mux;
    EXPECT_EQ(mixer.ControlByType(kCardMixer, record.id, kTypeMux, mux), kMixBadControl);
    card.Set("mixer.record_mux", "1");
    mux = Control(kCardMixer, 2, kAllSources, kTypeMux);
    EXPECT_EQ(mux.items, 5u);
    std::vector<std::uint32_t> values;
    ASSERT_EQ(mixer.Read(kCardMixer, mux.id, 1, values), kMixOk);
    EXPECT_EQ(values.size(), 5u);
}

TEST_F(Mixer, TheCenterSwapIsTheControlAboveTheReportedOne) {
    const MixerControl reported = Control(kCardMixer, 1, 2, kTypeOnOff);
    ASSERT_EQ(mixer.Write(kCardMixer, reported.id + 1, 1, {1}), kMixOk);
    EXPECT_EQ(card.Get("mixer.0.1.2.swap"), "1");
    EXPECT_EQ(card.Get("mixer.0.1.2.onoff"), "");
    const MixerControl dc = Control(kCardMixer, 2, kAllSources, kTypeOnOff);
    EXPECT_EQ(dc.name, "DC Remove");
    EXPECT_EQ(Control(kCardMixer, 2, 1, kTypeOnOff).name, "Set To Front Mic");
    Control(kCardMixer, 2, kAllSources, kTypeMute);
}

TEST_F(Mixer, WaveInMultiplexerNumbersItsSourcesForTheSelector) {
    MixerLine dest;
    ASSERT_EQ(mixer.Line(kWaveInMixer, 0, kAllSources, dest), kMixOk);
    EXPECT_EQ(dest.connections, 6u);
    const char* names[] = {"CD", "Video", "Phone", "Line In", "Mic", "Stereo Mix"};
    for (std::uint32_t i = 0; i < 6; ++i) {
        MixerLine line;
        ASSERT_EQ(mixer.Line(kWaveInMixer, 0, i, line), kMixOk);
        EXPECT_EQ(line.shortName, names[i]);
    }
    const MixerControl mux = Control(kWaveInMixer, 0, kAllSources, kTypeMux);
    EXPECT_EQ(mux.items, 6u);
    std::vector<std::uint32_t> items;
    ASSERT_EQ(mixer.Read(kWaveInMixer, mux.id, 1, items), kMixOk);
    EXPECT_EQ(items, (std::vector<std::uint32_t>{0, 0, 0, 0, 1, 0}));
    ASSERT_EQ(mixer.Write(kWaveInMixer, mux.id, 1, {0, 0, 0, 0, 0, 1}), kMixOk);
    ASSERT_EQ(mixer.Read(kWaveInMixer, mux.id, 1, items), kMixOk);
    EXPECT_EQ(items[5], 1u);
}

TEST_F(Mixer, FaultsOnLinesControlsAndValues) {
    card.Set("mixer.fault.no_controls", "0.4");
    MixerLine line;
    ASSERT_EQ(mixer.Line(kCardMixer, 0, 4, line), kMixOk);
    EXPECT_TRUE(line.controls.empty());
    // The lines are kept between queries, but not past a change of the setting.
    card.Set("mixer.fault.no_controls", "0.3");
    ASSERT_EQ(mixer.Line(kCardMixer, 0, 4, line), kMixOk);
    EXPECT_EQ(line.controls.size(), 2u);
    card.Set("mixer.fault.no_controls", "0.4");
    card.Set("mixer.fault.unknown_units", "0.2");
    const MixerControl odd = Control(kCardMixer, 0, 2, kTypeVolume);
    EXPECT_EQ((odd.type >> 16) & 0xFF, 0x06u);
    const MixerControl v = Control(kCardMixer, 0, 0, kTypeVolume);
    std::vector<std::uint32_t> values;
    card.Set("mixer.fault.read", "1");
    EXPECT_NE(mixer.Read(kCardMixer, v.id, 2, values), kMixOk);
    card.Set("mixer.fault.write", "1");
    EXPECT_NE(mixer.Write(kCardMixer, v.id, 2, {1, 1}), kMixOk);
    card.Set("mixer.fault.read", "");
    EXPECT_EQ(mixer.Read(kCardMixer, 9999, 1, values), kMixBadControl);
}

TEST_F(Mixer, EveryWriteNotifiesEachHandleWithAWindowOnThatDevice) {
    const auto a = mixer.Open(kCardMixer, 0x111);
    const auto b = mixer.Open(kCardMixer, 0x222);
    const auto quiet = mixer.Open(kCardMixer, 0);
    const auto other = mixer.Open(kWaveInMixer, 0x333);
    const MixerControl mute = Control(kCardMixer, 0, 0, kTypeMute);
    ASSERT_EQ(mixer.Write(kCardMixer, mute.id, 1, {1}), kMixOk);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].window, 0x111u);
    EXPECT_EQ(notes[0].handle, a);
    EXPECT_EQ(notes[1].handle, b);
    EXPECT_EQ(notes[1].id, mute.id);
    EXPECT_EQ(mixer.OpenHandles(), 4);
    for (auto h : {a, b, quiet, other}) EXPECT_EQ(mixer.Close(h), kMixOk);
    EXPECT_EQ(mixer.Close(a), kMixBadHandle);
    EXPECT_EQ(mixer.OpenHandles(), 0);
}

TEST_F(Mixer, TheCardsLevelsFollowVolumesAndMutes) {
    card.Set("channels", "8");
    const MixerControl waveMute = Control(kCardMixer, 0, 0, kTypeMute);
    auto loud = card.DynamicStatus();
    int sum = 0;
    for (int ch = 0; ch < 8; ++ch) sum += loud[static_cast<std::size_t>(ch)];
    EXPECT_GT(sum, 0);
    ASSERT_EQ(mixer.Write(kCardMixer, waveMute.id, 1, {1}), kMixOk);
    auto silent = card.DynamicStatus();
    for (int ch = 0; ch < 8; ++ch) EXPECT_EQ(silent[static_cast<std::size_t>(ch)], 0) << ch;
    ASSERT_EQ(mixer.Write(kCardMixer, waveMute.id, 1, {0}), kMixOk);
    const MixerControl back = Control(kCardMixer, 1, 4, kTypeVolume);
    ASSERT_EQ(mixer.Write(kCardMixer, back.id, 2, {0, 0}), kMixOk);
    auto noBack = card.DynamicStatus();
    EXPECT_EQ(noBack[6], 0);
    EXPECT_EQ(noBack[7], 0);
    const MixerControl recMute = Control(kCardMixer, 2, kAllSources, kTypeMute);
    ASSERT_EQ(mixer.Write(kCardMixer, recMute.id, 1, {1}), kMixOk);
    EXPECT_EQ(card.DynamicStatus()[11], 0);
}
