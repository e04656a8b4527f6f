// The self-test mode of the Windows programs: when the environment variable
// RK_SELF_TEST names a scenario file, a driver thread works through it while
// the program runs normally, posting real input to the program's real
// windows and checking what they show. The outcome ("PASS", or one line
// "FAIL line N: ...") goes to the file RK_SELF_TEST_REPORT (default: the
// scenario's name followed by ".report"). A scenario ends with the step
// expect-exit: PASS is written when the program ends by itself there. A
// failed step ends the process with kSelfTestFailedExit, an unreadable
// scenario with kSelfTestBadScenarioExit.
#pragma once

enum : int {
    kSelfTestFailedExit = 99,
    kSelfTestBadScenarioExit = 98,
};

// Call once on the program's UI thread before its event loop starts; does
// nothing when RK_SELF_TEST is not set.
void StartWinSelfTestFromEnvironment();
