#pragma once

// Starts another instance of the program: its own executable, an empty command line, its window
// shown minimized. The caller does not wait for it.
class InstanceStarter
{
public:
    virtual ~InstanceStarter() = default;
    // False when it could not be started.
    virtual bool StartInstance() = 0;
};
