#include "settings/StartupTrace.h"

#include <QDateTime>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef Q_OS_LINUX
#include <ctime>
#include <unistd.h>
#endif

namespace {

// Milliseconds since the process began, where the system says when that was; else since the
// first step traced.
double SinceStart()
{
#ifdef Q_OS_LINUX
    static const double startedAt = [] {
        std::FILE *f = std::fopen("/proc/self/stat", "r");
        if (!f)
            return -1.0;
        char buf[1024] = {};
        const size_t n = std::fread(buf, 1, sizeof buf - 1, f);
        std::fclose(f);
        buf[n] = 0;
        // The command name may hold blanks and brackets: the fields count from its last ')'.
        const char *p = std::strrchr(buf, ')');
        for (int field = 2; p && field < 22; ++field)
            p = std::strchr(p + 1, ' ');
        if (!p)
            return -1.0;
        return std::strtod(p + 1, nullptr) * 1000.0 / double(sysconf(_SC_CLK_TCK));
    }();
    timespec now {};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
    if (startedAt >= 0)
        return nowMs - startedAt;
    static const double firstStep = nowMs;
    return nowMs - firstStep;
#else
    static const qint64 first = QDateTime::currentMSecsSinceEpoch();
    return double(QDateTime::currentMSecsSinceEpoch() - first);
#endif
}

} // namespace

bool StartupTracing()
{
    static const bool on = qEnvironmentVariableIntValue(StartupTraceVariable) == 1;
    return on;
}

void TraceStartup(const char *step)
{
    if (!StartupTracing())
        return;
#ifdef Q_OS_LINUX
    // The thread's own processor time beside the clock's: the gaps are waits (for the engine's
    // helper processes), not work.
    timespec cpu {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    std::fprintf(stderr, "startup: %8.1f ms  (cpu %6.1f ms)  %s\n", SinceStart(),
                 double(cpu.tv_sec) * 1000.0 + double(cpu.tv_nsec) / 1e6, step);
#else
    std::fprintf(stderr, "startup: %8.1f ms  %s\n", SinceStart(), step);
#endif
    std::fflush(stderr);
}
