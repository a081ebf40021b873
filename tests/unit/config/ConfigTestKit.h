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
#include "tests/support/NamedMidiDevices.h"
#include "tests/support/NoGraphics.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

class StoreLog : public MemoryRegistry {
public:
    bool Store(const RegistryPath& path, const std::string& name, const RegistryValue& value) override
    {
        m_stores.push_back(name);
        return MemoryRegistry::Store(path, name, value);
    }
    std::string TakeNotice() override { return std::exchange(m_strNotice, std::string()); }

    std::vector<std::string> m_stores;
    std::string m_strNotice;
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
    const ControlState& Control(int page, int id) const
    {
        const ControlState* control = m_pages.at(page)->Find(id);
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
