// Copies a large file and a tree of many small files with the transfer engine and with GNU cp,
// alternating the two in every round so both see the same cache and disk state, and prints the
// ratio of the medians. A move within one file system is measured against a bare rename(2).
//
//   fileops_bench [--dir /tmp] [--file-mib 2048] [--tree-files 20000] [--tree-mib 400]
//                 [--rounds 3]
//
// The fixture lives in a private folder under --dir and is removed at the end.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "bench_result.h"
#include "bench_support.h"
#include "fileops/remove.h"
#include "fileops/transfer.h"

namespace {

using files::bench::median;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using files::fileops::copy_into;
using files::fileops::move_into;
using files::fileops::remove_if_exists;

struct Options {
  fs::path dir = "/tmp";
  std::uint64_t file_mib = 2048;
  int tree_files = 20000;
  std::uint64_t tree_mib = 400;
  int rounds = 3;
};

[[noreturn]] void fail(const std::string& message) {
  files::bench::fail("fileops_bench", message);
}

Options parse(int argc, char** argv) {
  Options options;
  files::bench::parse_options(
      argc, argv, "fileops_bench",
      {{"--dir", [&](const std::string& v) { options.dir = v; }},
       {"--file-mib", [&](const std::string& v) { options.file_mib = std::stoull(v); }},
       {"--tree-files", [&](const std::string& v) { options.tree_files = std::stoi(v); }},
       {"--tree-mib", [&](const std::string& v) { options.tree_mib = std::stoull(v); }},
       {"--rounds", [&](const std::string& v) { options.rounds = std::max(1, std::stoi(v)); }}});
  return options;
}

/// Fills a file with bytes that differ from block to block, so no layer can shortcut the copy.
void write_pattern(const fs::path& path, std::uint64_t size, std::uint32_t seed) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::vector<std::uint32_t> block(1 << 20);  // 4 MiB
  std::uint32_t state = seed * 2654435761u + 1;
  for (std::uint64_t written = 0; written < size;) {
    for (auto& word : block) {
      state ^= state << 13;
      state ^= state >> 17;
      state ^= state << 5;
      word = state;
    }
    const auto n = std::min<std::uint64_t>(block.size() * 4, size - written);
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(n));
    written += n;
  }
  if (!out) fail("cannot write " + path.native());
}

void make_tree(const fs::path& root, int files, std::uint64_t total_bytes) {
  const int per_folder = 100;
  const std::uint64_t average = total_bytes / static_cast<std::uint64_t>(files);
  for (int i = 0; i < files; ++i) {
    const fs::path folder = root / fmt::format("d{:03}", i / per_folder);
    if (i % per_folder == 0) fs::create_directories(folder);
    // Sizes spread from half to one and a half times the average.
    const std::uint64_t size = average / 2 + (static_cast<std::uint64_t>(i) * 7919) % (average + 1);
    write_pattern(folder / fmt::format("f{:05}.dat", i), size, static_cast<std::uint32_t>(i));
  }
}

