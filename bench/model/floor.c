#define _GNU_SOURCE
#include "floor.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/xattr.h>

static const char* const kAttributes[7] = {
    "user.vask.sync",  "user.vask.content-hash", "user.vask.record-id", "user.vask.availability",
    "user.vask.share", "user.vask.history",      "user.vask.metadata"};

long floor_list_folder(const char* folder, int with_attributes, unsigned long* checksum) {
  static char value[65536];
  char path[4096];
  DIR* dir = opendir(folder);
  if (dir == NULL) return -1;
  const int fd = dirfd(dir);
  long count = 0;
  unsigned long sum = 0;
  struct dirent* item;
  while ((item = readdir(dir)) != NULL) {
    if (strcmp(item->d_name, ".") == 0 || strcmp(item->d_name, "..") == 0) continue;
    struct stat st;
    if (fstatat(fd, item->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) sum += (unsigned long)st.st_size;
    ++count;
    if (with_attributes && !S_ISDIR(st.st_mode)) {
      snprintf(path, sizeof path, "%s/%s", folder, item->d_name);
      for (int i = 0; i < 7; ++i) {
        const ssize_t n = lgetxattr(path, kAttributes[i], value, sizeof value);
        if (n > 0) sum += (unsigned long)n;
      }
    }
  }
  closedir(dir);
  *checksum = sum;
  return count;
}
