#include "HideProcess.h"

void HideProcess() {}
