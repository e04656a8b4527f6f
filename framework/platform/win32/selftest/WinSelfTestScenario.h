// A self-test scenario: one step per line, the step's kind first, then its
// arguments separated by spaces. An argument with spaces is written in
// double quotes (\" and \\ inside stand for " and \). A line may end with
// "within SECONDS", the step's time-out (default kDefaultStepTimeoutMs).
// Empty lines and lines starting with # are skipped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline constexpr uint32_t kDefaultStepTimeoutMs = 10000;

struct SelfTestStep {
    int line = 0;                  // 1-based line number in the file
    std::string kind;              // e.g. "click"
    std::vector<std::string> args; // UTF-8, quotes removed
    uint32_t timeoutMs = kDefaultStepTimeoutMs;
    std::string text; // the line as written, for reports
};

// Splits the scenario text into steps. On a malformed line (an unclosed
// quote, a bad time-out) returns false with `error` naming the line.
bool ParseSelfTestScenario(const std::string& text, std::vector<SelfTestStep>& steps, std::string& error);
