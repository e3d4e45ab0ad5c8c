/*
 * eio_fs - a FUSE file system on which every request fails with EIO, or
 * (with -s) a server that stops answering.
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
 *
 * A server that stops answering: the most common fault of a mapped network
 * drive is not an error but silence, and a request then waits for as long
 * as the server keeps quiet.
 *
 *   eio_fs -s [-a] [-c CONTROL] [-t SECONDS] MOUNTPOINT
 *
 *   While it answers, the drive holds one empty folder, VekPro.  While it
 *   stalls, every request below the root is held unanswered.  Wine needs
 *   some answers at once to list and declare a drive at all, so these are
 *   always answered: the root's attributes, its listing, extended
 *   attributes and flags (ioctl), statfs, and the lookups of .windows-label
 *   and .windows-serial in the root (absent).  The root then lists no
 *   folder, and VekPro itself (its lookup, its listing, anything in it) is
 *   held.
 *
 *   -a          start answering (default: start stalled)
 *   -c CONTROL  the file CONTROL says which: "stall", "answer" or "slow"
 *               (looked at every 50 ms; no file or other text leaves the
 *               mode as it is)
 *   -t SECONDS  a request held this long is answered anyway (default 300):
 *               nothing stays blocked for ever when a test forgets its drive
 *
 *   A held request waits for as long as the server keeps quiet, but not
 *   for a caller that is being ended: the kernel then asks to interrupt it,
 *   and the request fails with EINTR, as Windows's network client cancels
 *   the requests of a thread or process that ends.  Without that, a Wine
 *   program with a thread blocked here could not end until the server
 *   answered.
 *
 *   A slow server (a drive reconnecting after logon, a server at the far
 *   end of a VPN) answers every request below the root, but only after a
 *   while: the first 1.2 s after it turned slow, each later one 40 ms after
 *   it came (Wine asks a folder here many times where Windows' network
 *   client makes one or two round trips).  While slow, VekPro also holds
 *   the launcher, VEKBIN.BAT.
 *
 *   SIGUSR1 answers (held requests first, in order), SIGUSR2 stalls.
 *   SIGTERM unmounts and ends the daemon: the kernel then fails every held
 *   request, so killing the daemon always releases whoever waits on it.
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
#include <time.h>
#include <unistd.h>

/* Kernel FUSE protocol, the few bits needed here (see linux/fuse.h). */
#define FUSE_KERNEL_VERSION       7
#define FUSE_KERNEL_MINOR_VERSION 31
#define FUSE_ROOT_ID              1

