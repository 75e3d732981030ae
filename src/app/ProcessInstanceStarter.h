#pragma once

#include "browser/InstanceStarter.h"

// The environment variable through which an instance asks the next one to start minimized; the
// command line stays free for the address.
inline const char *const StartMinimizedVariable = "QUORBROWSER_START_MINIMIZED";

class ProcessInstanceStarter : public InstanceStarter
{
public:
    bool StartInstance() override;
};
