#include "SharedState.h"

SharedState& Shared()
{
    static SharedState state;
    return state;
}
