// A running application on the headless platform for UI tests: a fresh
// configuration folder, the framework's services, and the driver.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/application/RkApplication.h"
#include "framework/application/RkWindowList.h"
#include "framework/core/RkGlobalVars.h"
#include "framework/core/RkMessage.h"
#include "framework/platform/headless/HeadlessApplicationImp.h"
#include "framework/platform/headless/driver/TestDriver.h"

// Records the messages that reach the application's chain (and passes
// them on), status queries left out: "18 28 ".
class MessageRecorder : public IRkMessageHandler {
public:
    bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override
    {
        if (message != kMsgCommandStatus)
            trace += std::to_string(message) + " ";
        messages.push_back(message);
        if (onMessage)
            onMessage(message, payload);
        return rest.HandleMessage(message, payload);
    }
    std::string trace;
    std::vector<uint16_t> messages;
    std::function<void(uint16_t, CRkMessage*)> onMessage;
};

class UiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path() /
                (std::string("vx_ui_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);
        app = std::make_unique<CRkApplication>(nullptr, CRkString(u"UiTest"), CRkString(u"1.0"), 0x54657374u, false);
        ASSERT_TRUE(app->Initialize());
        app->AddHandler(&recorder, false);
        driver.emplace();
        driver->GetDesktop().Reset();
        app->SetState(kAppRunning);
    }

    void TearDown() override
    {
        driver.reset();
        if (app)
            app->RemoveHandler(&recorder);
        app.reset();
        std::filesystem::remove_all(m_dir);
    }

    CRkHeadlessApplicationImp& Loop() { return *static_cast<CRkHeadlessApplicationImp*>(app->GetImp()); }
    // Lets posted messages run; fails the test instead of hanging.
    void Settle() { ASSERT_TRUE(driver->Settle(10000)) << "the event loop did not settle"; }
    const std::filesystem::path& Dir() const { return m_dir; }

    std::unique_ptr<CRkApplication> app;
    std::optional<CRkTestDriver> driver;
    MessageRecorder recorder;

private:
    std::filesystem::path m_dir;
};
