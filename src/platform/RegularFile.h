#pragma once

#include <sys/stat.h>

namespace vastel {

// For a descriptor just opened with O_NONBLOCK (so a FIFO cannot hang the open): keeps it when it
// is a regular file, filling st and making reads block again. Anything else is closed and fails
// with errno set: folderError for a folder, EINVAL for the rest.
bool keepRegularFile(int fd, struct stat& st, int folderError);

}  // namespace vastel
