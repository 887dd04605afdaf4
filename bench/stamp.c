/* stamp: the benchmark disc's stand-in viewer. The first thing it does is read
 * CLOCK_MONOTONIC (the clock of Python's time.monotonic()); it appends that reading, in seconds,
 * as one line to the file named by its first argument and exits. */
#include <fcntl.h>
#include <stdio.h>
#include <time.h>
#include <unistd.h>

int main(int argc, char** argv) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (argc < 2) {
        fputs("usage: stamp FILE\n", stderr);
        return 2;
    }
    char line[64];
    int length = snprintf(line, sizeof line, "%lld.%09ld\n", (long long)now.tv_sec, now.tv_nsec);
    int fd = open(argv[1], O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        perror(argv[1]);
        return 1;
    }
    int ok = write(fd, line, (size_t)length) == (ssize_t)length;
    close(fd);
    return ok ? 0 : 1;
}
