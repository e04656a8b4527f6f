// The program's command line: the batch option switches batch mode on,
// every other entry is a file to build, all in one batch.
#pragma once

#include "framework/application/RkCommandLine.h"

class CVellumixCommandLine : public CRkCommandLine {
public:
    using CRkCommandLine::CRkCommandLine;

    // Posts message 18 for each file (index i of n) to the application, or
    // message 16 when there is none.
    void Process() override;
};
