// Extracts a ZIP and a tar.gz of a tree of many small files with extract_archive and with
// `bsdtar -xf`, and packs the tree with create_zip and with Info-ZIP `zip -r -q`, alternating
// the two in every round so both see the same cache and disk state. Prints the ratios of the
// medians and the paired ratios, and the compressed sizes of both ZIPs.
//
//   archive_bench [--dir /tmp] [--files 20000] [--mib 400] [--rounds 3]
//
// The fixture lives in a private folder under --dir and is removed at the end. Needs bsdtar
// (libarchive-tools) and zip.
#include <sys/resource.h>
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

#include "archive_ops/create_zip.h"
#include "archive_ops/extract.h"
#include "bench_result.h"
#include "bench_support.h"
#include "fileops/remove.h"

namespace {

using files::bench::median;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Options {
  fs::path dir = "/tmp";
  int files = 20000;
  std::uint64_t mib = 400;
  int rounds = 3;
};

[[noreturn]] void fail(const std::string& message) {
  files::bench::fail("archive_bench", message);
}

Options parse(int argc, char** argv) {
  Options options;
  files::bench::parse_options(
      argc, argv, "archive_bench",
      {{"--dir", [&](const std::string& v) { options.dir = v; }},
       {"--files", [&](const std::string& v) { options.files = std::max(1, std::stoi(v)); }},
       {"--mib", [&](const std::string& v) { options.mib = std::stoull(v); }},
       {"--rounds", [&](const std::string& v) { options.rounds = std::max(1, std::stoi(v)); }}});
  return options;
}

// Text-like content: words from a small vocabulary in a random order, the kind of data that
// deflates to roughly a third, so that the compressor's speed and ratio both matter.
class TextSource {
 public:
  std::string next(std::size_t size) {
    static constexpr const char* kWords[] = {
        "archive", "folder", "the",    "file",   "of",     "and",   "copy",    "name",
        "size",    "a",      "to",     "in",     "report", "data",  "value",   "index",
        "with",    "photo",  "2024",   "note",   "draft",  "final", "budget",  "table",
        "line",    "page",   "review", "offset", "block",  "time",  "meeting", "list"};
    std::string out;
    out.reserve(size + 16);
    while (out.size() < size) {
      state_ ^= state_ << 13;
      state_ ^= state_ >> 17;
      state_ ^= state_ << 5;
      out += kWords[state_ % 32];
      if (state_ % 11 == 0) out += fmt::format(" {}", state_ % 100000);
      out += (state_ >> 8) % 13 == 0 ? '\n' : ' ';
    }
    out.resize(size);
    return out;
  }

 private:
  std::uint32_t state_ = 2463534242u;
};

void make_tree(const fs::path& root, int files, std::uint64_t total_bytes) {
  const int per_folder = 100;
  const std::uint64_t average = total_bytes / static_cast<std::uint64_t>(files);
  TextSource text;
  for (int i = 0; i < files; ++i) {
    const fs::path folder = root / fmt::format("d{:03}", i / per_folder);
    if (i % per_folder == 0) fs::create_directories(folder);
    // Sizes spread from half to one and a half times the average.
    const std::uint64_t size = average / 2 + (static_cast<std::uint64_t>(i) * 7919) % (average + 1);
    std::ofstream out(folder / fmt::format("f{:05}.txt", i), std::ios::binary);
    const std::string content = text.next(size);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) fail("cannot write the fixture");
  }
}

double seconds_of(const timeval& t) {
  return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6;
}

// Processor time of every tool run so far.
double child_cpu_seconds = 0;

void run(const std::vector<std::string>& arguments, const fs::path& cwd = {}) {
  const rusage usage = files::bench::run_tool("archive_bench", arguments, cwd);
  child_cpu_seconds += seconds_of(usage.ru_utime) + seconds_of(usage.ru_stime);
}

