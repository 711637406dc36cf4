#include "catalogue/VisitState.h"

bool VisitState::Update(bool enabled)
{
    if (enabled == visitEnabled)
        return false;
    visitEnabled = enabled;
    return true;
}

const char* VisitState::Caption(bool enabled)
{
    return enabled ? availableCaption : unavailableCaption;
}
