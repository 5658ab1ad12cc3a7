// The silent run: no window and no box, one run as the dialog would make it, then the
// exit code that tells the engine that started it how the PC fared.
#pragma once

#include "app/win32/BackgroundRun.h"

int RunSilently(BackgroundRun::Request request);