struct Times {
  double wall = 0;
  double cpu = 0;  ///< user + system time of this process and the tools it ran
};

// Wall-clock and processor time of `work`. The processor time is the steadier figure on a
// machine that others share: it does not grow while the work waits for a core.
Times timed(const std::function<void()>& work) {
  const double children_before = child_cpu_seconds;
  rusage before{};
  ::getrusage(RUSAGE_SELF, &before);
  const auto start = Clock::now();
  work();
  const double wall = std::chrono::duration<double>(Clock::now() - start).count();
  rusage after{};
  ::getrusage(RUSAGE_SELF, &after);
  const double own = seconds_of(after.ru_utime) + seconds_of(after.ru_stime) -
                     seconds_of(before.ru_utime) - seconds_of(before.ru_stime);
  return {wall, own + child_cpu_seconds - children_before};
}

// Removes what a run produced and lets the kernel write back what it left dirty, so the next
// run does not pay for this one.
void reset(const fs::path& item) {
  if (auto removed = files::fileops::remove_if_exists(item); !removed) fail(removed.error());
  ::sync();
}

struct Comparison {
  double baseline = 0;  ///< median wall-clock seconds
  double ours = 0;
  double paired_ratio = 0;  ///< median over rounds of ours / baseline within one round
  double cpu_baseline = 0;  ///< median processor seconds
  double cpu_ours = 0;
  double cpu_paired_ratio = 0;
};

// Runs `baseline` and `ours` once per round, alternating who goes first, resetting `output`
// before each run.
Comparison compare(const char* what, int rounds, const fs::path& output,
                   const std::function<void()>& baseline, const std::function<void()>& ours) {
  std::vector<Times> base_times;
  std::vector<Times> our_times;
  for (int round = 0; round < rounds; ++round) {
    const auto time_base = [&] {
      reset(output);
      base_times.push_back(timed(baseline));
    };
    const auto time_ours = [&] {
      reset(output);
      our_times.push_back(timed(ours));
    };
    if (round % 2 == 0) {
      time_base();
      time_ours();
    } else {
      time_ours();
      time_base();
    }
    std::printf("  %s round %d: baseline %.3f s (cpu %.3f s), ours %.3f s (cpu %.3f s)\n", what,
                round + 1, base_times.back().wall, base_times.back().cpu, our_times.back().wall,
                our_times.back().cpu);
  }
  auto pick = [](const std::vector<Times>& times, double Times::*field) {
    std::vector<double> out;
    for (const Times& t : times)
      out.push_back(t.*field);
    return out;
  };
  auto paired = [&](double Times::*field) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < base_times.size(); ++i) {
      ratios.push_back(our_times[i].*field / base_times[i].*field);
    }
    return median(ratios);
  };
  return {median(pick(base_times, &Times::wall)),
          median(pick(our_times, &Times::wall)),
          paired(&Times::wall),
          median(pick(base_times, &Times::cpu)),
          median(pick(our_times, &Times::cpu)),
          paired(&Times::cpu)};
}

void report(const char* what, const char* baseline, const Comparison& c, double limit) {
  using files::bench::fixed;
  files::bench::print_result(
      what, fixed(c.ours, 3, " s"), fixed(c.baseline, 3, " s (") + baseline + ")",
      fixed(c.paired_ratio, 3), "<= " + fixed(limit, 2) + "x", c.paired_ratio <= limit);
  std::printf(
      "%s: median %s %.3f s, median ours %.3f s, ratio of medians %.3f, median paired ratio "
      "%.3f (limit %.2f) %s; processor time %.3f s vs %.3f s, paired ratio %.3f %s\n",
      what, baseline, c.baseline, c.ours, c.ours / c.baseline, c.paired_ratio, limit,
      c.paired_ratio <= limit ? "OK" : "OVER", c.cpu_baseline, c.cpu_ours, c.cpu_paired_ratio,
      c.cpu_paired_ratio <= limit ? "OK" : "OVER");
}

