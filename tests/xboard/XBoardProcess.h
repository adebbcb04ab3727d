#pragma once

#include "EngineProcess.h"

#include <string>

// The program under test as "veltmark --xboard".
class XBoardProcess : public EngineProcess {
public:
    XBoardProcess() : EngineProcess("--xboard") {}
};

// A move in coordinates without promotion, "e2e4".
inline bool isMoveText(const std::string& t) {
    return t.size() == 4 && t[0] >= 'a' && t[0] <= 'h' && t[1] >= '1' && t[1] <= '8' &&
           t[2] >= 'a' && t[2] <= 'h' && t[3] >= '1' && t[3] <= '8';
}

inline bool isMoveLine(const std::string& line) {
    return line.rfind("move ", 0) == 0 && isMoveText(line.substr(5));
}