enum fuse_opcode {
    FUSE_LOOKUP        = 1,
    FUSE_FORGET        = 2,   /* no reply */
    FUSE_GETATTR       = 3,
    FUSE_MKNOD         = 8,
    FUSE_MKDIR         = 9,
    FUSE_UNLINK        = 10,
    FUSE_RMDIR         = 11,
    FUSE_RENAME        = 12,
    FUSE_STATFS        = 17,
    FUSE_SETXATTR      = 21,
    FUSE_GETXATTR      = 22,
    FUSE_LISTXATTR     = 23,
    FUSE_REMOVEXATTR   = 24,
    FUSE_INIT          = 26,
    FUSE_OPENDIR       = 27,
    FUSE_READDIR       = 28,
    FUSE_RELEASEDIR    = 29,
    FUSE_ACCESS        = 34,
    FUSE_CREATE        = 35,
    FUSE_INTERRUPT     = 36,  /* no reply of its own: the held request fails */
    FUSE_DESTROY       = 38,
    FUSE_IOCTL         = 39,
    FUSE_NOTIFY_REPLY  = 41,  /* no reply */
    FUSE_BATCH_FORGET  = 42,  /* no reply */
    FUSE_RENAME2       = 45,
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

struct fuse_entry_out {
    uint64_t nodeid;
    uint64_t generation;
    uint64_t entry_valid;     /* seconds the kernel may cache the name */
    uint64_t attr_valid;
    uint32_t entry_valid_nsec;
    uint32_t attr_valid_nsec;
    struct fuse_attr attr;
};

struct fuse_read_in {
    uint64_t fh;
    uint64_t offset;
    uint32_t size;
    uint32_t read_flags;
    uint64_t lock_owner;
    uint32_t flags;
    uint32_t padding;
};

struct fuse_dirent {
    uint64_t ino;
    uint64_t off;
    uint32_t namelen;
    uint32_t type;
    /* the name follows, the record padded to 8 bytes */
};

struct fuse_statfs_out {
    uint64_t blocks;
    uint64_t bfree;
    uint64_t bavail;
    uint64_t files;
    uint64_t ffree;
    uint32_t bsize;
    uint32_t namelen;
    uint32_t frsize;
    uint32_t padding;
    uint32_t spare[6];
};

struct fuse_getxattr_in {
    uint32_t size;
    uint32_t padding;
};

struct fuse_getxattr_out {
    uint32_t size;
    uint32_t padding;
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
    STALLING,                 /* -s */
} mode = ALL_FAIL;
static volatile sig_atomic_t stop_requested;

static void on_stop_signal(int sig)
{
    (void)sig;
    stop_requested = 1;
}

/* ---- The server that stops answering (-s) ---- */

#define FOLDER_ID   2
#define FOLDER_NAME "VekPro"
#define LAUNCHER_ID   3
#define LAUNCHER_NAME "VEKBIN.BAT"
#define SLOW_FIRST_MS 1200
#define SLOW_LATER_MS 40
#define CONTROL_INTERVAL_MS 50

static int answering;                     /* 1 while it answers, 0 while it stalls */
static int slow;                          /* while answering: each answer comes late */
static int slow_first = 1;                /* the first request since it turned slow */
static long longest_hold = 300;           /* -t, seconds */
static const char *control_path;          /* -c */
static volatile sig_atomic_t mode_signal; /* SIGUSR1: answer, SIGUSR2: stall */

/* A request held unanswered, a copy of it as the kernel sent it. */
struct held {
    struct held *next;
    time_t since;
    struct timespec due;              /* a slow server's answer time; 0 while stalled */
    size_t len;
    char data[];
};
static struct held *held_first;
static struct held **held_end = &held_first;

static void on_mode_signal(int sig)
{
    mode_signal = sig;
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

static void fill_attr(struct fuse_attr *attr, uint64_t nodeid);

static void answer_dir_attr(int fd, uint64_t unique, uint64_t nodeid)
{
    struct fuse_attr_out out;

    memset(&out, 0, sizeof(out));     /* attr_valid 0: never cached */
    fill_attr(&out.attr, nodeid);
    reply(fd, unique, 0, &out, sizeof(out));
}

/* The attributes of the folder, or of the launcher a slow server holds. */
static void fill_attr(struct fuse_attr *attr, uint64_t nodeid)
{
    attr->ino = nodeid;
    attr->mode = nodeid == LAUNCHER_ID ? S_IFREG | 0644 : S_IFDIR | 0755;
    attr->nlink = nodeid == LAUNCHER_ID ? 1 : 2;
    attr->size = nodeid == LAUNCHER_ID ? 16 : 0;
    attr->blksize = 4096;
}

static void answer_lookup(int fd, const struct fuse_in_header *in)
{
    struct fuse_entry_out out;
    const char *name = (const char *)(in + 1);
    uint64_t found = 0;

    if (in->nodeid == FUSE_ROOT_ID && strcmp(name, FOLDER_NAME) == 0)
        found = FOLDER_ID;
    else if (slow && in->nodeid == FOLDER_ID && strcmp(name, LAUNCHER_NAME) == 0)
        found = LAUNCHER_ID;
    if (!found) {
        reply(fd, in->unique, ENOENT, NULL, 0);
        return;
    }
    memset(&out, 0, sizeof(out));     /* entry_valid, attr_valid 0: never cached */
    out.nodeid = found;
    fill_attr(&out.attr, found);
    reply(fd, in->unique, 0, &out, sizeof(out));
}

/* Appends one directory entry if it fits; returns the new length or 0. */
static size_t add_dirent(char *out, size_t used, size_t room, uint64_t ino, uint64_t next, const char *name)
{
    struct fuse_dirent entry;
    size_t namelen = strlen(name);
    size_t size = (sizeof(entry) + namelen + 7) & ~(size_t)7;

    if (used + size > room)
        return 0;
    memset(out + used, 0, size);
    entry.ino = ino;
    entry.off = next;
    entry.namelen = (uint32_t)namelen;
    entry.type = (ino == LAUNCHER_ID ? S_IFREG : S_IFDIR) >> 12;  /* DT_REG or DT_DIR */
    memcpy(out + used, &entry, sizeof(entry));
    memcpy(out + used + sizeof(entry), name, namelen);
    return used + size;
}

/*
 * The root holds ".", ".." and the folder; the folder "." and "..".  While
 * the server stalls the root lists only "." and "..": Wine reads a folder
 * under one lock of the whole process and looks each entry up as it goes, so
 * a listing that stalled on the folder would stall every other listing of
 * the process too (see docs/reliability.md).
 */
static void answer_readdir(int fd, const struct fuse_in_header *in)
{
    const struct fuse_read_in *arg = (const void *)(in + 1);
    int root = in->nodeid == FUSE_ROOT_ID;
    const char *names[] = { ".", "..", root ? FOLDER_NAME : LAUNCHER_NAME };
    const uint64_t inos[] = { in->nodeid, FUSE_ROOT_ID, root ? FOLDER_ID : LAUNCHER_ID };
    size_t count = (root ? answering : slow) ? 3 : 2;
    size_t room = arg->size < MAX_WRITE ? arg->size : MAX_WRITE;
    static char out[MAX_WRITE];
    size_t used = 0;
    uint64_t i;

    for (i = arg->offset; i < count; i++) {
        size_t grown = add_dirent(out, used, room, inos[i], i + 1, names[i]);
        if (grown == 0)
            break;
        used = grown;
    }
    reply(fd, in->unique, 0, out, used);
}

static void answer_statfs(int fd, const struct fuse_in_header *in)
{
    struct fuse_statfs_out out;

    memset(&out, 0, sizeof(out));
    out.blocks = out.bfree = out.bavail = 1024 * 1024;
    out.files = out.ffree = 1024;
    out.bsize = out.frsize = 4096;
    out.namelen = 255;
    reply(fd, in->unique, 0, &out, sizeof(out));
}

static void answer_xattr(int fd, const struct fuse_in_header *in)
{
    const struct fuse_getxattr_in *arg = (const void *)(in + 1);
    struct fuse_getxattr_out out;

    if (in->opcode == FUSE_GETXATTR) {  /* no attribute has a value */
        reply(fd, in->unique, ENODATA, NULL, 0);
    } else if (arg->size == 0) {        /* LISTXATTR: the size of an empty list */
        memset(&out, 0, sizeof(out));
        reply(fd, in->unique, 0, &out, sizeof(out));
    } else {
        reply(fd, in->unique, 0, NULL, 0);
    }
}

/* A request as the answering server answers it: one empty folder, read only. */
static void answer_served(int fd, const struct fuse_in_header *in)
{
    int known = in->nodeid == FUSE_ROOT_ID || in->nodeid == FOLDER_ID || (slow && in->nodeid == LAUNCHER_ID);

    switch (in->opcode) {
    case FUSE_LOOKUP:
        answer_lookup(fd, in);
        break;
    case FUSE_GETATTR:
        if (known)
            answer_dir_attr(fd, in->unique, in->nodeid);
        else
            reply(fd, in->unique, ENOENT, NULL, 0);
        break;
    case FUSE_OPENDIR: {
        struct fuse_open_out out;
        memset(&out, 0, sizeof(out));
        if (known)
            reply(fd, in->unique, 0, &out, sizeof(out));
        else
            reply(fd, in->unique, ENOENT, NULL, 0);
        break;
    }
    case FUSE_READDIR:
        answer_readdir(fd, in);
        break;
    case FUSE_RELEASEDIR:
    case FUSE_ACCESS:
        reply(fd, in->unique, 0, NULL, 0);
        break;
    case FUSE_STATFS:
        answer_statfs(fd, in);
        break;
    case FUSE_GETXATTR:
    case FUSE_LISTXATTR:
        answer_xattr(fd, in);
        break;
    case FUSE_MKNOD: case FUSE_MKDIR: case FUSE_UNLINK: case FUSE_RMDIR: case FUSE_RENAME:
    case FUSE_RENAME2: case FUSE_CREATE: case FUSE_SETXATTR: case FUSE_REMOVEXATTR:
        reply(fd, in->unique, EROFS, NULL, 0);
        break;
    default:                          /* STATX and IOCTL included */
        reply(fd, in->unique, ENOSYS, NULL, 0);
        break;
    }
}

/* Wine lists and declares a drive with these; a stalled server answers them. */
static int answered_while_stalled(const struct fuse_in_header *in)
{
    const char *name = (const char *)(in + 1);

    switch (in->opcode) {
    case FUSE_STATFS:
    case FUSE_STATX:
        return 1;
    case FUSE_LOOKUP:
        return in->nodeid == FUSE_ROOT_ID &&
               (strcmp(name, ".windows-label") == 0 || strcmp(name, ".windows-serial") == 0);
    case FUSE_GETATTR:
    case FUSE_OPENDIR:
    case FUSE_READDIR:
    case FUSE_RELEASEDIR:
    case FUSE_GETXATTR:
    case FUSE_LISTXATTR:
    case FUSE_ACCESS:
    case FUSE_IOCTL:                  /* Wine asks a folder for its flags */
        return in->nodeid == FUSE_ROOT_ID;
    default:
        return 0;
    }
}

/* Holds a request until the server answers again or, with `delay_ms`, until
 * that much time has passed. */
static void hold(int fd, const struct fuse_in_header *in, size_t len, long delay_ms)
{
    struct held *h = malloc(sizeof(*h) + len);

    if (!h) {                         /* cannot hold it: fail it instead */
        reply(fd, in->unique, EIO, NULL, 0);
        return;
    }
    h->next = NULL;
    h->since = time(NULL);
    h->due.tv_sec = h->due.tv_nsec = 0;
    if (delay_ms) {
        clock_gettime(CLOCK_MONOTONIC, &h->due);
        h->due.tv_sec += delay_ms / 1000;
        h->due.tv_nsec += (delay_ms % 1000) * 1000000L;
        if (h->due.tv_nsec >= 1000000000L) {
            h->due.tv_sec++;
            h->due.tv_nsec -= 1000000000L;
        }
    }
    h->len = len;
    memcpy(h->data, in, len);
    *held_end = h;
    held_end = &h->next;
}

/* Answers the held requests that `pick` selects, oldest first, as the
 * answering server does. */
static void release_held(int fd, int (*pick)(const struct held *, const void *), const void *arg)
{
    struct held **link = &held_first;

    while (*link) {
        struct held *h = *link;
        if (!pick(h, arg)) {
            link = &h->next;
            continue;
        }
        *link = h->next;
        answer_served(fd, (const struct fuse_in_header *)h->data);
        free(h);
    }
    held_end = link;
}

static int pick_all(const struct held *h, const void *arg)
{
    (void)h;
    (void)arg;
    return 1;
}

static int pick_older(const struct held *h, const void *now)
{
    return *(const time_t *)now - h->since >= longest_hold;
}

/* A slow server's request whose answer time has come. */
static int pick_due(const struct held *h, const void *now)
{
    const struct timespec *t = now;

    return (h->due.tv_sec || h->due.tv_nsec) &&
           (h->due.tv_sec < t->tv_sec || (h->due.tv_sec == t->tv_sec && h->due.tv_nsec <= t->tv_nsec));
}

/* The caller of a held request is being ended: the request fails. */
static void interrupt_held(int fd, const struct fuse_in_header *in)
{
    const uint64_t unique = *(const uint64_t *)(in + 1);
    struct held **link;

    for (link = &held_first; *link; link = &(*link)->next) {
        struct held *h = *link;
        if (((const struct fuse_in_header *)h->data)->unique != unique)
            continue;
        *link = h->next;
        if (held_end == &h->next)
            held_end = link;
        reply(fd, unique, EINTR, NULL, 0);
        free(h);
        return;
    }
}

static void set_answering(int fd, int on, int slowly)
{
    if (slowly && !slow)
        slow_first = 1;
    answering = on;
    slow = on && slowly;
    if (on && !slowly)
        release_held(fd, pick_all, NULL);
}

/* The control file's word, the signals, and the longest hold. */
static void follow_control(int fd)
{
    time_t now = time(NULL);

    if (mode_signal) {
        set_answering(fd, mode_signal == SIGUSR1, 0);
        mode_signal = 0;
    }
    if (control_path) {
        char word[16] = "";
        FILE *control = fopen(control_path, "r");
        if (control) {
            if (fgets(word, sizeof(word), control) && strncmp(word, "answer", 6) == 0)
                set_answering(fd, 1, 0);
            else if (strncmp(word, "slow", 4) == 0)
                set_answering(fd, 1, 1);
            else if (strncmp(word, "stall", 5) == 0)
                set_answering(fd, 0, 0);
            fclose(control);
        }
    }
    release_held(fd, pick_older, &now);
    {
        struct timespec monotonic;
        clock_gettime(CLOCK_MONOTONIC, &monotonic);
        release_held(fd, pick_due, &monotonic);
    }
}

static void serve_stalling(int fd, const struct fuse_in_header *in, size_t len)
{
    if (answered_while_stalled(in) || (answering && !slow)) {
        answer_served(fd, in);
    } else if (slow) {
        hold(fd, in, len, slow_first ? SLOW_FIRST_MS : SLOW_LATER_MS);
        slow_first = 0;
    } else {
        hold(fd, in, len, 0);
    }
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

    if (mode == STALLING) {
        switch (in->opcode) {
        case FUSE_INIT:
            answer_init(fd, in);
            return 0;
        case FUSE_DESTROY:
            reply(fd, in->unique, 0, NULL, 0);
            return -1;
        case FUSE_INTERRUPT:
            interrupt_held(fd, in);
            return 0;
        case FUSE_FORGET:
        case FUSE_BATCH_FORGET:
        case FUSE_NOTIFY_REPLY:
            return 0;
        default:
            serve_stalling(fd, in, (size_t)n);
            return 0;
        }
    }

    switch (in->opcode) {
    case FUSE_INIT:
        answer_init(fd, in);
        break;
    case FUSE_GETATTR:
        if (mode != ALL_FAIL && in->nodeid == FUSE_ROOT_ID)
            answer_dir_attr(fd, in->unique, FUSE_ROOT_ID);
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

/* Waits until a request is pending or `timeout` passed (NULL: no limit);
 * `mask` is the signal mask while waiting. */
static int wait_request(int fd, const struct timespec *timeout, const sigset_t *mask)
{
    struct pollfd p = { .fd = fd, .events = POLLIN };

    return ppoll(&p, 1, timeout, mask) < 0 ? -1 : 0;
}

static int usage(const char *self)
{
    fprintf(stderr, "usage: %s [-r|-o] MOUNTPOINT\n"
                    "       %s -s [-a] [-c CONTROL] [-t SECONDS] MOUNTPOINT\n", self, self);
    return 2;
}

int main(int argc, char **argv)
{
    struct sigaction sa;
    sigset_t stop_signals, wait_mask;
    char options[128];
    pid_t pid;
    int fd;

    const char *self = argv[0];
    struct timespec control_interval = { 0, CONTROL_INTERVAL_MS * 1000000L };

    for (argv++, argc--; argc > 1 && argv[0][0] == '-'; argv++, argc--) {
        if (strcmp(argv[0], "-r") == 0 && mode == ALL_FAIL)
            mode = ROOT_STAT;
        else if (strcmp(argv[0], "-o") == 0 && mode == ALL_FAIL)
            mode = ROOT_OPEN;
        else if (strcmp(argv[0], "-s") == 0 && mode == ALL_FAIL)
            mode = STALLING;
        else if (strcmp(argv[0], "-a") == 0)
            answering = 1;
        else if (strcmp(argv[0], "-c") == 0 && argc > 2)
            control_path = (argv++, argc--, argv[0]);
        else if (strcmp(argv[0], "-t") == 0 && argc > 2 && atol(argv[1]) > 0)
            longest_hold = (argv++, argc--, atol(argv[0]));
        else
            return usage(self);
    }
    if (argc != 1 || argv[0][0] == '-' ||
        (mode != STALLING && (answering || control_path)))
        return usage(self);
    argv--;                           /* the mount point as argv[1] below */
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

        if (wait_request(fd, NULL, NULL) < 0 && errno == EINTR)
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
    if (mode == STALLING) {
        /* The mode signals wait with the stop signals. */
        sigset_t mode_signals;
        sigemptyset(&mode_signals);
        sigaddset(&mode_signals, SIGUSR1);
        sigaddset(&mode_signals, SIGUSR2);
        sigprocmask(SIG_BLOCK, &mode_signals, NULL);
        sa.sa_handler = on_mode_signal;
        sigaction(SIGUSR1, &sa, NULL);
        sigaction(SIGUSR2, &sa, NULL);
    }

    while (!stop_requested) {
        /* A stalling server looks at its control file and its held
         * requests every CONTROL_INTERVAL_MS. */
        int looking = mode == STALLING && (control_path || held_first);
        if (mode == STALLING)
            follow_control(fd);
        if (wait_request(fd, looking ? &control_interval : NULL, &wait_mask) < 0) {
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
