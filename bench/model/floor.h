#ifndef FILES_BENCH_MODEL_FLOOR_H
#define FILES_BENCH_MODEL_FLOOR_H

#ifdef __cplusplus
extern "C" {
#endif

/* The least a folder listing can cost: readdir and one fstatat (not following links) per
 * entry, and with `with_attributes` the seven lgetxattr calls of a workspace file. Returns the
 * number of entries seen, or -1 when the folder cannot be opened; `checksum` receives a sum
 * of sizes so the work cannot be optimised away. */
long floor_list_folder(const char* folder, int with_attributes, unsigned long* checksum);

#ifdef __cplusplus
}
#endif

#endif
