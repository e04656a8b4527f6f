// The kinds of self-test step, in one table: each is tried again and again
// until it is done or its time-out has passed. An action is done once it
// has acted (it waits for its window first); an expectation is done once
// it holds. `seen` tells what was found instead, for the report.
#pragma once

#include <cstddef>
#include <map>
#include <string>

#include "framework/platform/win32/Win32Api.h"
#include "framework/platform/win32/selftest/WinSelfTestScenario.h"

struct SelfTestContext {
    // The first window found for each selector (expect-same-window).
    std::map<std::wstring, HWND> firstSeen;
};

struct SelfTestStepKind {
    const char* name;
    size_t minArgs;
    size_t maxArgs;
    bool (*attempt)(SelfTestContext& context, const SelfTestStep& step, std::wstring& seen);
    // Can still be checked once the program has ended (files, windows gone).
    bool afterExit = false;
};

// The folder that relative file names in steps are taken from.
void SetSelfTestBaseDirectory(const std::wstring& directory);
// The kind named `name`; null when there is none.
const SelfTestStepKind* FindSelfTestStepKind(const std::string& name);
// Checks the argument count of every step and the shape of ids, numbers
// and yes/no values, and that the scenario ends with expect-exit (only
// checks that can be made after the program's end may follow it); false
// with `error` naming the first bad line.
bool CheckSelfTestSteps(const std::vector<SelfTestStep>& steps, std::string& error);
