// The program's entry, the same on every platform: a platform's entry point
// calls VellumixMain with the command-line tail (the text after the
// program's own name) once it has checked that the system can run it.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/core/RkString.h"

class CVellumixApplication;

// One run of the program in three parts, for callers that drive the event
// loop themselves (the headless tests): Start, the loop, Finish.
class CVellumixProgram {
public:
    // Creates the globals and the application, initializes it, opens the
    // main window (message 14) and posts the command line (message 17).
    // `startup` is the platform's start-up data.
    explicit CVellumixProgram(const CRkString& commandLineTail, void* startup = nullptr);
    // Finishes when Finish was not called.
    ~CVellumixProgram();
    CVellumixProgram(const CVellumixProgram&) = delete;
    CVellumixProgram& operator=(const CVellumixProgram&) = delete;

    // Null once finished.
    CVellumixApplication* GetApplication() const { return m_app.get(); }
    // Runs the event loop until the program quits; returns the quit code.
    uint32_t Run();
    // Message 15, then the application goes. The exit code: 1 when an error
    // was reported while the program ran (or the loop ended with a code
    // other than 0), else 0.
    int Finish(uint32_t runCode = 0);

private:
    std::unique_ptr<CVellumixApplication> m_app;
};

int VellumixMain(const CRkString& commandLineTail, void* startup = nullptr);
