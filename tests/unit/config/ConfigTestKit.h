// The configuration sheet on the in-memory platform: settings in a
// registry that logs every store, MIDI devices by name, and a sheet run
// whose user acts from a script.
#pragma once

#include "app/ParadeSettings.h"
#include "app/SettingsKeys.h"
#include "config/SheetVelmar.h"
#include "platform/virtual/VirtualPlatform.h"
#include "res/resource.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/support/NoGraphics.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

class StoreLog : public MemoryRegistry {
public:
    bool Store(const RegistryPath& path, const std::string& name, const RegistryValue& value) override
    {
        m_stores.push_back(name);
        return MemoryRegistry::Store(path, name, value);
    }

    std::vector<std::string> m_stores;
};

// Output devices by product name; the ids in m_failing answer no query.
class NamedMidiDevices : public MidiOut {
public:
    UINT GetNumDevs() override { return static_cast<UINT>(m_names.size()); }
    MMRESULT GetDevName(UINT id, std::string& name) override
    {
        if (id >= m_names.size() || m_failing.count(id))
            return MMSYSERR_BADDEVICEID;
        name = m_names[id];
        return MMSYSERR_NOERROR;
    }
    MMRESULT StreamOpen(HMIDISTRM*, UINT, MidiStreamCallback, DWORD_PTR) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT StreamProperty(HMIDISTRM, BYTE*, DWORD) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT PrepareHeader(HMIDISTRM, MIDIHDR*, UINT) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT UnprepareHeader(HMIDISTRM, MIDIHDR*, UINT) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT StreamOut(HMIDISTRM, MIDIHDR*, UINT) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT ShortMsg(HMIDISTRM, DWORD) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT StreamRestart(HMIDISTRM) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT StreamPause(HMIDISTRM) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT StreamStop(HMIDISTRM) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT Reset(HMIDISTRM) override { return MMSYSERR_NOTSUPPORTED; }
    MMRESULT StreamClose(HMIDISTRM) override { return MMSYSERR_NOTSUPPORTED; }

    std::vector<std::string> m_names{"Software Synthesizer", "Midi Through Port-0"};
    std::set<UINT> m_failing;
};

enum PageIndex { MIDI_PAGE = 0, BACKGROUND_PAGE = 1, ANIMATION_PAGE = 2, ABOUT_PAGE = 3 };

class ConfigSheet : public ::testing::Test {
protected:
    // Runs the sheet with `script` as its user and keeps what the user saw
    // of the pages when the script ended.
    SheetResult Run(const std::function<void(VirtualSheet&)>& script)
    {
        m_platform.Dialogs().SetScript([&](VirtualSheet& sheet) {
            script(sheet);
            m_pages.clear();
            for (int page = 0; page < sheet.PageCount(); ++page)
                m_pages.push_back(sheet.Page(page) ? std::optional<VirtualPage>(*sheet.Page(page)) : std::nullopt);
        });
        CSheetVelmar sheet(m_platform, m_settings, m_devices, IDS_SHEET_CAPTION, nullptr, 0);
        const SheetResult result = sheet.DoModal();
        for (const auto& page : m_pages) {
            if (page) {
                EXPECT_TRUE(page->Misuses().empty());
            }
        }
        return result;
    }

    // A control as the script left it.
    const VirtualControl& Control(int page, int id) const
    {
        const VirtualControl* control = m_pages.at(page)->Find(id);
        EXPECT_NE(control, nullptr);
        return *control;
    }

    int Stored(const std::string& key) const { return m_settings.ReadInt(key, -12345); }
    std::string StoredText(const std::string& key) const { return m_settings.ReadString(key, "<missing>"); }
    bool IsStored(const std::string& key) const { return m_registry.m_values.count(key) != 0; }
    void ForgetStores() { m_registry.m_stores.clear(); }
    const std::vector<std::string>& Stores() const { return m_registry.m_stores; }

    StoreLog m_registry;
    NoGraphics m_graphics;
    VirtualPlatform m_platform{m_registry, m_graphics, "/opt/saver/Dovezi", SIZE{1024, 768}};
    ParadeSettings m_settings{m_registry, REGISTRY_KEY_NAME, "Dovezi"};
    NamedMidiDevices m_devices;
    std::vector<std::optional<VirtualPage>> m_pages;
};
