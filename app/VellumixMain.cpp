#include "app/VellumixMain.h"

#include "app/VellumixApplication.h"
#include "app/VellumixCommandLine.h"
#include "framework/core/RkGlobalVars.h"
#include "framework/core/RkMessage.h"

CVellumixProgram::CVellumixProgram(const CRkString& commandLineTail, void* startup)
{
    CRkGlobalVars::Create();
    m_app = std::make_unique<CVellumixApplication>(startup);
    m_app->Initialize();
    m_app->SetState(kAppStarting);
    m_app->HandleMessage(kMsgStarted, nullptr);
    CRkCommandLine* commandLine = new CVellumixCommandLine(commandLineTail);
    m_app->PostMessage(kMsgCommandLine, new CRkCommandLineMessage(commandLine), 0);
}

CVellumixProgram::~CVellumixProgram()
{
    if (m_app)
        Finish();
}

uint32_t CVellumixProgram::Run()
{
    return m_app ? m_app->Run() : 0;
}

int CVellumixProgram::Finish(uint32_t runCode)
{
    if (!m_app)
        return 0;
    m_app->HandleMessage(kMsgEnding, nullptr);
    bool failed = m_app->HadError() || runCode != 0;
    m_app.reset();
    return failed ? 1 : 0;
}

int VellumixMain(const CRkString& commandLineTail, void* startup)
{
    CVellumixProgram program(commandLineTail, startup);
    uint32_t code = program.Run();
    return program.Finish(code);
}
