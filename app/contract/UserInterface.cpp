#include "UserInterface.h"

UserInterface* theUserInterface = nullptr;
