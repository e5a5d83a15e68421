#pragma once

#include "CFakeDialogItems.h"

#include "app/AppSettings.h"
#include "dialogs/CPageDlg.h"
#include "dialogs/CPageRegistry.h"
#include "res/ParamsDialogs.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

// Every field of a record as "name=value;" text, in record order, to compare records whole.
std::string SettingsText(const AppSettings& settings);

// One page on a fake window: created, then bound to m_settings by Open().
class CPageHarness : public ::testing::Test {
protected:
    void Open(CPageDlg& page) {
        const SDlgTemplate* pTemplate = FindDialogTemplate(page.GetTemplateID());
        ASSERT_NE(pTemplate, nullptr);
        m_pItems = std::make_unique<CFakeDialogItems>(*pTemplate);
        m_pItems->m_pPage = &page;
        ASSERT_TRUE(page.Create(*m_pItems));
        page.Bind(&m_settings);
    }
    // The page hands its controls back into a record of defaults: what it stores.
    AppSettings Stored(CPageDlg& page) {
        m_settings = AppSettings();
        page.StoreIfBound();
        return m_settings;
    }
    CFakeDialogItems& Items() { return *m_pItems; }
    void ExpectEnabled(std::initializer_list<int> ids, bool bEnabled) {
        for (int nID : ids)
            EXPECT_EQ(m_pItems->IsItemEnabled(nID), bEnabled) << "control " << nID;
    }

    CPageRegistry m_registry;
    AppSettings m_settings;
    std::unique_ptr<CFakeDialogItems> m_pItems;
};
