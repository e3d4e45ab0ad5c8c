/*
 * eio_fs - a FUSE file system on which every request fails with EIO.
 *
 * Used by the tests to simulate a drive that is present but not ready
 * (an empty card reader, a dead network share): link a Wine drive letter
 * to the mount point and every lookup on that drive fails with a device
 * error instead of "not found".
 *
 *   eio_fs [-r|-o] MOUNTPOINT  mount, go to the background, print the daemon pid
 *   umount -l MOUNTPOINT       (or kill PID) removes the mount, ends the daemon
 *
 * Talks to /dev/fuse directly, no libfuse needed.  Must run as root
 * (it calls mount(2) itself).  Build: cc -O2 -Wall -Wextra -o eio_fs eio_fs.c
 *
 * By default the only request answered successfully is FUSE_INIT (the
 * kernel forwards nothing else until it has been answered).  Everything
 * else - GETATTR of the root included, so even stat(MOUNTPOINT) fails -
 * gets EIO.  Two milder modes keep the root itself reachable:
 *
 *   -r  GETATTR of the root succeeds (an empty 0755 directory): the mount
 *       point can be stat()ed; opening, listing or looking up anything in
 *       it fails with EIO.
 *   -o  as -r, and the root can also be opened without O_DIRECTORY (which
 *       is how wineserver opens directory handles); opendir() (O_DIRECTORY)
 *       and reading the directory still fail with EIO.
 */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

/* Kernel FUSE protocol, the few bits needed here (see linux/fuse.h). */
#define FUSE_KERNEL_VERSION       7
#define FUSE_KERNEL_MINOR_VERSION 31
#define FUSE_ROOT_ID              1

enum fuse_opcode {
    FUSE_FORGET        = 2,   /* no reply */
    FUSE_GETATTR       = 3,
    FUSE_OPENDIR       = 27,
    FUSE_INIT          = 26,
    FUSE_INTERRUPT     = 36,  /* no reply needed: we answer everything at once */
    FUSE_DESTROY       = 38,
    FUSE_NOTIFY_REPLY  = 41,  /* no reply */
    FUSE_BATCH_FORGET  = 42,  /* no reply */
    FUSE_STATX         = 52,
};

struct fuse_in_header {
    uint32_t len;
    uint32_t opcode;
    uint64_t unique;
    uint64_t nodeid;
    uint32_t uid;
    uint32_t gid;
    uint32_t pid;
    uint16_t total_extlen;
    uint16_t padding;
};

struct fuse_out_header {
    uint32_t len;
    int32_t  error;           /* 0 or a negative errno */
    uint64_t unique;
};

struct fuse_init_in {
    uint32_t major;
    uint32_t minor;
    uint32_t max_readahead;
    uint32_t flags;
    /* newer kernels send more; not needed */
};

struct fuse_init_out {
    uint32_t major;
    uint32_t minor;
    uint32_t max_readahead;
    uint32_t flags;
    uint16_t max_background;
    uint16_t congestion_threshold;
    uint32_t max_write;
    uint32_t time_gran;
    uint16_t max_pages;
    uint16_t map_alignment;
    uint32_t flags2;
    uint32_t unused[7];
};

struct fuse_open_in {
    uint32_t flags;           /* open(2) flags */
    uint32_t open_flags;
};

struct fuse_open_out {
    uint64_t fh;
    uint32_t open_flags;
    uint32_t padding;
};

struct fuse_attr {
    uint64_t ino;
    uint64_t size;
    uint64_t blocks;
    uint64_t atime;
    uint64_t mtime;
    uint64_t ctime;
    uint32_t atimensec;
    uint32_t mtimensec;
    uint32_t ctimensec;
    uint32_t mode;
    uint32_t nlink;
    uint32_t uid;
    uint32_t gid;
    uint32_t rdev;
    uint32_t blksize;
    uint32_t flags;
};

struct fuse_attr_out {
    uint64_t attr_valid;      /* seconds the kernel may cache the answer */
    uint32_t attr_valid_nsec;
    uint32_t dummy;
    struct fuse_attr attr;
};

