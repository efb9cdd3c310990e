/* Start-up time as the pupil sees it: from fork to the program's first window mapped on the X
 * display, for two programs in alternation (so both meet the same load), round after round.
 *
 *   tapbook_startup_probe ROUNDS PROGRAM_A PROGRAM_B
 *
 * Prints every sample, then each program's median and the ratio of A's median to B's. */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

/* Waits for the next top-level window mapped; -1 after timeout_ms. */
static double wait_for_map(Display* d, double started, double timeout_ms) {
    for (;;) {
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type == MapNotify && !e.xmap.override_redirect) return now_ms() - started;
        }
        double left = timeout_ms - (now_ms() - started);
        if (left <= 0) return -1;
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(ConnectionNumber(d), &fds);
        struct timeval tv = {(long)(left / 1000), (long)((long)left % 1000) * 1000};
        select(ConnectionNumber(d) + 1, &fds, NULL, NULL, &tv);
    }
}

static double run_once(Display* d, const char* program) {
    XSync(d, True); /* nothing left over from the run before */
    double started = now_ms();
    pid_t child = fork();
    if (child == 0) {
        execl(program, program, (char*)NULL);
        perror(program);
        _exit(127);
    }
    double ms = wait_for_map(d, started, 30000);
    kill(child, SIGTERM);
    double asked = now_ms();
    int status;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (now_ms() - asked > 5000) kill(child, SIGKILL);
        usleep(2000);
    }
    XSync(d, True);
    return ms;
}

static int by_value(const void* a, const void* b) {
    double x = *(const double*)a, y = *(const double*)b;
    return x < y ? -1 : x > y;
}

static double median(double* v, int n) {
    qsort(v, (size_t)n, sizeof *v, by_value);
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

int main(int argc, char** argv) {
    if (argc != 4 || atoi(argv[1]) < 1) {
        fprintf(stderr, "usage: tapbook_startup_probe ROUNDS PROGRAM_A PROGRAM_B\n");
        return 64;
    }
    int rounds = atoi(argv[1]);
    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "tapbook_startup_probe: no X display\n");
        return 69;
    }
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    double* a = calloc((size_t)rounds, sizeof *a);
    double* b = calloc((size_t)rounds, sizeof *b);
    run_once(d, argv[2]); /* warm the file cache for both */
    run_once(d, argv[3]);
    for (int i = 0; i < rounds; ++i) {
        /* Alternate which goes first, so neither always follows the other. */
        if (i % 2 == 0) {
            a[i] = run_once(d, argv[2]);
            b[i] = run_once(d, argv[3]);
        } else {
            b[i] = run_once(d, argv[3]);
            a[i] = run_once(d, argv[2]);
        }
        printf("round %2d: A %7.1f ms  B %7.1f ms\n", i + 1, a[i], b[i]);
        fflush(stdout);
        if (a[i] < 0 || b[i] < 0) {
            fprintf(stderr, "tapbook_startup_probe: a window never appeared\n");
            return 1;
        }
    }
    double ma = median(a, rounds), mb = median(b, rounds);
    printf("A %s: median %.1f ms\nB %s: median %.1f ms\nratio A/B %.3f\n", argv[2], ma, argv[3], mb, ma / mb);
    XCloseDisplay(d);
    return 0;
}