std::uintmax_t size_of(const fs::path& path) {
  return fs::file_size(path);
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = parse(argc, argv);
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::string pattern = (options.dir / "files-archive-bench-XXXXXX").native();
  if (::mkdtemp(pattern.data()) == nullptr) fail("cannot create the fixture folder");
  const fs::path work = pattern;
  std::printf("fixture in %s\n", work.c_str());

  make_tree(work / "tree", options.files, options.mib << 20);
  // The archives to extract, made by the tools everyone uses.
  run({"zip", "-r", "-q", "tree.zip", "tree"}, work);
  run({"bsdtar", "-czf", "tree.tar.gz", "tree"}, work);
  ::sync();
  std::printf("fixture ready: %d files, %llu MiB; tree.zip %.1f MiB, tree.tar.gz %.1f MiB\n",
              options.files, static_cast<unsigned long long>(options.mib),
              static_cast<double>(size_of(work / "tree.zip")) / (1 << 20),
              static_cast<double>(size_of(work / "tree.tar.gz")) / (1 << 20));

  const fs::path out = work / "out";
  auto extract_ours = [&](const char* archive) {
    return [&, archive] {
      auto extracted = files::archive_ops::extract_archive(work / archive, out);
      if (!extracted) fail(std::string("extract_archive: ") + extracted.error());
      if (extracted->files != static_cast<std::uint64_t>(options.files)) fail("file count");
    };
  };
  auto extract_bsdtar = [&](const char* archive) {
    return [&, archive] {
      fs::create_directory(out);
      run({"bsdtar", "-xf", (work / archive).native(), "-C", out.native()});
    };
  };
  std::printf("extracting the ZIP:\n");
  const Comparison zip_extract =
      compare("zip", options.rounds, out, extract_bsdtar("tree.zip"), extract_ours("tree.zip"));
  std::printf("extracting the tar.gz:\n");
  const Comparison tgz_extract = compare(
      "tar.gz", options.rounds, out, extract_bsdtar("tree.tar.gz"), extract_ours("tree.tar.gz"));

  const fs::path zip_out = work / "made.zip";
  std::uintmax_t info_zip_size = 0;
  std::uintmax_t our_size = 0;
  std::printf("creating a ZIP:\n");
  const Comparison create = compare(
      "create", options.rounds, zip_out,
      [&] {
        run({"zip", "-r", "-q", zip_out.native(), "tree"}, work);
        info_zip_size = size_of(zip_out);
      },
      [&] {
        const std::vector<fs::path> items = {work / "tree"};
        auto created = files::archive_ops::create_zip(items, zip_out);
        if (!created) fail("create_zip: " + created.error());
        our_size = size_of(zip_out);
      });
  reset(zip_out);

  std::printf("\n");
  report("extract ZIP", "bsdtar -xf", zip_extract, 1.2);
  report("extract tar.gz", "bsdtar -xf", tgz_extract, 1.2);
  report("create ZIP", "zip -r -q", create, 1.0);
  const double size_ratio = static_cast<double>(our_size) / static_cast<double>(info_zip_size);
  std::printf(
      "compressed size: zip -r -q %ju bytes, create_zip %ju bytes, ratio %.4f (limit "
      "within 3%%) %s\n",
      info_zip_size, our_size, size_ratio,
      size_ratio >= 0.97 && size_ratio <= 1.03 ? "OK" : "OVER");
  files::bench::print_result("ZIP size", std::to_string(our_size) + " bytes",
                             std::to_string(info_zip_size) + " bytes (zip -r -q)",
                             files::bench::fixed(size_ratio, 4), "0.97x to 1.03x",
                             size_ratio >= 0.97 && size_ratio <= 1.03);

  if (auto removed = files::fileops::remove_if_exists(work); !removed) {
    fail("cleanup: " + removed.error());
  }
  return 0;
}