double run_cp(const std::vector<std::string>& arguments) {
  const auto start = Clock::now();
  files::bench::run_tool("fileops_bench", arguments);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double run_ours(const fs::path& source, const fs::path& destination) {
  const auto start = Clock::now();
  auto result = copy_into(source, destination);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (!result) fail("copy_into failed: " + result.error());
  return seconds;
}

/// Empties a destination between runs and lets the kernel write back what the run left dirty,
/// so the next run does not pay for this one.
void reset(const fs::path& destination) {
  if (auto removed = remove_if_exists(destination); !removed) fail(removed.error());
  fs::create_directory(destination);
  ::sync();
}

struct Comparison {
  double cp = 0;
  double ours = 0;
  /// The median over rounds of copy_into / cp within the same round: robust against a disk
  /// that is busier in one round than in another.
  double paired_ratio = 0;
};

Comparison compare(const fs::path& source, const fs::path& work, int rounds,
                   const std::vector<std::string>& cp_flags) {
  const fs::path destination = work / "destination";
  std::vector<double> cp_times;
  std::vector<double> our_times;
  for (int round = 0; round < rounds; ++round) {
    const auto time_cp = [&] {
      reset(destination);
      std::vector<std::string> arguments{"cp"};
      arguments.insert(arguments.end(), cp_flags.begin(), cp_flags.end());
      arguments.push_back(source.native());
      arguments.push_back(destination.native() + "/");
      cp_times.push_back(run_cp(arguments));
    };
    const auto time_ours = [&] {
      reset(destination);
      our_times.push_back(run_ours(source, destination));
    };
    // Alternate who goes first, so neither always meets a colder or a busier disk.
    if (round % 2 == 0) {
      time_cp();
      time_ours();
    } else {
      time_ours();
      time_cp();
    }
    std::printf("  round %d: cp %.3f s, copy_into %.3f s\n", round + 1, cp_times.back(),
                our_times.back());
  }
  reset(destination);
  std::vector<double> ratios;
  for (std::size_t i = 0; i < cp_times.size(); ++i)
    ratios.push_back(our_times[i] / cp_times[i]);
  return {median(cp_times), median(our_times), median(ratios)};
}

void report(const char* what, const Comparison& c, double limit) {
  const double ratio = c.ours / c.cp;
  using files::bench::fixed;
  files::bench::print_result(std::string("copy ") + what, fixed(c.ours, 3, " s"),
                             fixed(c.cp, 3, " s (cp)"), fixed(c.paired_ratio, 3),
                             "<= " + fixed(limit, 2) + "x", c.paired_ratio <= limit);
  std::printf(
      "%s: median cp %.3f s, median copy_into %.3f s, ratio of medians %.3f, median paired ratio "
      "%.3f (limit %.2f) %s\n",
      what, c.cp, c.ours, ratio, c.paired_ratio, limit, c.paired_ratio <= limit ? "OK" : "OVER");
}

/// Times one move within the file system and a bare rename of the same item back.
void measure_move(const char* what, const fs::path& item, const fs::path& other_folder) {
  struct stat before {};
  ::lstat(item.c_str(), &before);
  auto start = Clock::now();
  auto moved = move_into(item, other_folder);
  const double move_seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (!moved) fail("move_into failed: " + moved.error());
  struct stat after {};
  ::lstat(moved->c_str(), &after);
  start = Clock::now();
  if (::rename(moved->c_str(), item.c_str()) != 0) fail("rename back failed");
  const double rename_seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("%s: move_into %.1f us, bare rename(2) %.1f us, same inode: %s\n", what,
              move_seconds * 1e6, rename_seconds * 1e6,
              before.st_ino == after.st_ino ? "yes" : "NO");
  using files::bench::fixed;
  files::bench::print_result(what, fixed(move_seconds * 1e6, 1, " us"),
                             fixed(rename_seconds * 1e6, 1, " us (rename)"),
                             fixed(move_seconds / rename_seconds, 2), "a rename: same inode",
                             before.st_ino == after.st_ino);
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = parse(argc, argv);
  // Progress lines appear as they happen even when the output goes to a file.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::string pattern = (options.dir / "files-fileops-bench-XXXXXX").native();
  if (::mkdtemp(pattern.data()) == nullptr) fail("cannot create the fixture folder");
  const fs::path work = pattern;

  std::printf("fixture in %s\n", work.c_str());
  const fs::path big = work / "big.bin";
  write_pattern(big, options.file_mib << 20, 42);
  make_tree(work / "tree", options.tree_files, options.tree_mib << 20);
  ::sync();
  std::printf("fixture ready: %llu MiB file, %d files (%llu MiB) in a tree\n",
              static_cast<unsigned long long>(options.file_mib), options.tree_files,
              static_cast<unsigned long long>(options.tree_mib));

  std::printf("large file:\n");
  const Comparison file = compare(big, work, options.rounds, {});
  std::printf("small-file tree:\n");
  const Comparison tree = compare(work / "tree", work, options.rounds, {"-r"});

  fs::create_directory(work / "elsewhere");
  measure_move("move of the large file within one file system", big, work / "elsewhere");
  measure_move("move of the tree within one file system", work / "tree", work / "elsewhere");

  std::printf("\n");
  report("large file", file, 1.05);
  report("small-file tree", tree, 1.30);

  if (auto removed = remove_if_exists(work); !removed) fail("cleanup: " + removed.error());
  return 0;
}
