// SPDX-License-Identifier: GPL-3.0-or-later
// The command the firing-latency benchmark's alarms run: appends "TAG SECONDS.NANOSECONDS" (wall
// clock, taken first thing) to a file. Plain C library only, so it starts as fast as a program can.
//
// Usage: bench_alarm_stamp FILE TAG
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

int main(int argc, char* argv[])
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    if (argc < 3)
        return 2;
    const int fd = open(argv[1], O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return 1;
    dprintf(fd, "%s %lld.%09ld\n", argv[2], static_cast<long long>(now.tv_sec), now.tv_nsec);
    close(fd);
    return 0;
}