#define MAX_WRITE   (64 * 1024)
#define READ_BUFFER (MAX_WRITE + 4096)  /* header + largest request body;
                                           the kernel wants at least 8 KiB */

static char buffer[READ_BUFFER];
static char mountpoint[PATH_MAX];
static enum {
    ALL_FAIL,                 /* default */
    ROOT_STAT,                /* -r */
    ROOT_OPEN,                /* -o */
} mode = ALL_FAIL;
static volatile sig_atomic_t stop_requested;

static void on_stop_signal(int sig)
{
    (void)sig;
    stop_requested = 1;
}

static void reply(int fd, uint64_t unique, int error, const void *body, size_t size)
{
    struct fuse_out_header hdr;
    struct iovec iov[2];

    hdr.len = (uint32_t)(sizeof(hdr) + size);
    hdr.error = -error;
    hdr.unique = unique;
    iov[0].iov_base = &hdr;
    iov[0].iov_len = sizeof(hdr);
    iov[1].iov_base = (void *)body;
    iov[1].iov_len = size;
    /* ENOENT here means the request was interrupted meanwhile: harmless. */
    if (writev(fd, iov, size ? 2 : 1) < 0 && errno != ENOENT)
        perror("eio_fs: write /dev/fuse");
}

static void answer_init(int fd, const struct fuse_in_header *in)
{
    const struct fuse_init_in *arg = (const void *)(in + 1);
    struct fuse_init_out out;

    memset(&out, 0, sizeof(out));
    if (arg->major < FUSE_KERNEL_VERSION) {
        reply(fd, in->unique, EPROTO, NULL, 0);
        return;
    }
    out.major = FUSE_KERNEL_VERSION;
    out.minor = arg->minor < FUSE_KERNEL_MINOR_VERSION ? arg->minor : FUSE_KERNEL_MINOR_VERSION;
    out.max_readahead = arg->max_readahead;
    out.flags = 0;            /* no optional features */
    out.max_background = 16;
    out.congestion_threshold = 12;
    out.max_write = MAX_WRITE;
    out.time_gran = 1;
    reply(fd, in->unique, 0, &out, sizeof(out));
}

static void answer_root_getattr(int fd, const struct fuse_in_header *in)
{
    struct fuse_attr_out out;

    memset(&out, 0, sizeof(out));     /* attr_valid 0: never cached */
    out.attr.ino = FUSE_ROOT_ID;
    out.attr.mode = S_IFDIR | 0755;
    out.attr.nlink = 2;
    out.attr.blksize = 4096;
    reply(fd, in->unique, 0, &out, sizeof(out));
}

static void answer_opendir(int fd, const struct fuse_in_header *in)
{
    const struct fuse_open_in *arg = (const void *)(in + 1);
    struct fuse_open_out out;

    if (mode != ROOT_OPEN || in->nodeid != FUSE_ROOT_ID || (arg->flags & O_DIRECTORY)) {
        reply(fd, in->unique, EIO, NULL, 0);
        return;
    }
    memset(&out, 0, sizeof(out));
    reply(fd, in->unique, 0, &out, sizeof(out));
}

/*
 * Read and answer one request.  Returns 0 to go on, -1 once the file
 * system is gone (unmounted, DESTROY).
 */
static int serve_one(int fd)
{
    const struct fuse_in_header *in = (const void *)buffer;
    ssize_t n = read(fd, buffer, sizeof(buffer));

    if (n < 0) {
        /* EAGAIN/ENOENT: the request was interrupted before we read it. */
        if (errno == EINTR || errno == EAGAIN || errno == ENOENT)
            return 0;
        if (errno != ENODEV)              /* ENODEV: unmounted */
            perror("eio_fs: read /dev/fuse");
        return -1;
    }
    if ((size_t)n < sizeof(*in))
        return 0;

    switch (in->opcode) {
    case FUSE_INIT:
        answer_init(fd, in);
        break;
    case FUSE_GETATTR:
        if (mode != ALL_FAIL && in->nodeid == FUSE_ROOT_ID)
            answer_root_getattr(fd, in);
        else
            reply(fd, in->unique, EIO, NULL, 0);
        break;
    case FUSE_OPENDIR:
        answer_opendir(fd, in);
        break;
    case FUSE_STATX:
        /* Not supported: the kernel falls back to GETATTR for good, so
         * statx() behaves exactly like stat(). */
        reply(fd, in->unique, ENOSYS, NULL, 0);
        break;
    case FUSE_DESTROY:
        reply(fd, in->unique, 0, NULL, 0);
        return -1;
    case FUSE_FORGET:
    case FUSE_BATCH_FORGET:
    case FUSE_INTERRUPT:
    case FUSE_NOTIFY_REPLY:
        break;
    default:
        reply(fd, in->unique, EIO, NULL, 0);
        break;
    }
    return 0;
}

