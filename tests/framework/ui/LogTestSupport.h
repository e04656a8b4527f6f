// The log window's tests: an application called "Vellumix" on the headless
// platform with an in-memory preference store and the log manager's hooks,
// driven through the test driver; and ways to read what the log shows.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/application/RkApplication.h"
#include "framework/core/Prefs.h"
#include "framework/core/PrefsTable.h"
#include "framework/core/Report.h"
#include "framework/core/RkGlobalVars.h"
#include "framework/platform/headless/driver/TestDriver.h"
#include "framework/ui/RkLogList.h"
#include "framework/ui/RkLogManager.h"
#include "framework/ui/RkLogWindow.h"

namespace log_test {

// No test needs more deliveries than this; a loop that never settles fails.
constexpr uint64_t kDeliveryLimit = 10000;

inline std::string Rect(const RkRect& r)
{
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
           std::to_string(r.height);
}

class LogFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        CRkHeadlessDesktop::Get().Reset();
        CRkGlobalVars::Create();
        ASSERT_TRUE(InstallPrefs(new CMemoryPrefsImp));
        app =
            std::make_unique<CRkApplication>(nullptr, CRkString(u"Vellumix"), CRkString(u"1.6.0"), 0x56784170u, false);
        ASSERT_TRUE(app->Initialize());
        driver = std::make_unique<CRkTestDriver>();
        ASSERT_NE(driver->GetLoop(), nullptr);
        InstallLogManager();
    }

    void TearDown() override
    {
        ResetReportHooks();
        if (app && driver) {
            CloseLog();
            EXPECT_TRUE(driver->Settle(kDeliveryLimit));
        }
        driver.reset();
        app.reset();
    }

    bool Settle() { return driver->Settle(kDeliveryLimit); }

    // The log window as the desktop shows it, hidden or not.
    CRkHeadlessWindowImp* LogImp() const { return driver->FindAnyWindow(CRkString(u"Vellumix Errors")); }
    CRkHeadlessNode* Control(uint32_t id) const { return CRkTestDriver::FindControl(LogImp(), id); }
    CRkHeadlessNode* ListNode() const { return Control(kLogListId); }
    CRkLogList& List() const { return GetLogWindow()->GetList(); }

    // The list painted as it shows now, one line per operation.
    std::vector<std::string> PaintList() const { return DescribeDisplayList(driver->Paint(ListNode())); }

    // The texts and icons the list shows, in painting order.
    std::vector<std::string> ShownTexts() const
    {
        std::vector<std::string> texts;
        for (const RkDrawOp& op : driver->Paint(ListNode()))
            if (op.op == RkDrawOpKind::Text)
                texts.push_back(CRkTestDriver::ToUtf8(op.text));
        return texts;
    }
    std::vector<uint32_t> ShownIcons() const
    {
        std::vector<uint32_t> icons;
        for (const RkDrawOp& op : driver->Paint(ListNode()))
            if (op.op == RkDrawOpKind::Image)
                icons.push_back(op.imageId);
        return icons;
    }

    // Every row record as "left,top widthxheight level:text".
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        if (!GetLogWindow())
            return rows;
        RkLogRow row{};
        for (uint32_t i = 0; List().GetRow(i, row); ++i) {
            std::string text = CRkTestDriver::ToUtf8(row.entry->GetText());
            rows.push_back(Rect({row.left, row.top, row.width, row.height}) + " " +
                           std::to_string(row.entry->GetLevel()) + ":" + text);
        }
        return rows;
    }

    // The four saved placement values, "-" for a key that is not there.
    std::vector<std::string> SavedPlacement() const
    {
        std::vector<std::string> values;
        for (const char* key : {"LogManager.WindowPos.x", "LogManager.WindowPos.y", "LogManager.WindowPos.width",
                                "LogManager.WindowPos.height"}) {
            int32_t value = 0;
            values.push_back(GetInt(key, value) ? std::to_string(value) : "-");
        }
        return values;
    }
    static void SavePlacementKeys(int32_t x, int32_t y, int32_t width, int32_t height)
    {
        SetInt("LogManager.WindowPos.x", x);
        SetInt("LogManager.WindowPos.y", y);
        SetInt("LogManager.WindowPos.width", width);
        SetInt("LogManager.WindowPos.height", height);
    }

    std::unique_ptr<CRkApplication> app;
    std::unique_ptr<CRkTestDriver> driver;
};

} // namespace log_test
