#include "framework/io/Terminal.h"

#include <unistd.h>

bool StandardErrorShowsColour()
{
    return ::isatty(STDERR_FILENO) == 1;
}
