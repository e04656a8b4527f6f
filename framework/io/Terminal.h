// Whether the process's standard error is a terminal that shows the
// escape sequences of coloured text.
#pragma once

bool StandardErrorShowsColour();
