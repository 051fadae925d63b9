// The reference for the walk benchmark: a bare single-threaded getdents64 + statx walk of a
// tree that looks at every entry, follows no link, and prints nothing but a count.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct LinuxDirent64 {
    ino64_t d_ino;
    off64_t d_off;
    unsigned short d_reclen;
    unsigned char d_type;
    char d_name[];
};

long files = 0;
long long bytes = 0;

void walk(int fd) {
    static char buffer[32768];
    std::vector<std::string> folders;
    for (;;) {
        const long n = syscall(SYS_getdents64, fd, buffer, sizeof buffer);
        if (n <= 0) break;
        for (long at = 0; at < n;) {
            const auto* d = reinterpret_cast<const LinuxDirent64*>(buffer + at);
            at += d->d_reclen;
            const char* name = d->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
            struct statx sx;
            if (statx(fd, name, AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &sx) != 0) continue;
            if (S_ISDIR(sx.stx_mode)) {
                folders.emplace_back(name);
            } else {
                ++files;
                bytes += static_cast<long long>(sx.stx_size);
            }
        }
    }
    for (const std::string& f : folders) {
        const int child = openat(fd, f.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (child < 0) continue;
        walk(child);
        close(child);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s TREE\n", argv[0]);
        return 2;
    }
    const int fd = open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        std::perror(argv[1]);
        return 1;
    }
    walk(fd);
    std::printf("%ld files %lld bytes\n", files, bytes);
    return 0;
}
