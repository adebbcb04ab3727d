#pragma once

#include "EngineProcess.h"

// The program under test as "veltmark --xboard".
class XBoardProcess : public EngineProcess {
public:
    XBoardProcess() : EngineProcess("--xboard") {}
};