/* Waits until a request is pending; `mask` is the signal mask while waiting. */
static int wait_request(int fd, const sigset_t *mask)
{
    struct pollfd p = { .fd = fd, .events = POLLIN };

    return ppoll(&p, 1, NULL, mask) < 0 ? -1 : 0;
}

int main(int argc, char **argv)
{
    struct sigaction sa;
    sigset_t stop_signals, wait_mask;
    char options[128];
    pid_t pid;
    int fd;

    if (argc == 3 && strcmp(argv[1], "-r") == 0)
        mode = ROOT_STAT;
    else if (argc == 3 && strcmp(argv[1], "-o") == 0)
        mode = ROOT_OPEN;
    if (mode != ALL_FAIL) {
        argv++;
        argc--;
    }
    if (argc != 2 || argv[1][0] == '-') {
        fprintf(stderr, "usage: %s [-r|-o] MOUNTPOINT\n", argv[0]);
        return 2;
    }
    if (!realpath(argv[1], mountpoint)) {
        perror(argv[1]);
        return 1;
    }

    fd = open("/dev/fuse", O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        perror("eio_fs: /dev/fuse");
        return 1;
    }
    snprintf(options, sizeof(options),
             "fd=%d,rootmode=40000,user_id=0,group_id=0,allow_other", fd);
    if (mount("eiofs", mountpoint, "fuse.eiofs", MS_NOSUID | MS_NODEV, options) < 0) {
        perror("eio_fs: mount");
        return 1;
    }

    /* Answer INIT before going to the background, so the mount is fully
     * usable by the time the command returns. */
    for (;;) {
        const struct fuse_in_header *in = (const void *)buffer;
        ssize_t n;

        if (wait_request(fd, NULL) < 0 && errno == EINTR)
            continue;
        n = read(fd, buffer, sizeof(buffer));
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == ENOENT))
            continue;
        if (n < (ssize_t)sizeof(*in) || in->opcode != FUSE_INIT) {
            fprintf(stderr, "eio_fs: expected FUSE_INIT from the kernel\n");
            umount2(mountpoint, MNT_DETACH);
            return 1;
        }
        answer_init(fd, in);
        break;
    }

    fflush(stdout);
    pid = fork();
    if (pid < 0) {
        perror("eio_fs: fork");
        umount2(mountpoint, MNT_DETACH);
        return 1;
    }
    if (pid > 0) {
        printf("%d\n", (int)pid);
        return 0;
    }

    /* Daemon: detach from the caller's session and output, so that
     * `pid=$(eio_fs DIR)` returns right away. */
    setsid();
    if (chdir("/") < 0)
        _exit(1);
    {
        int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, STDIN_FILENO);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            if (null > STDERR_FILENO)
                close(null);
        }
    }

    /* Stop signals stay blocked except while waiting in ppoll(), so one
     * arriving at any moment ends the wait instead of being missed. */
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGTERM);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGHUP);
    sigprocmask(SIG_BLOCK, &stop_signals, &wait_mask);
    memset(&sa, 0, sizeof(sa));
    sa.sa_handler = on_stop_signal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, NULL);
    sigaction(SIGINT, &sa, NULL);
    sigaction(SIGHUP, &sa, NULL);

    while (!stop_requested) {
        if (wait_request(fd, &wait_mask) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (serve_one(fd) < 0)
            break;
    }

    if (stop_requested)
        umount2(mountpoint, MNT_DETACH);
    close(fd);
    return 0;
}
