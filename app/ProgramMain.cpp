// The program entry of the platforms' own entry points (wWinMain on Windows).
#include "app/VellumixMain.h"
#include "framework/application/RkProgramMain.h"

int RkProgramMain(const CRkString& commandLineTail, void* startup)
{
    return VellumixMain(commandLineTail, startup);
}
