// The process's peak resident memory, for tests that bound what hostile input may take.
#pragma once

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

// Kibibytes, or -1 where the system does not say.
inline qint64 peakMemoryKiB()
{
#ifdef Q_OS_UNIX
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#else
    return -1;
#endif
}
