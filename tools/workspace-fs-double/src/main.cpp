// workspace-fs-double: seeds a folder with workspace items and plays the workspace filesystem's
// part for a running Files window (the end-to-end tests and by hand).
//
//   workspace-fs-double seed FOLDER    create demonstration items with published states
//   workspace-fs-double settle FOLDER  carry out the control attributes written so far, once
//   workspace-fs-double watch FOLDER   settle every 200 ms until interrupted
//
// A plain folder cannot refuse a write, so in this mode an "evict" that the real filesystem
// would refuse with EBUSY is simply not carried out.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>

#include "workspace_fs_double/workspace_fs_double.h"

namespace {

namespace wfd = workspace_fs_double;

volatile std::sig_atomic_t g_stop = 0;

void on_signal(int) {
  g_stop = 1;
}

bool write_file(const std::filesystem::path& path, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << std::string(size, 'x');
  return static_cast<bool>(out);
}

int seed(const std::filesystem::path& folder) {
  struct Item {
    const char* name;
    bool folder;
    wfd::ItemState state;
  };
  using R = wfd::Residency;
  const Item items[] = {
      {"Report.pdf", false, {.residency = R::Resident, .bytes = 4096, .durable_replicas = 2}},
      {"Field notes.txt", false, {.residency = R::Partial, .bytes = 2048}},
      {"Launch video.mp4", false, {.residency = R::NotResident, .bytes = 8192}},
      {"Budget.ods", false, {.residency = R::Resident, .bytes = 1024, .pinned = true}},
      {"Sketches", true, {.residency = R::Resident, .pinned = true}},
      {"Sketches/first.png",
       false,
       {.residency = R::Resident, .bytes = 512, .pinned = true, .inherited = true}},
  };
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    std::fprintf(stderr, "workspace-fs-double: %s: %s\n", folder.c_str(), ec.message().c_str());
    return 1;
  }
  int index = 1;
  for (const Item& item : items) {
    auto path = folder / item.name;
    bool made = item.folder ? (std::filesystem::create_directories(path, ec), !ec)
                            : write_file(path, item.state.bytes);
    if (!made) {
      std::fprintf(stderr, "workspace-fs-double: cannot create %s\n", path.c_str());
      return 1;
    }
    wfd::ItemState state = item.state;
    char id[40];
    std::snprintf(id, sizeof id, "00000000-0000-4000-8000-%012d", index++);
    state.record_id = id;
    if (auto published = wfd::publish(path, state); !published) {
      std::fprintf(stderr, "workspace-fs-double: %s\n", published.error().c_str());
      return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: workspace-fs-double seed|settle|watch FOLDER\n");
    return 2;
  }
  const std::string_view verb = argv[1];
  const std::filesystem::path folder = argv[2];
  if (verb == "seed") return seed(folder);
  if (verb == "settle") {
    std::printf("%zu\n", wfd::settle(folder));
    return 0;
  }
  if (verb == "watch") {
    std::signal(SIGINT, on_signal);
    std::signal(SIGTERM, on_signal);
    while (g_stop == 0) {
      wfd::settle(folder);
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return 0;
  }
  std::fprintf(stderr, "workspace-fs-double: unknown command %s\n", argv[1]);
  return 2;
}
